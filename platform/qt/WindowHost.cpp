#include "platform/qt/WindowHost.h"

#include <QCursor>
#include <QWidget>

#include "platform/qt/MenuMirror.h"
#include "platform/qt/Process.h"
#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/Trash.h"

namespace platform::qt {

WindowHost::WindowHost() = default;
WindowHost::~WindowHost() = default;

void WindowHost::MenuChanged(const MenuBar& menu) {
  if (hostWindow_) hostWindow_->Menu().Update(menu);
}

void WindowHost::Present(const Surface& surface, const Rect& area) {
  if (!hostWindow_) return;
  hostWindow_->Client().SetSurface(&surface);
  hostWindow_->Client().PresentNow(area);
}

bool WindowHost::PlaySound(const WavSound& sound) {
  return sounds_.Play(sound);
}

bool WindowHost::MoveToTrash(const std::string& path) {
  return MoveFileToTrash(path);
}

void WindowHost::Minimise() {
  if (hostWindow_) hostWindow_->Widget().showMinimized();
}

void WindowHost::SetCursorPosition(int clientX, int clientY) {
  if (hostWindow_) QCursor::setPos(hostWindow_->Client().mapToGlobal(QPoint(clientX, clientY)));
}

void WindowHost::PostQuit(int exitCode) {
  pendingQuit_ = exitCode;
  QuitEventLoop(exitCode);
}

}  // namespace platform::qt
