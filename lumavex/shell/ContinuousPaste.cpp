#include "lumavex/shell/ContinuousPaste.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "lumavex/canvas/PaintStep.h"
#include "lumavex/files/NativeFile.h"
#include "lumavex/files/PictureLoad.h"
#include "lumavex/files/Reduction.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/FilePasteByDrop.h"
#include "lumavex/shell/ParameterDialog.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/FilePasteTools.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

namespace fs = std::filesystem;
using platform::ControlKind;
using platform::DialogMessage;
using platform::DialogModel;

constexpr char kErrorCaption[] = "エラー";
constexpr char kOutOfMemory[] = "メモリが足りません。";
constexpr char kNativeExtension[] = ".lmv";
constexpr int kFirstControl = 1000;
constexpr int kSecondControl = 1001;
constexpr int kLastNumber = 9999;  // four digits

constexpr int kGroupCommands[] = {cmd::kSetPasteGroup1, cmd::kSetPasteGroup2,
                                  cmd::kSetPasteGroup3};
constexpr int kSpanCommands[] = {cmd::kPasteSpan1To2, cmd::kPasteSpan2To3, cmd::kPasteSpan3To4};

// The groups (0-based: group 1 is 0) at the start and end of each span.
struct SpanEnds {
  int start;
  int end;
};
constexpr SpanEnds kSpanEnds[] = {{0, 1}, {1, 2}, {2, 0}};

int GroupIndex(int id) {
  const auto it = std::ranges::find(kGroupCommands, id);
  return it == std::end(kGroupCommands) ? -1 : static_cast<int>(it - std::begin(kGroupCommands));
}
int SpanIndex(int id) {
  const auto it = std::ranges::find(kSpanCommands, id);
  return it == std::end(kSpanCommands) ? -1 : static_cast<int>(it - std::begin(kSpanCommands));
}

void ShowError(AppState& s, const std::string& text, const char* caption = kErrorCaption) {
  s.host.ShowMessage(text, caption, platform::MessageButtons::Ok,
                     platform::MessageIcon::Exclamation);
}

DialogMessage Refusal(const std::string& text) {
  return {text, kInputErrorCaption};
}

// The last four digits before the extension of `name`, or −1.
int FourDigitNumber(const std::string& name) {
  const auto same = RenumberedName(name, 0);
  if (!same) return -1;
  const size_t stemEnd = name.size() - PictureExtension(name).size();
  return std::stoi(name.substr(stemEnd - 4, 4));
}

bool HasFolderPart(const std::string& name) {
  return name.find_first_of("/\\") != std::string::npos;
}

// The memory left for the group after the allocation guard.
uint64_t RoomForGroup(const AppState& s) {
  const uint64_t available = s.allocator.Status().availablePageFile;
  return available > platform::Allocator::kGuardBytes
             ? available - platform::Allocator::kGuardBytes
             : 0;
}

// A copy of `from`'s display and frame layers and headers; false when a layer could
// not be had.
bool CopyPicture(platform::Allocator& allocator, const Canvas& from, Canvas& to) {
  to = Canvas{};
  if (!to.display.Create(allocator, from.Width(), from.Height(), 4) ||
      !to.frame.Create(allocator, from.Width(), from.Height(), 4)) {
    to.Release();
    return false;
  }
  std::memcpy(to.display.Data(), from.display.Data(), from.display.SizeBytes());
  std::memcpy(to.frame.Data(), from.frame.Data(), from.frame.SizeBytes());
  to.pictureHeader = from.pictureHeader;
  to.fileHeader = from.fileHeader;
  to.processingSquare = from.Bounds();
  return true;
}

// Loads the native file `name` into `picture` without its work layer.
bool LoadGroupPicture(AppState& s, const std::string& name, Canvas& picture) {
  picture = Canvas{};
  if (!LoadCanvasPicture({s.host, s.allocator}, s.Resolve(name), name, picture)) return false;
  picture.work.Release();
  picture.processingSquare = picture.Bounds();
  return true;
}

// Replaces the group: new pictures, positions forgotten, every span open again.
void TakeGroup(AppState& s, std::vector<Canvas> pictures, std::vector<std::string> names) {
  PasteFileGroup& g = s.pasteGroup;
  g.pictures = std::move(pictures);
  g.names = std::move(names);
  g.pendingNames.clear();
  g.loop = false;
  ForgetPasteGroupPositions(s);
}

