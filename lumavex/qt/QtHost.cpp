#include "lumavex/qt/QtHost.h"

#include <QCursor>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "lumavex/qt/LumavexWindow.h"
#include "platform/qt/MenuMirror.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/Process.h"
#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/Trash.h"

namespace lumavex::qt {

namespace pq = platform::qt;

QtHost::QtHost() = default;
QtHost::~QtHost() = default;

platform::MessageResult QtHost::ShowMessage(const std::string& text, const std::string& caption,
                                            platform::MessageButtons buttons,
                                            platform::MessageIcon icon) {
  const auto result = pq::ShowMessageBox(window_, text, caption, buttons, icon);
  if (window_) window_->ReleaseButtonsLetGoDuringModal();
  return result;
}

int QtHost::RunDialog(platform::DialogModel& model) {
  pq::DialogPresenter presenter(model, window_, refusalPresenter_);
  const int code = presenter.Run();
  if (window_) window_->ReleaseButtonsLetGoDuringModal();
  return code;
}

// The dialog belongs to the main window, so it closes with it at the latest.
void QtHost::ShowModelessDialog(const platform::DialogModel& model) {
  pq::ShowModelessDialog(model, window_);
}

void QtHost::MenuChanged(const platform::MenuBar& menu) {
  if (window_) window_->Menu().Update(menu);
}

void QtHost::Present(const platform::Surface& surface, const platform::Rect& area) {
  if (!window_) return;
  window_->Client().SetSurface(&surface);
  window_->Client().PresentNow(area);
}

bool QtHost::PlaySound(const platform::WavSound& sound) {
  return sounds_.Play(sound);
}

bool QtHost::MoveToTrash(const std::string& path) {
  return pq::MoveFileToTrash(path);
}

void QtHost::Minimise() {
  if (window_) window_->showMinimized();
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

void QtHost::SetCursorPosition(int clientX, int clientY) {
  if (window_) QCursor::setPos(window_->Client().mapToGlobal(QPoint(clientX, clientY)));
}

void QtHost::PostQuit(int exitCode) {
  pendingQuit_ = exitCode;
  pq::QuitEventLoop(exitCode);
}

void QtHost::EndProcess(int exitCode) {
  pq::EndProcessNow(exitCode);
}

}  // namespace lumavex::qt
