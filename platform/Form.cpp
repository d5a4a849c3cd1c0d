#include "platform/Form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "platform/Twips.h"
#include "platform/VirtualKeys.h"
#include "platform/X11WindowState.h"

namespace platform {

namespace {
// The program ends when its last loaded form is unloaded, whatever is still merely hidden.
int loadedForms = 0;
}  // namespace

std::intptr_t CallWindowProc(WindowProc proc, Form* hWnd, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam) {
  return proc != nullptr ? proc(hWnd, message, wParam, lParam) : 0;
}

std::intptr_t DefWindowProc(Form*, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

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
  setAttribute(Qt::WA_OpaquePaintEvent);
}

Form::~Form() {
  if (loaded_) --loadedForms;
  if (modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  ++loadedForms;
  Form_Load();
}

void Form::Show() {
  Load();
  if (!loaded_) return;  // the form unloaded itself while loading
  show();
  raise();
  activateWindow();
}

void Form::ShowModal(Form& owner) {
  Load();
  if (!loaded_) return;
  setParent(&owner, windowFlags() | Qt::Dialog);
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec(QEventLoop::DialogExec);
  modalLoop_ = nullptr;
}

void Form::Hide() {
  hide();
  if (modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::Unload() {
  if (!loaded_) return;
  Form_Unload();
  loaded_ = false;
  captured_ = false;
  Hide();
  if (--loadedForms == 0) QCoreApplication::exit(0);
}

int Form::WindowState() const {
  if (isMinimized()) return 1;
  if (isMaximized()) return 2;
  return 0;
}

void Form::SetFormSize(double widthTwips, double heightTwips) {
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

void Form::Move(double leftTwips, double topTwips) {
  move(RoundHalfEven(leftTwips / twipsPerPixelX_), RoundHalfEven(topTwips / twipsPerPixelY_));
}

void Form::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void Form::SetShowInTaskbar(bool show) {
  showInTaskbar_ = show;
  if (isVisible()) SetSkipTaskbarAndPager(*this, !show);
}

void Form::SetWindowRegion(const QRegion& region) {
  region_ = region;
  setMask(region);
  update();
}

void Form::SetFrame(const QRegion& region, const QColor& colour, int strokeWidth,
                    int strokeHeight) {
  // What survives shifting the region by a stroke in each direction is its inside; the rest is
  // the band along its edge.
  QRegion inside = region;
  inside &= region.translated(strokeWidth, 0);
  inside &= region.translated(-strokeWidth, 0);
  inside &= region.translated(0, strokeHeight);
  inside &= region.translated(0, -strokeHeight);
  frameRegion_ = region.subtracted(inside);
  frameColour_ = colour;
  update();
}

WindowProc Form::SetWindowProc(WindowProc proc) {
  WindowProc previous = windowProc_;
  windowProc_ = proc;
  return previous;
}

std::intptr_t Form::SendMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  return CallWindowProc(windowProc_, this, message, wParam, lParam);
}

bool Form::event(QEvent* event) {
  // Tab and Backtab would otherwise move a focus that no control of these windows takes.
  if (event->type() == QEvent::KeyPress) {
    const VirtualKey key = TranslateKey(*static_cast<QKeyEvent*>(event));
    if (key.code != 0) Form_KeyDown(key.code, key.shift);
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void Form::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
  for (const QRect& band : frameRegion_) painter.fillRect(band, frameColour_);
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
  // A close from the window manager (Alt+F4 there, or a task switcher) unloads like the
  // window's own close command.
  event->accept();
  Unload();
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!isWindow()) return;
  if (!everShown_) {
    // The first time it appears, a window stands in the middle of the screen; afterwards it
    // stays where it was left (or dragged).
    everShown_ = true;
    const QScreen* screen = this->screen();
    if (screen != nullptr) {
      const QRect area = screen->geometry();
      move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
  }
  SetSkipTaskbarAndPager(*this, !showInTaskbar_);
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