void EndDropMode(AppState& s) {
  s.currentCommand = cmd::kNone;
  s.modeStatusText.clear();
  SetStatusText(s, "");
}

// Shows group file `k` in the canvas, setting the user's picture and view aside the
// first time.
void ShowGroupFile(AppState& s, int k) {
  PasteFileGroup& g = s.pasteGroup;
  if (g.shownFile < 0) {
    g.savedCanvas = std::move(s.canvas);
    g.savedZoom = s.view.zoomCode;
    g.savedX = s.view.horizontal.position;
    g.savedY = s.view.vertical.position;
  } else {
    if (g.workBorrowed) {
      g.savedCanvas.work = std::move(s.canvas.work);
    } else {
      s.canvas.work.Release();
    }
    g.pictures[g.shownFile] = std::move(s.canvas);
  }
  g.workBorrowed = false;
  Canvas& saved = g.savedCanvas;
  s.canvas = std::move(g.pictures[k]);
  g.shownFile = k;
  if (saved.work.Width() == s.canvas.Width() && saved.work.Height() == s.canvas.Height()) {
    s.canvas.work = std::move(saved.work);
    g.workBorrowed = true;
  } else if (s.canvas.work.Create(s.allocator, s.canvas.Width(), s.canvas.Height(), 4)) {
    ClearWorkLayer(s.canvas);
  }
  s.canvas.processingSquare = s.canvas.Bounds();
  s.markedRectangle = {};
  s.view.lastSquare.reset();
  SetZoom(s, s.view.zoomCode, true);
}

// Puts the shown file back into the group and the user's picture and view into the
// canvas.
void ShowSavedView(AppState& s) {
  PasteFileGroup& g = s.pasteGroup;
  if (g.shownFile < 0) return;
  Canvas shown = std::move(s.canvas);
  if (g.workBorrowed) {
    g.savedCanvas.work = std::move(shown.work);
  } else {
    shown.work.Release();
  }
  shown.processingSquare = shown.Bounds();
  g.pictures[g.shownFile] = std::move(shown);
  g.shownFile = -1;
  g.workBorrowed = false;
  s.canvas = std::move(g.savedCanvas);
  g.savedCanvas = Canvas{};
  s.markedRectangle = {};
  s.view.lastSquare.reset();
  SetZoom(s, g.savedZoom, false);
  s.view.horizontal.position = g.savedX;
  s.view.vertical.position = g.savedY;
  SetZoom(s, g.savedZoom, true);
}

// The group and memory checks of the group and span commands.
bool PrerequisitesHold(AppState& s) {
  if (!s.pasteGroup.Held()) {
    ShowError(s, kNoPasteFileGroup);
    return false;
  }
  if (s.memorySurface.Empty()) {
    ShowError(s, kNoMemorySurface);
    return false;
  }
  return true;
}

// The file choice of groups 2 and 3; false when cancelled.
bool ChooseGroupFile(AppState& s, int group) {
  PasteFileGroup& g = s.pasteGroup;
  DialogModel m;
  m.id = group == 1 ? 241 : 244;
  m.title = group == 1 ? "貼り付け対象ファイル名２を指定" : "貼り付け対象ファイル名３を指定";
  platform::DialogControl list{kFirstControl, ControlKind::List, "ファイル名"};
  list.items = g.names;
  list.selected = group == 1 ? g.k2 : g.k3;
  m.controls.push_back(list);
  int chosen = -1;
  m.onOk = [&](DialogModel& model) -> std::optional<DialogMessage> {
    const int k = model.Selected(kFirstControl);
    if (k < 0 || k >= g.Count()) return Refusal(kNoFileChosen);
    if (group == 1) {
      const bool afterThree = g.positions[2] && k >= g.k3;
      if (k <= 0 || afterThree) return Refusal(kNotBetweenGroups);
    } else {
      const int before = g.positions[1] ? g.k2 : 0;
      if (k <= before) return Refusal(kNotBetweenGroups);
      if (g.loop && k >= g.Count() - 1) return Refusal(kLastFileInLoop);
    }
    chosen = k;
    return std::nullopt;
  };
  if (s.host.RunDialog(m) != m.okCode || chosen < 0) return false;
  (group == 1 ? g.k2 : g.k3) = chosen;
  return true;
}

