#include "lumavex/shell/Flipbook.h"

#include <algorithm>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ParameterDialog.h"
#include "lumavex/shell/QuietPictureRead.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"

namespace lumavex {
namespace {

constexpr int kFlipbookDialogId = 161;
constexpr int kLastField = 1002;
constexpr int kLoopCheck = 1003;

std::string FolderOf(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

uint64_t ViewBytes(int width, int height) {
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
}

}  // namespace

bool PrepareFlipbookPicture(AppState& s, size_t index) {
  Flipbook& book = s.flipbook;
  if (index >= book.pictures_.size()) return false;
  Flipbook::Picture& picture = book.pictures_[index];
  if (picture.prepared) return !picture.failed;

  // Room for one more: the pictures played last are needed again latest, so they go
  // first.
  const uint64_t bytes = ViewBytes(book.viewWidth_, book.viewHeight_);
  for (size_t back = 1; book.keptBytes_ + bytes > kFlipbookKeptBytes && back < book.Count();
       ++back) {
    const size_t victim = (book.shown_ + book.Count() - back) % book.Count();
    Flipbook::Picture& old = book.pictures_[victim];
    if (victim == index || !old.prepared) continue;
    if (!old.failed) book.keptBytes_ -= bytes;
    old = {};
  }

  PixelPlane read;
  const PixelPlane* shown = nullptr;
  if (book.edited_ == index) {
    shown = &s.canvas.display;
  } else {
    std::string failure;
    if (ReadPictureQuietly(s.host, s.allocator, book.paths_[index], book.names_[index], read,
                           failure))
      shown = &read;
  }
  picture.prepared = true;
  picture.failed = shown == nullptr;
  if (picture.failed) return false;
  ViewPlacement placement;
  placement.layer = shown;
  placement.zoomCode = s.view.zoomCode;
  placement.positionX = s.view.horizontal.position;
  placement.positionY = s.view.vertical.position;
  picture.view.Resize(book.viewWidth_, book.viewHeight_);
  picture.view.Update(placement);
  book.keptBytes_ += bytes;
  return true;
}

void ShowFlipbookPicture(AppState& s) {
  Flipbook& book = s.flipbook;
  if (!book.playing_) return;
  const size_t i = book.shown_;
  const std::string& name = book.names_[i];
  if (!PrepareFlipbookPicture(s, i)) {
    SetStatusText(s, "★パラパラ再生：" + name + " を読み込めません。");
    return;
  }
  for (const platform::Rect& part : book.pictures_[i].view.CopyTo(s.surface))
    s.host.Present(s.surface, part);
  SetStatusText(s, "★パラパラ再生中... " + std::to_string(i + 1) + "/" +
                       std::to_string(book.Count()) + " " + name);
}

void PlayFlipbook(AppState& s) {
  Flipbook& book = s.flipbook;
  if (book.playing_) StopFlipbook(s);
  const FolderPictureList& list = s.files.folderPictures;
  const int count = list.Exists() ? static_cast<int>(list.Names().size()) : 0;
  if (count == 0 || !s.canvas.HasPicture()) {
    SetStatusText(s, "★パラパラ再生：フォルダの画像がありません。保存またはロードして下さい。");
    return;
  }
  const int first = std::clamp(book.options.first, 1, count);
  const int last = book.options.last <= 0 ? count : std::min(book.options.last, count);
  if (first > last) {
    SetStatusText(s, "★パラパラ再生：範囲に画像がありません。");
    return;
  }
  if (ViewWidth(s) <= 0 || s.surface.Height() <= 0) return;

  const std::string folder = FolderOf(s.currentFileName);
  book.names_.assign(list.Names().begin() + (first - 1), list.Names().begin() + last);
  book.paths_.clear();
  for (const std::string& name : book.names_) book.paths_.push_back(s.Resolve(folder + name));
  book.edited_.reset();
  if (const auto current = list.CurrentIndex();
      current && *current + 1 >= static_cast<size_t>(first) && *current < static_cast<size_t>(last))
    book.edited_ = *current - (first - 1);
  book.pictures_.clear();
  book.pictures_.resize(book.names_.size());
  book.keptBytes_ = 0;
  book.viewWidth_ = ViewWidth(s);
  book.viewHeight_ = s.surface.Height();
  book.shown_ = 0;
  book.statusBefore_ = s.menu.StatusText();
  book.playing_ = true;

  ShowFlipbookPicture(s);
  if (book.Count() > 1) PrepareFlipbookPicture(s, 1);
  const int rate = book.options.picturesPerSecond;
  s.host.StartTicks(rate == 6 || rate == 24 ? rate : 12);
}

void FlipbookTick(AppState& s) {
  Flipbook& book = s.flipbook;
  if (!book.playing_) return;
  size_t next = book.shown_ + 1;
  if (next >= book.Count()) {
    if (!book.options.loop) {
      StopFlipbook(s);
      return;
    }
    next = 0;
  }
  book.shown_ = next;
  ShowFlipbookPicture(s);
  // Read ahead, so that the next beat only copies.
  size_t ahead = next + 1;
  if (ahead >= book.Count()) ahead = book.options.loop ? 0 : book.Count();
  if (ahead < book.Count()) PrepareFlipbookPicture(s, ahead);
}

void StopFlipbook(AppState& s) {
  Flipbook& book = s.flipbook;
  if (!book.playing_) return;
  s.host.StopTicks();
  book.playing_ = false;
  book.pictures_.clear();
  book.paths_.clear();
  book.edited_.reset();
  book.keptBytes_ = 0;
  SetStatusText(s, book.statusBefore_);
  if (s.canvas.HasPicture()) Redraw(s);
}

platform::DialogModel MakeFlipbookDialog(FlipbookOptions& options) {
  ParameterDialogForm form;
  form.id = kFlipbookDialogId;
  form.title = "パラパラ再生設定";
  IntegerField rate;
  rate.controlId = kFirstField;
  rate.label = "１秒あたりの枚数( 6, 12, 24)";
  rate.startValue = options.picturesPerSecond;
  rate.notNumberMessage = "１秒あたりの枚数に数値を入力して下さい。";
  rate.store = [&options](int v) { options.picturesPerSecond = v; };
  IntegerField first;
  first.controlId = kSecondField;
  first.label = "最初の画像の番号( 1 ～)";
  first.startValue = options.first;
  first.lower = 1;
  first.notNumberMessage = "最初の画像の番号に数値を入力して下さい。";
  first.belowLowerMessage = "最初の画像の番号に１以上の数値を入力して下さい。";
  first.store = [&options](int v) { options.first = v; };
  IntegerField last;
  last.controlId = kLastField;
  last.label = "最後の画像の番号( 0 で最後まで)";
  last.startValue = options.last;
  last.lower = 0;
  last.notNumberMessage = "最後の画像の番号に数値を入力して下さい。";
  last.belowLowerMessage = "最後の画像の番号に０以上の数値を入力して下さい。";
  last.store = [&options](int v) { options.last = v; };
  form.fields = {std::move(rate), std::move(first), std::move(last)};
  form.checkBoxes = {{kLoopCheck, "繰り返し再生する( Loop.)", options.loop,
                      [&options](bool v) { options.loop = v; }}};
  form.checkTogether = [](const std::vector<int>& v) -> std::optional<std::string> {
    if (v[0] != 6 && v[0] != 12 && v[0] != 24)
      return "１秒あたりの枚数には 6, 12, 24 のどれかを入力して下さい。";
    if (v[2] != 0 && v[2] < v[1]) return "最後の画像の番号は最初の画像の番号以上にして下さい。";
    return std::nullopt;
  };
  return MakeParameterDialog(std::move(form));
}

void FlipbookSettingsCommand(AppState& s) {
  platform::DialogModel model = MakeFlipbookDialog(s.flipbook.options);
  s.host.RunDialog(model);
}

}  // namespace lumavex
