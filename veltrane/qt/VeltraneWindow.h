#pragma once
// The tool's main window: an ordinary top-level window with the menu bar on top and
// the client area below it. Menu clicks, client size changes and exposures leave it
// as core events; keys and the mouse mean nothing to the tool.

#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Events.h"
#include "platform/qt/WindowHost.h"

class QMenuBar;

namespace platform::qt {
class MenuMirror;
class SurfaceWidget;
}  // namespace platform::qt

namespace veltrane::qt {

using EventSink = platform::WindowEventSink;

class VeltraneWindow : public QWidget, public platform::qt::HostWindow {
 public:
  explicit VeltraneWindow(QWidget* parent = nullptr);
  ~VeltraneWindow() override;

  // Where the events go; without a sink they are dropped.
  void SetEventSink(EventSink sink) { sink_ = std::move(sink); }

  // Puts the window's top left corner at (kWindowX, kWindowY) and makes the window
  // (menu bar and client area) kWindowWidth × kWindowHeight. Without a window
  // manager nobody else places it; with one, its frame goes around that size.
  void Place();

  // The client area's size with the layout brought up to date; later changes are
  // reported as SizeEvents.
  QSize ClientSize();

  QWidget& Widget() override { return *this; }
  platform::qt::SurfaceWidget& Client() const override { return *client_; }
  QMenuBar& MenuBarWidget() const { return *menuBar_; }
  platform::qt::MenuMirror& Menu() const override { return *menu_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void ReportClientSize();
  void Forward(const platform::WindowEvent& event);

  EventSink sink_;
  QMenuBar* menuBar_;
  platform::qt::SurfaceWidget* client_;
  std::unique_ptr<platform::qt::MenuMirror> menu_;
  QSize reportedClientSize_;
};

}  // namespace veltrane::qt
