#include "veltrane/qt/VeltraneHost.h"

#include <QCursor>

#include "platform/qt/DialogPresenter.h"
#include "platform/qt/MenuMirror.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/Process.h"
#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/Trash.h"
#include "veltrane/qt/VeltraneWindow.h"

namespace veltrane::qt {

namespace pq = platform::qt;

VeltraneHost::VeltraneHost() = default;
VeltraneHost::~VeltraneHost() = default;

platform::MessageResult VeltraneHost::ShowMessage(const std::string& text,
                                                  const std::string& caption,
                                                  platform::MessageButtons buttons,
                                                  platform::MessageIcon icon) {
  if (presentMessage_) return presentMessage_(text, caption, buttons, icon);
  return pq::ShowMessageBox(window_, text, caption, buttons, icon);
}

int VeltraneHost::RunDialog(platform::DialogModel& model) {
  pq::DialogPresenter presenter(model, window_);
  return presenter.Run();
}

void VeltraneHost::MenuChanged(const platform::MenuBar& menu) {
  if (window_) window_->Menu().Update(menu);
}

void VeltraneHost::Present(const platform::Surface& surface, const platform::Rect& area) {
  if (!window_) return;
  window_->Client().SetSurface(&surface);
  window_->Client().PresentNow(area);
}

bool VeltraneHost::PlaySound(const platform::WavSound& sound) {
  return sounds_.Play(sound);
}

bool VeltraneHost::MoveToTrash(const std::string& path) {
  return pq::MoveFileToTrash(path);
}

void VeltraneHost::Minimise() {
  if (window_) window_->showMinimized();
}

void VeltraneHost::SetCursorPosition(int clientX, int clientY) {
  if (window_) QCursor::setPos(window_->Client().mapToGlobal(QPoint(clientX, clientY)));
}

void VeltraneHost::PostQuit(int exitCode) {
  pendingQuit_ = exitCode;
  pq::QuitEventLoop(exitCode);
}

void VeltraneHost::EndProcess(int exitCode) {
  if (endProcess_) endProcess_(exitCode);
  pq::EndProcessNow(exitCode);
}

}  // namespace veltrane::qt
