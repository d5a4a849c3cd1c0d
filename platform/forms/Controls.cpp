#include "platform/forms/Controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/forms/AccessibleCheckBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/VirtualKeys.h"

namespace platform {

void TwipsBox::SetBoundsTwips(double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  widget_.setGeometry(form_.PixelsX(left), form_.PixelsY(top), form_.PixelsX(width),
                      form_.PixelsY(height));
}

namespace {
void Raise(const MouseHandler& handler, const Form& form, QMouseEvent* event, bool move) {
  event->accept();
  if (!handler) return;
  const QPointF at = event->position();
  handler(move ? ButtonMask(event->buttons()) : ButtonMask(event->button()),
          ShiftMask(event->modifiers()), at.x() * form.TwipsPerPixelX(),
          at.y() * form.TwipsPerPixelY());
}
}  // namespace

Label::Label(Form& form) : QLabel(&form), TwipsBox(form, *this) {
  setTextFormat(Qt::PlainText);  // amounts and captions are never markup
  setAlignment(Qt::AlignRight | Qt::AlignTop);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_TranslucentBackground);
  SetForeColor(kVbBlack);
}

void Label::SetCaption(const QString& caption) {
  setText(caption);
  if (autoSize_) FitWidth();
}

void Label::SetForeColor(VbColour colour) {
  foreColor_ = colour;
  VbColour rgb = kVbBlack;
  if (!TranslateColour(colour, rgb)) rgb = kVbBlack;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, ColourFromBgr(rgb));
  setPalette(p);
}

void Label::SetBorderStyle(int style) {
  if (contentsMargins().isNull()) setContentsMargins(1, 1, 1, 1);
  borderStyle_ = style == 0 ? 0 : 1;
  update();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  if (autoSize_) FitWidth();
}

void Label::FitWidth() {
  // The width of the caption on one line, kept in twips like every other box.
  const QMargins margins = contentsMargins();
  const int pixels =
      fontMetrics().horizontalAdvance(text()) + margins.left() + margins.right() + 2 * margin();
  SetBoundsTwips(LeftTwips(), TopTwips(), pixels * form_.TwipsPerPixelX(), HeightTwips());
}

void Label::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (borderStyle_ == 0) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Label::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  Raise(MouseDown, form_, event, false);
}

void Label::mouseMoveEvent(QMouseEvent* event) { Raise(MouseMove, form_, event, true); }

void Label::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  Raise(MouseUp, form_, event, false);
  if (click && Click) Click();
}

CheckBox::CheckBox(Form& form) : QWidget(&form), TwipsBox(form, *this) {
  // Before anything that reports to assistive technologies: the first report makes the box's
  // accessible object, which is kept.
  InstallCheckBoxAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(QString());
}

void CheckBox::SetValue(int value) {
  const int normal = value == 0 ? 0 : 1;
  if (normal == value_) return;
  value_ = normal;
  update();
  ReportCheckedChange(*this);
  if (Click) Click();
}

void CheckBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  VbColour background = kVbWindowBackground;
  if (!TranslateColour(kVbWindowBackground, background)) background = 0x00FFFFFF;
  painter.fillRect(rect(), ColourFromBgr(background));
  // The box is a square as wide as the control, in the middle of its height: smaller than a
  // style's indicator, which would not fit the layout's box.
  const int side = std::min(width(), height());
  const QRect box((width() - side) / 2, (height() - side) / 2, side, side);
  painter.fillRect(box, Qt::white);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  if (value_ == 0) return;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette().color(QPalette::Text), side / 6.0 + 0.6));
  const QRectF in = QRectF(box).adjusted(side * 0.2, side * 0.2, -side * 0.2, -side * 0.2);
  const QPointF tick[] = {{in.left(), in.center().y()},
                          {in.left() + in.width() * 0.4, in.bottom()},
                          {in.right(), in.top()}};
  painter.drawPolyline(tick, 3);
}

void CheckBox::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (form_.NoteFocus(*this) && GotFocus) GotFocus();
}

void CheckBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) spaceDown_ = true;
  event->accept();
}

void CheckBox::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  event->accept();
  if (!spaceDown_) return;
  spaceDown_ = false;
  SetValue(value_ == 0 ? 1 : 0);
}

void CheckBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void CheckBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) SetValue(value_ == 0 ? 1 : 0);
}

Image::Image(Form& form) : QWidget(&form), TwipsBox(form, *this) {
  setAttribute(Qt::WA_TranslucentBackground);
}

void Image::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void Image::SetToolTipText(const QString& text) {
  setToolTip(text);
  setAccessibleName(text);
}

void Image::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

void Image::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void Image::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click && Click) Click();
}

Line::Line(Form& form) : QWidget(&form), form_(form) { setAttribute(Qt::WA_TranslucentBackground); }

void Line::mousePressEvent(QMouseEvent* event) { event->accept(); }

void Line::SetPointsTwips(double x1, double y1, double x2, double y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  const int px1 = form_.PixelsX(x1), py1 = form_.PixelsY(y1);
  const int px2 = form_.PixelsX(x2), py2 = form_.PixelsY(y2);
  setGeometry(std::min(px1, px2), std::min(py1, py2), std::abs(px2 - px1) + 1,
              std::abs(py2 - py1) + 1);
  update();
}

void Line::SetBorderColor(VbColour colour) {
  colour_ = colour;
  update();
}

void Line::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(ColourFromBgr(colour_));
  const int px1 = form_.PixelsX(x1_), py1 = form_.PixelsY(y1_);
  const int px2 = form_.PixelsX(x2_), py2 = form_.PixelsY(y2_);
  const QPoint origin = geometry().topLeft();
  painter.drawLine(QPoint(px1, py1) - origin, QPoint(px2, py2) - origin);
}

}  // namespace platform
