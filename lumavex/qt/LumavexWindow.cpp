#include "lumavex/qt/LumavexWindow.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/qt/InputTranslation.h"
#include "platform/qt/MenuMirror.h"
#include "platform/qt/Process.h"
#include "platform/qt/ProgramIcon.h"
#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/TabletInput.h"

namespace lumavex::qt {

using platform::ScrollEvent;
namespace pq = platform::qt;

namespace {

// The exit code of a window closed by the system rather than by the End command.
constexpr int kClosedBySystemExitCode = 1;

std::vector<std::string> LocalPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  return paths;
}

// Calls `left` when a pen leaves the tablet, which Qt tells the application, not a widget.
class ProximityWatcher : public QObject {
 public:
  ProximityWatcher(QObject* parent, std::function<void()> left)
      : QObject(parent), left_(std::move(left)) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qApp && event->type() == QEvent::TabletLeaveProximity) left_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> left_;
};

}  // namespace

LumavexWindow::LumavexWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      menuBar_(new QMenuBar(this)),
      client_(new pq::SurfaceWidget(this)),
      horizontalBar_(new QScrollBar(Qt::Horizontal, this)),
      verticalBar_(new QScrollBar(Qt::Vertical, this)) {
  setWindowTitle(QStringLiteral("Lumavex"));
  setWindowIcon(pq::ProgramIcon(QStringLiteral("lumavex00.ico")));
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);

  ticks_ = new QTimer(this);
  ticks_->setTimerType(Qt::PreciseTimer);
  connect(ticks_, &QTimer::timeout, this, [this] { Forward(platform::TickEvent{}); });

  menuBar_->setNativeMenuBar(false);
  menu_ = std::make_unique<pq::MenuMirror>(
      *menuBar_, [this](int id) { Forward(platform::CommandEvent{id}); },
      [this](bool entering) { Forward(platform::MenuLoopEvent{entering}); });

  // The client area's background is black: SurfaceWidget paints black wherever the
  // core's surface does not reach.
  client_->setCursor(Qt::CrossCursor);
  client_->setMouseTracking(true);
  // Hovering pens send packets too, so that the side button works off the tablet's surface.
  client_->setTabletTracking(true);
  client_->setFocusPolicy(Qt::NoFocus);
  client_->installEventFilter(this);
  new ProximityWatcher(this, [this] {
    // The pen left the tablet: whatever it was doing has ended.
    if (!lastTabletEvent_) return;
    Forward(pq::PenLeft(*lastTabletEvent_));
    lastTabletEvent_.reset();
  });
  client_->SetExposedHandler([this] { Forward(platform::PaintEvent{}); });
  ConnectScrollBar(horizontalBar_, ScrollEvent::Axis::Horizontal);
  ConnectScrollBar(verticalBar_, ScrollEvent::Axis::Vertical);
  BuildLayout();
  WatchScreen();
}

// The menus go before the mirror and the sink: a popup still open reports its closing.
LumavexWindow::~LumavexWindow() {
  sink_ = nullptr;
  delete menuBar_;
}

void LumavexWindow::BuildLayout() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->setMenuBar(menuBar_);
  auto* grid = new QGridLayout;
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(client_, 0, 0);
  grid->addWidget(verticalBar_, 0, 1);
  grid->addWidget(horizontalBar_, 1, 0);
  auto* sizeBox = new QWidget(this);
  sizeBox->setAutoFillBackground(true);
  grid->addWidget(sizeBox, 1, 1);
  column->addLayout(grid, 1);
}

void LumavexWindow::ConnectScrollBar(QScrollBar* bar, ScrollEvent::Axis axis) {
  bar->setFocusPolicy(Qt::NoFocus);
  bar->setContextMenuPolicy(Qt::NoContextMenu);
  connect(bar, &QScrollBar::actionTriggered, this, [this, bar, axis](int action) {
    if (auto request = pq::ScrollRequestOf(action, bar->isSliderDown()))
      Forward(ScrollEvent{axis, *request, bar->sliderPosition()});
  });
  connect(bar, &QScrollBar::sliderReleased, this, [this, bar, axis] {
    Forward(ScrollEvent{axis, ScrollEvent::Request::ThumbPosition, bar->sliderPosition()});
  });
}

QScrollBar& LumavexWindow::ScrollBar(ScrollEvent::Axis axis) const {
  return axis == ScrollEvent::Axis::Horizontal ? *horizontalBar_ : *verticalBar_;
}

