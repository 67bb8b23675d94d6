#include "platform/qt/SurfaceWidget.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace platform::qt {

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void SurfaceWidget::SetSurface(const Surface* surface) {
  surface_ = surface;
}

void SurfaceWidget::PresentNow(const Rect& area) {
  const QRect rect =
      QRect(area.left, area.top, area.Width(), area.Height()).intersected(this->rect());
  if (rect.isEmpty() || !isVisible()) return;
  presenting_ = true;
  repaint(rect);
  presenting_ = false;
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect dirty = event->rect();
  QRegion uncovered(dirty);
  if (surface_ && surface_->Width() > 0 && surface_->Height() > 0) {
    // The surface's words are 0x00RRGGBB, which RGB32 reads as opaque colours as they are.
    const QImage image(reinterpret_cast<const uchar*>(surface_->Data()), surface_->Width(),
                       surface_->Height(), surface_->Width() * 4, QImage::Format_RGB32);
    const QRect shown = dirty.intersected(image.rect());
    painter.drawImage(shown.topLeft(), image, shown);
    uncovered -= image.rect();
  }
  for (const QRect& rect : uncovered) painter.fillRect(rect, Qt::black);
  if (presenting_ || !onExposed_ || exposurePending_) return;
  exposurePending_ = true;
  QTimer::singleShot(0, this, [this] {
    exposurePending_ = false;
    if (onExposed_) onExposed_();
  });
}

}  // namespace platform::qt
