#include "platform/UiHost.h"

#include <cstdlib>

namespace platform {

void Fatal(UiHost& host, const std::string& text, const std::string& caption, int exitCode,
           MessageIcon icon) {
  host.ShowMessage(text, caption, MessageButtons::Ok, icon);
  host.EndProcess(exitCode);
  std::abort();  // a host's EndProcess never returns
}

}  // namespace platform
