#pragma once
// Shows a platform::Surface: the core draws the client area's pixels, this widget
// only puts them on the screen.

#include <QWidget>
#include <functional>

#include "platform/Surface.h"

namespace platform::qt {

class SurfaceWidget : public QWidget {
 public:
  explicit SurfaceWidget(QWidget* parent = nullptr);

  // The surface to show; it must outlive the widget or be replaced first. Parts of the
  // widget that the surface does not cover are black.
  void SetSurface(const Surface* surface);
  const Surface* CurrentSurface() const { return surface_; }

  // Paints `area` (client coordinates) now, without waiting for the event loop, so
  // that long operations can show their progress while they run.
  void PresentNow(const Rect& area);

  // Called (from the event loop) after Qt itself repainted the widget, for example
  // when it was shown or resized, so that the owner can have the core redraw.
  void SetExposedHandler(std::function<void()> onExposed) { onExposed_ = std::move(onExposed); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Surface* surface_ = nullptr;
  bool presenting_ = false;
  bool exposurePending_ = false;
  std::function<void()> onExposed_;
};

}  // namespace platform::qt
