#include "veltrane/qt/VeltraneWindow.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "platform/qt/MenuMirror.h"
#include "platform/qt/Process.h"
#include "platform/qt/ProgramIcon.h"
#include "platform/qt/SurfaceWidget.h"
#include "veltrane/core/Messages.h"
#include "veltrane/core/VeltraneApp.h"

namespace veltrane::qt {

namespace pq = platform::qt;

VeltraneWindow::VeltraneWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      menuBar_(new QMenuBar(this)),
      client_(new pq::SurfaceWidget(this)) {
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  setWindowIcon(pq::ProgramIcon(QStringLiteral("veltrane00.ico")));
  menuBar_->setNativeMenuBar(false);
  menu_ = std::make_unique<pq::MenuMirror>(*menuBar_,
                                           [this](int id) { Forward(platform::CommandEvent{id}); });
  client_->setFocusPolicy(Qt::NoFocus);
  client_->installEventFilter(this);
  client_->SetExposedHandler([this] { Forward(platform::PaintEvent{}); });
  BuildLayout();
}

// The menus go before the mirror whose actions they call, and nothing reaches the
// sink while the window goes.
VeltraneWindow::~VeltraneWindow() {
  sink_ = nullptr;
  delete menuBar_;
}

void VeltraneWindow::BuildLayout() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->setMenuBar(menuBar_);
  column->addWidget(client_, 1);
}

void VeltraneWindow::Place() {
  move(kWindowX, kWindowY);
  resize(kWindowWidth, kWindowHeight);
}

QSize VeltraneWindow::ClientSize() {
  layout()->activate();
  reportedClientSize_ = client_->size();
  return reportedClientSize_;
}

void VeltraneWindow::ReportClientSize() {
  if (client_->size() == reportedClientSize_) return;
  reportedClientSize_ = client_->size();
  Forward(platform::SizeEvent{reportedClientSize_.width(), reportedClientSize_.height()});
}

bool VeltraneWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) ReportClientSize();
  return QWidget::eventFilter(watched, event);
}

// Closing the window ends the tool as the quit command does. While a message box is
// open the window is blocked and Qt does not offer it the close.
void VeltraneWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  pq::QuitEventLoop(kExitQuit);
}

void VeltraneWindow::Forward(const platform::WindowEvent& event) {
  if (sink_) sink_(event);
}

}  // namespace veltrane::qt