// The file of each group: group 1 is file 0.
int GroupFile(const PasteFileGroup& g, int group) {
  return group == 0 ? 0 : group == 1 ? g.k2 : g.k3;
}

bool SpanReady(const PasteFileGroup& g, int span) {
  const SpanEnds ends = kSpanEnds[span];
  if (!g.positions[ends.start] || !g.positions[ends.end] || g.spanDone[span]) return false;
  if (span == 2 && !g.loop) return false;
  return !ScheduleOfSpan(static_cast<PasteSpan>(span), g.k2, g.k3, g.Count()).empty();
}

// The drawing context of a span: each picture in turn is its canvas, with the user's
// settings and status line, but no journal (the group's pictures are not the picture
// the undo files belong to) and no redraw (the view shows the user's picture).
class SpanDrawing final : public DrawingContext {
 public:
  explicit SpanDrawing(AppState& s) : s_(s) {}
  Canvas& Picture() override { return stage_; }
  const DrawingSettings& Settings() const override { return s_.drawing.Settings(); }
  uint32_t HeadColour() const override { return s_.drawing.HeadColour(); }
  uint32_t TerminationColour() const override { return s_.drawing.TerminationColour(); }
  JournalSink* Journal() override { return nullptr; }
  void OpenUndoStep() override {}
  PixelRect& MarkedRectangle() override { return marked_; }
  void SetStatusText(const std::string& text) override { s_.drawing.SetStatusText(text); }
  void PlayFeedbackSound(const std::string&) override {}
  void RedrawPicture(const PixelRect&) override {}
  [[noreturn]] void FatalError() override { s_.drawing.FatalError(); }
  [[noreturn]] void OutOfMemory(const std::string& text) override { s_.drawing.OutOfMemory(text); }

 private:
  AppState& s_;
  Canvas stage_;
  PixelRect marked_;
};

}  // namespace

std::optional<std::vector<std::string>> PasteGroupNames(const std::string& head, int count) {
  std::string stem = head;
  if (EndsWithIgnoringCase(stem, kNativeExtension)) stem.resize(stem.size() - 4);
  const int first = FourDigitNumber(stem + kNativeExtension);
  if (first < 0 || count < 1 || count > kLastNumber + 1 - first) return std::nullopt;
  std::vector<std::string> names;
  for (int k = 0; k < count; ++k) names.push_back(*RenumberedName(stem + kNativeExtension, k));
  return names;
}

std::vector<std::string> InPasteGroupOrder(std::vector<std::string> paths) {
  std::ranges::stable_sort(paths, [](const std::string& a, const std::string& b) {
    const int na = FourDigitNumber(a), nb = FourDigitNumber(b);
    return na != nb ? na < nb : a < b;
  });
  return paths;
}

uint64_t PasteGroupBytes(int count, int width, int height) {
  // Two layers of 32-bit words per picture.
  return static_cast<uint64_t>(count) * width * height * 8;
}

void CreatePasteFilesCommand(AppState& s, int id) {
  PasteFileGroup& g = s.pasteGroup;
  DialogModel m;
  m.id = 236;
  m.title = "メモリから連続貼り付け対象ファイル郡作成";
  m.controls.push_back({kFirstControl, ControlKind::Edit, "先頭ファイル名", ""});
  m.controls.push_back({kSecondControl, ControlKind::Edit, "ファイル数", ""});
  std::vector<std::string> names;
  m.onOk = [&](DialogModel& model) -> std::optional<DialogMessage> {
    const std::string head = model.Text(kFirstControl);
    if (head.empty()) return Refusal("メモリから貼り付け用先頭ファイル名に文字列を入力して下さい。");
    if (HasFolderPart(head) || !PasteGroupNames(head, 1))
      return Refusal("メモリから貼り付け用先頭ファイル名の下位４桁を数値にして下さい。");
    const std::string countText = model.Text(kSecondControl);
    const bool digits = !countText.empty() && countText.size() <= 6 &&
                        std::ranges::all_of(countText, [](char c) { return std::isdigit(
                                                                       static_cast<unsigned char>(c)); });
    if (!digits) return Refusal("貼り付け先ファイル数に数値を入力して下さい。");
    const int count = std::stoi(countText);
    if (count < 3) return Refusal("貼り付け先ファイル数に３以上の数値を入力して下さい。");
    auto made = PasteGroupNames(head, count);
    if (!made) return Refusal("貼り付け先ファイル数が多すぎて下位４桁に収まりません。");
    for (std::string& name : *made) {
      name = "./" + name;
      std::error_code ec;
      if (fs::exists(s.Resolve(name), ec) || ec)
        return Refusal("メモリから貼り付け用ファイル郡は存在しないようにして下さい。");
    }
    names = std::move(*made);
    return std::nullopt;
  };
  if (s.host.RunDialog(m) != m.okCode || names.empty()) {
    RestoreModeStatusText(s);
    return;
  }
  g.pendingNames = std::move(names);
  s.host.ShowMessage("貼り付け先初期化ファイルをドロップして下さい。", "貼り付け先初期化ファイル指定",
                     platform::MessageButtons::Ok, platform::MessageIcon::Information);
  s.currentCommand = id;
  s.modeStatusText = "★貼り付け先初期化ファイル指定";
  SetStatusText(s, s.modeStatusText);
}

