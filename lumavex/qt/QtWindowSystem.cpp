#include "lumavex/qt/QtWindowSystem.h"

#include <QApplication>

#include "lumavex/qt/LumavexWindow.h"
#include "lumavex/qt/QtHost.h"
#include "platform/qt/SurfaceWidget.h"

namespace lumavex::qt {

QtWindowSystem::QtWindowSystem(QtHost& host) : host_(host) {
  // Only the core ends the program (or the window's own close, with its exit code).
  QGuiApplication::setQuitOnLastWindowClosed(false);
}

QtWindowSystem::~QtWindowSystem() {
  host_.AttachWindow(nullptr);
}

void QtWindowSystem::CreateMainWindow(App& app) {
  window_ = std::make_unique<LumavexWindow>();
  host_.AttachWindow(window_.get());
  window_->PlaceOnScreen();
  window_->show();
  window_->Client().SetSurface(&app.Surface());
  const QSize client = window_->ClientSize();
  app.Create(client.width(), client.height());
  window_->SetEventSink([&app](const platform::WindowEvent& event) { app.HandleEvent(event); });
  host_.MenuChanged(app.Menu());
}

int QtWindowSystem::RunMessageLoop() {
  if (auto code = host_.PendingQuit()) return *code;
  const int exitCode = QApplication::exec();
  // The App may go before the window does; nothing the window does from here on
  // (deactivation while it closes) may reach it.
  if (window_) window_->SetEventSink({});
  return exitCode;
}

}  // namespace lumavex::qt