void LumavexWindow::WatchScreen() {
  auto watch = [this](QScreen* screen) {
    if (screen)
      connect(screen, &QScreen::geometryChanged, this, &LumavexWindow::OnScreenGeometryChanged);
  };
  watch(QGuiApplication::primaryScreen());
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this, watch](QScreen* screen) {
    watch(screen);
    OnScreenGeometryChanged();
  });
}

void LumavexWindow::PlaceOnScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  setGeometry(area.x(), area.y(), area.width(), area.height() - kTaskBarRoom);
}

void LumavexWindow::OnScreenGeometryChanged() {
  PlaceOnScreen();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  Forward(platform::DisplayChangeEvent{screen->geometry().width(), screen->geometry().height()});
}

QSize LumavexWindow::ClientSize() {
  layout()->activate();
  reportedClientSize_ = client_->size();
  return reportedClientSize_;
}

void LumavexWindow::ReportClientSize() {
  if (client_->size() == reportedClientSize_) return;
  reportedClientSize_ = client_->size();
  Forward(platform::SizeEvent{reportedClientSize_.width(), reportedClientSize_.height()});
}

bool LumavexWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != client_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
      // Forwarded and left unaccepted: Qt then makes mouse events of it as well, so that
      // the pen works as a mouse in every mode, and the core tells those apart.
      if (auto tablet = pq::TabletEventOf(*static_cast<QTabletEvent*>(event), client_->size())) {
        lastTabletEvent_ = *tablet;
        Forward(*tablet);
      }
      event->ignore();
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      auto* qmouse = static_cast<QMouseEvent*>(event);
      lastMousePosition_ = qmouse->position().toPoint();
      if (event->type() == QEvent::MouseButtonRelease) forwardedButtons_ &= ~qmouse->button();
      else if (event->type() != QEvent::MouseMove) forwardedButtons_ |= qmouse->button();
      if (auto mouse = pq::MouseEventOf(*qmouse)) Forward(*mouse);
      return true;
    }
    case QEvent::Resize:
      ReportClientSize();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void LumavexWindow::keyPressEvent(QKeyEvent* event) {
  // Keys held with Alt belong to the menu bar, as system keys do.
  if (event->modifiers() & Qt::AltModifier) return QWidget::keyPressEvent(event);
  if (int key = pq::VirtualKeyOf(*event))
    Forward(platform::KeyDownEvent{key, pq::ModifiersOf(event->modifiers())});
}

void LumavexWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) Forward(platform::ActivateEvent{isActiveWindow()});
  QWidget::changeEvent(event);
}

void LumavexWindow::closeEvent(QCloseEvent* event) {
  // Closed by the system: the event loop ends without the End command's clean-up, so
  // the next start finds the session and offers recovery.
  event->accept();
  pq::QuitEventLoop(kClosedBySystemExitCode);
}

void LumavexWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void LumavexWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = LocalPaths(event->mimeData());
  if (paths.empty()) return;
  event->acceptProposedAction();
  Forward(platform::DropEvent{std::move(paths)});
}

void LumavexWindow::ReleaseButtonsLetGoDuringModal() {
  QTimer::singleShot(0, this, [this] {
    const Qt::MouseButtons held = QGuiApplication::mouseButtons();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
      if (!(forwardedButtons_ & button) || (held & button)) continue;
      forwardedButtons_ &= ~button;
      platform::MouseEvent release;
      release.kind = platform::MouseEvent::Kind::Release;
      release.button = button == Qt::LeftButton ? platform::MouseButton::Left
                                                : platform::MouseButton::Right;
      release.x = lastMousePosition_.x();
      release.y = lastMousePosition_.y();
      release.leftDown = held & Qt::LeftButton;
      release.rightDown = held & Qt::RightButton;
      release.modifiers = pq::ModifiersOf(QGuiApplication::keyboardModifiers());
      Forward(release);
    }
  });
}

void LumavexWindow::RepaintAfterModal() {
  QTimer::singleShot(0, this, [this] { Forward(platform::PaintEvent{}); });
}

void LumavexWindow::StartTicks(int perSecond) {
  ticks_->setInterval(1000 / std::max(perSecond, 1));
  ticks_->start();
}

void LumavexWindow::StopTicks() {
  ticks_->stop();
}

void LumavexWindow::Forward(const platform::WindowEvent& event) {
  if (sink_) sink_(event);
}

}  // namespace lumavex::qt