void LoadPasteFilesCommand(AppState& s, int id) {
  s.host.ShowMessage("貼り付け先ファイル郡をドロップして下さい。", "貼り付け先ファイル郡指定",
                     platform::MessageButtons::Ok, platform::MessageIcon::Information);
  s.currentCommand = id;
  s.modeStatusText = "★貼り付け先ファイル郡指定";
  SetStatusText(s, s.modeStatusText);
}

bool CreatePasteFilesFromDrop(AppState& s, const std::vector<std::string>& paths) {
  PasteFileGroup& g = s.pasteGroup;
  if (paths.empty() || g.pendingNames.empty()) return false;
  const std::string name = KeptName(s, paths.front());
  if (!EndsWithIgnoringCase(name, kNativeExtension)) {
    ShowError(s, kNotNativeFile);
    return false;  // the mode waits for another drop
  }
  SetStatusText(s, "★ロード中...");
  Canvas initial;
  if (!LoadGroupPicture(s, name, initial)) {
    RestoreModeStatusText(s);
    return false;
  }
  const int count = static_cast<int>(g.pendingNames.size());
  if (PasteGroupBytes(count, initial.Width(), initial.Height()) > RoomForGroup(s)) {
    ShowError(s, kOutOfMemory);
    RestoreModeStatusText(s);
    return false;
  }
  std::vector<Canvas> pictures(count);
  s.progress.ProgressStart(count);
  for (Canvas& picture : pictures) {
    if (!CopyPicture(s.allocator, initial, picture)) {
      s.progress.ProgressEnd();
      ShowError(s, kOutOfMemory);
      RestoreModeStatusText(s);
      return false;
    }
    s.progress.ProgressStep();
  }
  s.progress.ProgressEnd();
  std::vector<std::string> names = std::move(g.pendingNames);
  TakeGroup(s, std::move(pictures), std::move(names));
  EndDropMode(s);
  s.sound.PlayRandomFeedbackSound("load");
  return true;
}

bool LoadPasteFilesFromDrop(AppState& s, const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  for (const std::string& path : paths) names.push_back(KeptName(s, path));
  if (names.size() < 3) {
    ShowError(s, kTooFewFiles);
    return false;
  }
  if (!AllNativeFileNames(names)) {
    ShowError(s, kNotAllNativeFiles);
    return false;
  }
  if (std::ranges::any_of(names, [](const std::string& n) { return FourDigitNumber(n) < 0; })) {
    ShowError(s, kNotFourDigits);
    return false;
  }
  names = InPasteGroupOrder(std::move(names));
  SetStatusText(s, "★ロード中...");
  std::vector<Canvas> pictures(names.size());
  bool loaded = true;
  s.progress.ProgressStart(names.size());
  for (size_t k = 0; k < names.size() && loaded; ++k) {
    // A native file holds about the words its layers take in memory; ask for twice
    // that, so that the load itself never runs into the allocation guard.
    std::error_code ec;
    const uint64_t fileBytes = fs::file_size(s.Resolve(names[k]), ec);
    if (!ec && fileBytes * 2 > RoomForGroup(s)) {
      ShowError(s, kOutOfMemory);
      loaded = false;
      break;
    }
    loaded = LoadGroupPicture(s, names[k], pictures[k]);
    s.progress.ProgressStep();
  }
  s.progress.ProgressEnd();
  if (!loaded) {
    RestoreModeStatusText(s);
    return false;
  }
  TakeGroup(s, std::move(pictures), std::move(names));
  EndDropMode(s);
  s.sound.PlayRandomFeedbackSound("load");
  return true;
}

