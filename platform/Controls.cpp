#include "platform/Controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/Form.h"
#include "platform/VirtualKeys.h"

namespace platform {

void TwipsBox::SetBounds(double left, double top, double width, double height) {
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

void Label::SetForeColor(VbColour colour) {
  foreColor_ = colour;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, ColourFromBgr(colour));
  setPalette(p);
}

void Label::mousePressEvent(QMouseEvent* event) { Raise(MouseDown, form_, event, false); }
void Label::mouseMoveEvent(QMouseEvent* event) { Raise(MouseMove, form_, event, true); }
void Label::mouseReleaseEvent(QMouseEvent* event) { Raise(MouseUp, form_, event, false); }

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

Line::Line(Form& form) : QWidget(&form), form_(form) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_TranslucentBackground);
}

void Line::SetPoints(double x1, double y1, double x2, double y2) {
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
