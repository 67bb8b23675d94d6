#include "lumavex/qt/QtHost.h"

#include <QFileDialog>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "lumavex/qt/LumavexWindow.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/Process.h"
#include "platform/qt/SurfaceWidget.h"

namespace lumavex::qt {

namespace pq = platform::qt;

QtHost::QtHost() = default;

void QtHost::AttachWindow(LumavexWindow* window) {
  window_ = window;
  AttachHostWindow(window);
}

QtHost::~QtHost() = default;

void QtHost::StartTicks(int perSecond) {
  if (window_) window_->StartTicks(perSecond);
}

void QtHost::StopTicks() {
  if (window_) window_->StopTicks();
}

platform::MessageResult QtHost::ShowMessage(const std::string& text, const std::string& caption,
                                            platform::MessageButtons buttons,
                                            platform::MessageIcon icon) {
  const auto result = pq::ShowMessageBox(window_, text, caption, buttons, icon);
  AfterModal();
  return result;
}

int QtHost::RunDialog(platform::DialogModel& model) {
  pq::DialogPresenter presenter(model, window_, refusalPresenter_);
  const int code = presenter.Run();
  AfterModal();
  return code;
}

namespace {

// Qt writes a filter's patterns in parentheses: ".lmv files {*.lmv}" becomes
// ".lmv files (*.lmv)".
QString QtFilters(const std::vector<std::string>& filters) {
  QStringList out;
  for (const std::string& f : filters) {
    QString text = QString::fromStdString(f);
    const qsizetype open = text.lastIndexOf('{');
    if (open >= 0 && text.endsWith('}')) {
      text[open] = '(';
      text[text.size() - 1] = ')';
    }
    out << text;
  }
  return out.join(";;");
}

void Prepare(QFileDialog& dialog, const platform::FileDialogRequest& request) {
  dialog.setWindowTitle(QString::fromStdString(request.title));
  dialog.setDirectory(QString::fromStdString(request.folder));
  dialog.setNameFilter(QtFilters(request.filters));
  if (!request.defaultName.empty()) dialog.selectFile(QString::fromStdString(request.defaultName));
}

std::optional<std::string> Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace

void QtHost::AfterModal() {
  if (!window_) return;
  window_->ReleaseButtonsLetGoDuringModal();
  window_->RepaintAfterModal();
}

std::optional<std::string> QtHost::OpenFileDialog(const platform::FileDialogRequest& request) {
  QFileDialog dialog(window_);
  Prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const auto chosen = Chosen(dialog);
  AfterModal();
  return chosen;
}

// The caller asks about an existing file itself, so the dialog does not.
std::optional<std::string> QtHost::SaveFileDialog(const platform::FileDialogRequest& request) {
  QFileDialog dialog(window_);
  Prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (request.defaultExtension.size() > 1)
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension.substr(1)));
  const auto chosen = Chosen(dialog);
  AfterModal();
  return chosen;
}

// The dialog belongs to the main window, so it closes with it at the latest.
void QtHost::ShowModelessDialog(const platform::DialogModel& model) {
  pq::ShowModelessDialog(model, window_);
}

// The core gives the range as Windows scroll bars take it: minimum..maximum inclusive
// with a page inside it, so the thumb's top runs from minimum to maximum - page + 1.
// The new values must not come back as scroll requests.
void QtHost::SetScrollBar(platform::ScrollEvent::Axis axis, int minimum, int maximum, int page,
                          int position) {
  if (!window_) return;
  QScrollBar& bar = window_->ScrollBar(axis);
  const QSignalBlocker blocker(bar);
  const int top = std::max(minimum, maximum - page + 1);
  bar.setRange(minimum, top);
  bar.setPageStep(std::max(page, 0));
  bar.setValue(position);
  bar.setEnabled(top > minimum);
}

// X11 confines the pointer only through an active pointer grab, which would take the
// mouse from every other program, so the area is only kept.
void QtHost::ClipCursor(const platform::Rect* area) {
  if (area)
    cursorClip_ = *area;
  else
    cursorClip_.reset();
}

void QtHost::EndProcess(int exitCode) {
  pq::EndProcessNow(exitCode);
}

}  // namespace lumavex::qt