int SavePasteFilesCommand(AppState& s) {
  PasteFileGroup& g = s.pasteGroup;
  if (!g.Held()) {
    ShowError(s, kNoPasteFileGroup);
    return 0;
  }
  if (s.workBlock == nullptr) return 0;
  int saved = 0;
  s.progress.ProgressStart(g.pictures.size());
  for (int k = 0; k < g.Count(); ++k) {
    const Canvas& picture = g.pictures[k];
    if (!picture.HasPicture()) break;
    std::string name = g.names[k];
    const PictureArea whole{0, 0, picture.Width(), picture.Height()};
    // The group's own files: written over without a question each.
    if (!SaveThroughPipeline(
            s, name, PictureExtension(name), "LMVセーブ",
            [&](SaveFile& file) {
              return WriteNativeFile(file, picture, whole, s.workBlock.get(), kWorkBlockBytes);
            },
            false, false))
      break;
    ++saved;
    s.progress.ProgressStep();
  }
  s.progress.ProgressEnd();
  RestoreModeStatusText(s);
  return saved;
}

void SetPasteGroupCommand(AppState& s, int id) {
  const int group = GroupIndex(id);
  if (group < 0 || !PrerequisitesHold(s)) return;
  PasteFileGroup& g = s.pasteGroup;
  if (group > 0 && !ChooseGroupFile(s, group)) {
    RestoreModeStatusText(s);
    return;
  }
  // A group set again opens the spans that end on it.
  for (int span = 0; span < 3; ++span)
    if (kSpanEnds[span].start == group || kSpanEnds[span].end == group) g.spanDone[span] = false;
  // The curves start where the group was, else where the group before it is.
  const std::optional<PasteCurves>* from = &g.positions[group];
  for (int before = group; !*from && before > 0; --before) from = &g.positions[before - 1];
  s.pasteCurves = *from && (*from)->curve1.size() == s.pasteResetCurves.curve1.size()
                      ? **from
                      : s.pasteResetCurves;
  ShowGroupFile(s, GroupFile(g, group));
  EnterToolMode(s, id, FindCommand(id)->status);
  // The group holds the shown position from the start, so that the menu already
  // offers the spans it completes; leaving the mode stores where the user moved it.
  g.positions[group] = s.pasteCurves;
  EnableContinuousPasteCommands(s);
}

void LoopMovieCommand(AppState& s, int) {
  if (!PrerequisitesHold(s)) return;
  PasteFileGroup& g = s.pasteGroup;
  DialogModel m;
  m.id = 247;
  m.title = "ループ動画であるかのチェック";
  m.controls.push_back({kFirstControl, ControlKind::Check, "ループ", "", g.loop});
  bool loop = false;
  m.onOk = [&](DialogModel& model) -> std::optional<DialogMessage> {
    loop = model.Checked(kFirstControl);
    if (loop && g.positions[2] && g.k3 >= g.Count() - 1) {
      model.SetChecked(kFirstControl, false);
      return Refusal(kLastFileInLoop);
    }
    return std::nullopt;
  };
  if (s.host.RunDialog(m) == m.okCode) {
    if (loop != g.loop) g.spanDone[2] = false;
    g.loop = loop;
  }
  EnableContinuousPasteCommands(s);
  RestoreModeStatusText(s);
}

void PasteSpanCommand(AppState& s, int id) {
  const int span = SpanIndex(id);
  if (span < 0 || !PrerequisitesHold(s)) return;
  PasteFileGroup& g = s.pasteGroup;
  const SpanEnds ends = kSpanEnds[span];
  if (!SpanReady(g, span)) {
    static constexpr const char* kSetFirst[] = {
        "[メモリから連続貼り付け用基点郡設定１] コマンドを先に実行して下さい。",
        "[メモリから連続貼り付け用基点郡設定２] コマンドを先に実行して下さい。",
        "[メモリから連続貼り付け用基点郡設定３] コマンドを先に実行して下さい。"};
    const int missing = !g.positions[ends.start] ? ends.start : ends.end;
    if (span == 2 && !g.loop)
      ShowError(s, "[メモリから連続貼り付け用基点郡設定４] コマンドを先に実行して下さい。");
    else if (!g.positions[missing])
      ShowError(s, kSetFirst[missing]);
    EnableContinuousPasteCommands(s);
    return;
  }
  g.midpoint = MidpointCurves(*g.positions[ends.start], *g.positions[ends.end]);
  s.pasteCurves = g.midpoint;
  ShowGroupFile(s, GroupFile(g, ends.start));
  EnterToolMode(s, id, FindCommand(id)->status);
}

