#include "platform/UiHost.h"

namespace platform {

void Fatal(UiHost& host, const std::string& text, const std::string& caption, int exitCode,
           MessageIcon icon) {
  host.ShowMessage(text, caption, MessageButtons::Ok, icon);
  host.EndProcess(exitCode);
}

}  // namespace platform
