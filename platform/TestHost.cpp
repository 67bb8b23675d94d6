#include "platform/TestHost.h"

#include <filesystem>

namespace platform {

MessageResult TestHost::ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) {
  messages.push_back({text, caption, buttons, icon});
  if (!messageAnswers.empty()) {
    MessageResult answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
  }
  return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
}

int TestHost::RunDialog(DialogModel& model) {
  OpenedDialog opened{model.id, model.title, {}, {}};
  for (const auto& c : model.controls)
    if (c.kind == ControlKind::Edit) opened.startTexts[c.id] = c.text;
  dialogs.push_back(opened);

  std::vector<DialogAttempt> script;
  if (!dialogScripts.empty()) {
    script = std::move(dialogScripts.front());
    dialogScripts.pop_front();
  }
  for (const auto& attempt : script) {
    for (const auto& [id, text] : attempt.texts) model.SetText(id, text);
    for (const auto& [id, checked] : attempt.checks) model.SetChecked(id, checked);
    for (const auto& [id, index] : attempt.selections) model.SetSelected(id, index);
    for (int button : attempt.presses)
      if (auto refusal = model.Press(button)) {
        ShowMessage(refusal->text, refusal->caption, MessageButtons::Ok, MessageIcon::Exclamation);
        dialogs.back().refusals.push_back(*refusal);
      }
    if (!attempt.ok) return model.cancelCode;
    auto refusal = model.Accept();
    if (!refusal) return model.okCode;
    ShowMessage(refusal->text, refusal->caption, MessageButtons::Ok, MessageIcon::Exclamation);
    dialogs.back().refusals.push_back(*refusal);
  }
  return model.cancelCode;
}

namespace {

std::optional<std::string> NextAnswer(std::deque<std::optional<std::string>>& answers) {
  if (answers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

std::optional<std::string> TestHost::OpenFileDialog(const FileDialogRequest& request) {
  fileDialogs.push_back({false, request});
  return NextAnswer(fileDialogAnswers);
}

std::optional<std::string> TestHost::SaveFileDialog(const FileDialogRequest& request) {
  fileDialogs.push_back({true, request});
  return NextAnswer(fileDialogAnswers);
}

void TestHost::ShowModelessDialog(const DialogModel& model) {
  ModelessDialog shown{model.id, model.title, {}};
  for (const auto& c : model.controls)
    if (c.kind == ControlKind::ReadOnlyText) shown.text += c.text;
  modelessDialogs.push_back(std::move(shown));
}

void TestHost::MenuChanged(const MenuBar& menu) {
  lastMenu = &menu;
  if (statusTexts.empty() || statusTexts.back() != menu.StatusText())
    statusTexts.push_back(menu.StatusText());
}

void TestHost::Present(const Surface&, const Rect& area) { presented.push_back(area); }

bool TestHost::PlaySound(const WavSound& sound) {
  soundsPlayed.push_back(std::filesystem::path(sound.path).filename().string());
  return !soundFails;
}

bool TestHost::MoveToTrash(const std::string& path) {
  if (trashFails) return false;
  namespace fs = std::filesystem;
  std::error_code ec;
  if (trashDirectory.empty()) {
    fs::remove(path, ec);
  } else {
    fs::create_directories(trashDirectory, ec);
    fs::rename(path, fs::path(trashDirectory) / fs::path(path).filename(), ec);
  }
  if (ec) return false;
  trashed.push_back(fs::path(path).filename().string());
  return true;
}

void TestHost::SetScrollBar(ScrollEvent::Axis axis, int minimum, int maximum, int page,
                            int position) {
  ScrollBarState& bar = axis == ScrollEvent::Axis::Horizontal ? horizontalBar : verticalBar;
  bar = {minimum, maximum, page, position};
}

void TestHost::ClipCursor(const Rect* area) {
  if (area) cursorClip = *area;
  else cursorClip.reset();
}

std::vector<std::string> TestHost::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages) texts.push_back(m.text);
  return texts;
}

}  // namespace platform
