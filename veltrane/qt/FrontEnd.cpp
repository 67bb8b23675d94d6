#include "veltrane/qt/FrontEnd.h"

#include <QApplication>

#include "platform/qt/SurfaceWidget.h"
#include "veltrane/core/VeltraneApp.h"
#include "veltrane/qt/VeltraneHost.h"
#include "veltrane/qt/VeltraneWindow.h"

namespace veltrane::qt {

void OpenMainWindow(VeltraneWindow& window, VeltraneHost& host, VeltraneApp& app) {
  // Only the core's quit and the window's own close end the loop, never the last
  // message box closing.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  host.AttachWindow(&window);
  window.Place();
  window.show();
  window.Client().SetSurface(&app.Surface());
  const QSize client = window.ClientSize();
  app.Start(client.width(), client.height());
  window.SetEventSink([&app](const platform::WindowEvent& event) { app.HandleEvent(event); });
}

int RunMessageLoop(VeltraneWindow& window, const VeltraneHost& host) {
  if (auto code = host.PendingQuit()) return *code;
  const int exitCode = QApplication::exec();
  window.SetEventSink({});
  return exitCode;
}

}  // namespace veltrane::qt