void RunPasteSpan(AppState& s) {
  PasteFileGroup& g = s.pasteGroup;
  const int span = SpanIndex(s.currentCommand);
  if (span < 0 || !SpanReady(g, span) || s.memorySurface.Empty()) return;
  const SpanEnds ends = kSpanEnds[span];
  const PasteCurves middle = s.pasteCurves;
  const PixelRect square = s.canvas.processingSquare;
  ShowSavedView(s);
  SetStatusText(s, "★メモリから連続貼り付け中...");
  const auto schedule = ScheduleOfSpan(static_cast<PasteSpan>(span), g.k2, g.k3, g.Count());
  PixelPlane work;
  for (const SpanStep& step : schedule) {
    Canvas& picture = g.pictures[step.file];
    picture.processingSquare = square.Intersect(picture.Bounds());
    if (work.Width() != picture.Width() || work.Height() != picture.Height()) {
      if (!work.Create(s.allocator, picture.Width(), picture.Height(), 4)) break;
      std::memset(work.Data(), 0, work.SizeBytes());
    }
  }
  if (!work.Empty()) {
    SpanDrawing drawing(s);
    PasteAlongSpan(drawing, g.pictures, work, schedule, *g.positions[ends.start], middle,
                   *g.positions[ends.end], s.memorySurface,
                   static_cast<uint32_t>(s.settings.maxOpacity), s.allocator, s.progress);
  }
  for (Canvas& picture : g.pictures) picture.processingSquare = picture.Bounds();
  g.spanDone[span] = true;
  s.currentCommand = cmd::kNone;
  s.modeStatusText.clear();
  SetStatusText(s, "");
  s.sound.PlayFeedbackSound("end.wav");
  EnableContinuousPasteCommands(s);
  Redraw(s);
}

bool IsPasteGroupMode(int mode) {
  return GroupIndex(mode) >= 0;
}
bool IsPasteSpanMode(int mode) {
  return SpanIndex(mode) >= 0;
}

void LeavePasteGroupView(AppState& s, int next) {
  PasteFileGroup& g = s.pasteGroup;
  if (g.shownFile < 0) return;
  const CommandEntry* entry = FindCommand(next);
  if (entry && entry->choice == Choice::Neutral) return;
  const int group = GroupIndex(s.currentCommand);
  if (group >= 0) {
    g.positions[group] = s.pasteCurves;
    EnableContinuousPasteCommands(s);
  }
  ShowSavedView(s);
  if (IsPasteGroupMode(s.currentCommand) || IsPasteSpanMode(s.currentCommand)) {
    s.currentCommand = cmd::kNone;
    s.modeStatusText.clear();
  }
}

const PasteCurves& PasteResetPosition(const AppState& s) {
  return IsPasteSpanMode(s.currentCommand) ? s.pasteGroup.midpoint : s.pasteResetCurves;
}

void ForgetPasteGroupPositions(AppState& s) {
  PasteFileGroup& g = s.pasteGroup;
  g.positions = {};
  g.k2 = g.k3 = -1;
  g.spanDone = {};
  EnableContinuousPasteCommands(s);
}

void EnableContinuousPasteCommands(AppState& s) {
  const PasteFileGroup& g = s.pasteGroup;
  const bool picture = s.canvas.HasPicture() || g.shownFile >= 0;
  // The group commands come with a copy; they tell the user when the group is missing.
  const bool copied = picture && !s.memorySurface.Empty();
  s.menu.Enable(cmd::kCreatePasteFiles, picture);
  s.menu.Enable(cmd::kLoadPasteFiles, picture);
  for (int id : kGroupCommands) s.menu.Enable(id, copied);
  s.menu.Enable(cmd::kSetPasteGroup4, copied);
  for (int span = 0; span < 3; ++span)
    s.menu.Enable(kSpanCommands[span], copied && g.Held() && SpanReady(g, span));
  s.menu.Enable(cmd::kSavePasteFiles, picture && g.Held());
  s.host.MenuChanged(s.menu);
}

}  // namespace lumavex
