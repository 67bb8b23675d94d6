#pragma once
// What the window tests share: the events a program window sends, recorded in order,
// and showing the window on the test screen.

#include <QTest>
#include <QWidget>

#include <variant>
#include <vector>

#include "platform/Events.h"

namespace platform::qt {

class WindowEventLog {
 public:
  // Makes `window` send its events here.
  template <typename Window>
  void Record(Window& window) {
    window.SetEventSink([this](const WindowEvent& event) { events.push_back(event); });
  }

  // The events of one kind, in order.
  template <typename T>
  std::vector<T> Received() const {
    std::vector<T> out;
    for (const auto& event : events)
      if (auto* e = std::get_if<T>(&event)) out.push_back(*e);
    return out;
  }

  std::vector<WindowEvent> events;
};

// Shows `window` and waits until it is on the screen; false when it never gets there.
inline bool ShowOnScreen(QWidget& window) {
  window.show();
  return QTest::qWaitForWindowExposed(&window);
}

}  // namespace platform::qt
