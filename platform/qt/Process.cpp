#include "platform/qt/Process.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace platform::qt {

void QuitEventLoop(int exitCode) {
  QCoreApplication::exit(exitCode);
}

void EndProcessNow(int exitCode) {
  std::fflush(nullptr);
  std::_Exit(exitCode & 0xFF);
}

}  // namespace platform::qt
