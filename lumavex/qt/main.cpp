#include "lumavex/shell/Main.h"

#include <QApplication>
#include <filesystem>

#include "lumavex/qt/QtHost.h"
#include "lumavex/qt/QtWindowSystem.h"
#include "platform/qt/UiFont.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  platform::qt::ApplyUiFont();
  lumavex::qt::QtHost host;
  lumavex::qt::QtWindowSystem windows(host);
  lumavex::AppConfig config;
  config.workingDirectory = std::filesystem::current_path().string();
  return lumavex::ProgramEntry(host, windows, config);
}
