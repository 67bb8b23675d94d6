#include <QApplication>
#include <filesystem>

#include "platform/qt/UiFont.h"
#include "veltrane/core/VeltraneApp.h"
#include "veltrane/qt/FrontEnd.h"
#include "veltrane/qt/VeltraneHost.h"
#include "veltrane/qt/VeltraneWindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  platform::qt::ApplyUiFont();
  veltrane::qt::VeltraneHost host;
  veltrane::qt::VeltraneWindow window;
  veltrane::VeltraneApp app(host, {std::filesystem::current_path().string()});
  veltrane::qt::OpenMainWindow(window, host, app);
  return veltrane::qt::RunMessageLoop(window, host);
}
