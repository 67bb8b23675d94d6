#include "veltrane/qt/VeltraneHost.h"

#include "platform/qt/DialogPresenter.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/Process.h"
#include "veltrane/qt/VeltraneWindow.h"

namespace veltrane::qt {

namespace pq = platform::qt;

VeltraneHost::VeltraneHost() = default;

void VeltraneHost::AttachWindow(VeltraneWindow* window) {
  window_ = window;
  AttachHostWindow(window);
}

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

void VeltraneHost::EndProcess(int exitCode) {
  if (endProcess_) endProcess_(exitCode);
  pq::EndProcessNow(exitCode);
}

}  // namespace veltrane::qt
