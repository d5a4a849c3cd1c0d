#include "platform/forms/Form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "platform/desktop/Desktop.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Twips.h"
#include "platform/forms/VirtualKeys.h"

namespace platform {

namespace {
constexpr int kRefocusDelayMs = 250;
}  // namespace

int ButtonMask(Qt::MouseButtons buttons) {
  int mask = 0;
  if (buttons & Qt::LeftButton) mask |= kLeftButton;
  if (buttons & Qt::RightButton) mask |= kRightButton;
  if (buttons & Qt::MiddleButton) mask |= kMiddleButton;
  return mask;
}

Form::Form(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      twipsPerPixelX_(ScreenTwipsPerPixelX()),
      twipsPerPixelY_(ScreenTwipsPerPixelY()) {
  setFocusPolicy(Qt::StrongFocus);
  // Where the window system takes the shape for the input region alone (Wayland), the corners
  // outside the region are drawn by the program: left transparent over a translucent window.
  // Decided before the native window exists, which is when Qt reads the attribute.
  paintsOwnShape_ = Desktop::Current().ShapeLimitsInputOnly();
  if (paintsOwnShape_) {
    setAttribute(Qt::WA_TranslucentBackground);
  } else {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
}

Form::~Form() {
  if (modalLoop_ != nullptr) modalLoop_->quit();
  for (Timer* timer : timers_) timer->Detach();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

void Form::ShowModeless() {
  Load();
  if (!loaded_) return;  // the form unloaded itself while loading
  show();
  raise();
  activateWindow();
}

void Form::ShowModal(Form& owner) {
  if (modalLoop_ != nullptr) return;  // one nested loop per window
  Load();
  if (!loaded_) return;
  // Owned: the window manager keeps it above its owner (a dialog's dialog above both), and it
  // opens centred on it.
  setParent(&owner, windowFlags() | Qt::Dialog);
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  if (isHidden()) return;  // hidden while showing: the modal display is already over
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec(QEventLoop::DialogExec);
  modalLoop_ = nullptr;
  GiveKeyboardBackLater({&owner});
}

void GiveKeyboardBackLater(std::vector<QPointer<QWidget>> windows) {
  QTimer::singleShot(kRefocusDelayMs, qApp, [windows = std::move(windows)] {
    if (QGuiApplication::focusWindow() != nullptr) return;
    for (const QPointer<QWidget>& window : windows) {
      if (window != nullptr && window->isVisible()) {
        window->activateWindow();
        return;
      }
    }
  });
}

void Form::Unload() {
  if (!loaded_) return;
  Form_Unload();
  loaded_ = false;
  captured_ = false;
  for (Timer* timer : timers_) timer->SetEnabled(false);
  hide();
  if (Unloaded) Unloaded();
}

void Form::AddTimer(Timer& timer) { timers_.push_back(&timer); }

void Form::RemoveTimer(Timer& timer) { std::erase(timers_, &timer); }

bool Form::NoteFocus(const QWidget& control) {
  if (lastFocus_ == &control) return false;
  lastFocus_ = &control;
  return true;
}

void Form::SetSizeTwips(double widthTwips, double heightTwips) {
  widthTwips_ = widthTwips;
  heightTwips_ = heightTwips;
  ApplySize();
}

void Form::SetTwipsPerPixel(double x, double y) {
  twipsPerPixelX_ = x;
  twipsPerPixelY_ = y;
  ApplySize();
}

void Form::ApplySize() { setFixedSize(PixelsX(widthTwips_), PixelsY(heightTwips_)); }

int Form::PixelsX(double twips) const { return TwipsToPixels(twips, twipsPerPixelX_); }
int Form::PixelsY(double twips) const { return TwipsToPixels(twips, twipsPerPixelY_); }

void Form::MoveTwips(double leftTwips, double topTwips) {
  move(RoundHalfEven(leftTwips / twipsPerPixelX_), RoundHalfEven(topTwips / twipsPerPixelY_));
}

void Form::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void Form::SetShowInTaskbar(bool show) {
  showInTaskbar_ = show;
  if (isVisible()) Desktop::Current().SetSkipTaskbarAndPager(*this, !show);
}

void Form::SetWindowRegion(const QRegion& region) {
  region_ = region;
  setMask(region);
  update();
}

void Form::SetFrame(const QRegion& band, const QColor& colour) {
  frameRegion_ = band;
  frameColour_ = colour;
  update();
}

void Form::KeyPreview(QKeyEvent& event) {
  const VirtualKey key = TranslateKey(event);
  keyFromKeypad_ = key.keypad;
  if (key.code != 0) Form_KeyDown(key.code, key.shift);
}

bool Form::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // A key reaches the form itself only when no control has the focus: Tab then moves it to
    // the first control, if the window has any; nothing else goes further.
    auto& key = *static_cast<QKeyEvent*>(event);
    KeyPreview(key);
    if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) && isVisible() &&
        FirstFocusableControl() != nullptr) {
      focusNextPrevChild(key.key() == Qt::Key_Tab);
    }
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
  // A window this form owns (a dialog) is its child too, but its keys are its own.
  if (event->type() == QEvent::KeyPress && watched != this &&
      !static_cast<QWidget*>(watched)->isWindow()) {
    // The form first, then the control; a key the control leaves is not handed to the form a
    // second time.
    KeyPreview(*static_cast<QKeyEvent*>(event));
    // The form may have closed itself on this key: its controls take no more input then.
    if (isVisible()) watched->event(event);
    event->accept();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void Form::childEvent(QChildEvent* event) {
  QWidget::childEvent(event);
  if (event->added() && event->child()->isWidgetType() &&
      !static_cast<QWidget*>(event->child())->isWindow()) {
    event->child()->installEventFilter(this);
  }
}

QWidget* Form::FirstFocusableControl() const {
  for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->isHidden() && w->isEnabled() &&
        w->window() == this) {
      return w;
    }
  }
  return nullptr;
}

void Form::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (paintsOwnShape_) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!region_.isEmpty()) painter.setClipRegion(region_);
  }
  // An opaque picture is all there is to see behind the controls. One smaller than the window
  // (the pictures are made for 15 twips per pixel) is stretched over it, as the controls are.
  if (picture_.isNull() || picture_.hasAlphaChannel()) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
  }
  if (!picture_.isNull()) {
    const QSizeF size = picture_.deviceIndependentSize();
    if (size.width() >= width() && size.height() >= height()) {
      painter.drawPixmap(0, 0, picture_);
    } else {
      painter.drawPixmap(rect(), picture_);
    }
  }
  if (!frameRegion_.isEmpty()) {
    // The rim is some hundreds of bands: drawn at once, each costs a little more than its pixels.
    painter.setPen(Qt::NoPen);
    painter.setBrush(frameColour_);
    painter.drawRects(frameRegion_.begin(), static_cast<int>(frameRegion_.rectCount()));
  }
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void Form::closeEvent(QCloseEvent* event) {
  // Qt must not close the window by itself: the form decides what a close request means.
  event->ignore();
  Form_CloseRequest();
}

