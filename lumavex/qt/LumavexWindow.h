#pragma once
// The program's single main window: a frameless window over the whole screen but the
// task bar's strip, with the menu bar on top, the client area below it and a scroll
// bar at its bottom and right. Everything the user does leaves it as a core event.

#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Events.h"
#include "platform/qt/WindowHost.h"

class QMenuBar;
class QScrollBar;

class QTimer;

namespace platform::qt {
class MenuMirror;
class SurfaceWidget;
}  // namespace platform::qt

namespace lumavex::qt {

using EventSink = platform::WindowEventSink;

class LumavexWindow : public QWidget, public platform::qt::HostWindow {
 public:
  // Room left for the desktop's task bar below the window.
  static constexpr int kTaskBarRoom = 28;

  explicit LumavexWindow(QWidget* parent = nullptr);
  ~LumavexWindow() override;

  // Where the events go; without a sink they are dropped.
  void SetEventSink(EventSink sink) { sink_ = std::move(sink); }

  // Moves the window to the screen's top left corner and sizes it to the screen's
  // width and its height less the task bar's room.
  void PlaceOnScreen();

  // The client area's size with the layout brought up to date; later size changes
  // are reported as SizeEvents.
  QSize ClientSize();

  QWidget& Widget() override { return *this; }
  platform::qt::SurfaceWidget& Client() const override { return *client_; }
  QMenuBar& MenuBarWidget() const { return *menuBar_; }
  platform::qt::MenuMirror& Menu() const override { return *menu_; }
  QScrollBar& ScrollBar(platform::ScrollEvent::Axis axis) const;

  // A modal message box or dialog took the mouse while a button was down, so its
  // release never reached the client area: once the core's handler has returned,
  // the releases of buttons no longer held are forwarded, and the core does not
  // keep waiting for them.
  void ReleaseButtonsLetGoDuringModal();

  // A modal window has closed over the client area. The backing store still shows
  // what was last presented, which need not be what the core would paint now (a
  // progress bar ended, for one), so the core is asked to repaint, as the uncovered
  // area would have made it, as soon as the event loop runs again.
  void RepaintAfterModal();

  // Forwards a TickEvent `perSecond` times a second until StopTicks.
  void StartTicks(int perSecond);
  void StopTicks();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Tab is a key of the core, not a move between child widgets.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  void BuildLayout();
  void ConnectScrollBar(QScrollBar* bar, platform::ScrollEvent::Axis axis);
  void WatchScreen();
  void OnScreenGeometryChanged();
  void ReportClientSize();
  void Forward(const platform::WindowEvent& event);

  EventSink sink_;
  QTimer* ticks_ = nullptr;
  QMenuBar* menuBar_;
  platform::qt::SurfaceWidget* client_;
  QScrollBar* horizontalBar_;
  QScrollBar* verticalBar_;
  std::unique_ptr<platform::qt::MenuMirror> menu_;
  QSize reportedClientSize_;
  Qt::MouseButtons forwardedButtons_;  // pressed in the client area, not yet released
  QPoint lastMousePosition_;
  // The last packet of a pen near the tablet.
  std::optional<platform::TabletEvent> lastTabletEvent_;
};

}  // namespace lumavex::qt