void Form::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // Hidden by the program, the modal display is over; minimised (a hide from the window
  // system), it goes on.
  if (!event->spontaneous() && modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!isWindow()) return;
  if (!everShown_) {
    // The first time it appears, a window stands in the middle of its owner, or of the screen;
    // afterwards it stays where it was left (or dragged).
    everShown_ = true;
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner != nullptr && owner->isVisible()) {
      area = owner->geometry();
    } else if (const QScreen* screen = this->screen()) {
      area = screen->geometry();
    }
    if (area.isValid()) {
      move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    // A window with controls to focus gives them the keyboard, the first one first; the form
    // itself then takes no focus, so that Tab goes round its controls only.
    if (QWidget* first = FirstFocusableControl()) {
      setFocusPolicy(Qt::NoFocus);
      first->setFocus(Qt::TabFocusReason);
    }
  }
  Desktop::Current().SetSkipTaskbarAndPager(*this, !showInTaskbar_);
}

void Form::RaiseMouse(QMouseEvent* event, void (Form::*handler)(int, int, double, double)) {
  const QPointF at = event->position();
  (this->*handler)(event->type() == QEvent::MouseMove ? ButtonMask(event->buttons())
                                                      : ButtonMask(event->button()),
                   ShiftMask(event->modifiers()), at.x() * twipsPerPixelX_,
                   at.y() * twipsPerPixelY_);
  event->accept();
}

void Form::mousePressEvent(QMouseEvent* event) { RaiseMouse(event, &Form::Form_MouseDown); }
void Form::mouseMoveEvent(QMouseEvent* event) { RaiseMouse(event, &Form::Form_MouseMove); }
void Form::mouseReleaseEvent(QMouseEvent* event) { RaiseMouse(event, &Form::Form_MouseUp); }

}  // namespace platform
