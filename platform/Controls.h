#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>

#include "platform/VbColour.h"

namespace platform {

class Form;

// Mouse handler of a control: button mask, modifier mask, X and Y in twips relative to it.
using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

// Position and size in twips, applied to a child widget through its form's twips per pixel.
class TwipsBox {
 public:
  TwipsBox(Form& form, QWidget& widget) : form_(form), widget_(widget) {}
  void SetBounds(double left, double top, double width, double height);
  void SetLeft(double left) { SetBounds(left, top_, width_, height_); }
  void SetTop(double top) { SetBounds(left_, top, width_, height_); }
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  // The Visible property: what the control was told, whether or not its form is shown.
  bool Visible() const { return !widget_.isHidden(); }
  void SetVisible(bool visible) { widget_.setVisible(visible); }
  // Re-applies the twips after the form's twips per pixel changed.
  void ApplyBounds() { SetBounds(left_, top_, width_, height_); }

 protected:
  Form& form_;

 private:
  QWidget& widget_;
  double left_ = 0.0;
  double top_ = 0.0;
  double width_ = 0.0;
  double height_ = 0.0;
};

// A label with a transparent background and a fixed box; its caption is its accessible name.
class Label : public QLabel, public TwipsBox {
 public:
  explicit Label(Form& form);
  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }
  VbColour ForeColor() const { return foreColor_; }
  void SetForeColor(VbColour colour);

  MouseHandler MouseDown;
  MouseHandler MouseMove;
  MouseHandler MouseUp;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  VbColour foreColor_ = kVbBlack;
};

// A picture drawn unscaled from its top-left corner; a left click raises Click.
class Image : public QWidget, public TwipsBox {
 public:
  explicit Image(Form& form);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }
  // The tooltip is also what assistive technologies read for the image.
  void SetToolTipText(const QString& text);

  std::function<void()> Click;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
  bool pressed_ = false;
};

// A straight line between two points in twips; it takes no mouse input.
class Line : public QWidget {
 public:
  explicit Line(Form& form);
  void SetPoints(double x1, double y1, double x2, double y2);
  void SetBorderColor(VbColour colour);
  bool Visible() const { return !isHidden(); }
  void SetVisible(bool visible) { setVisible(visible); }
  double X1() const { return x1_; }
  double Y1() const { return y1_; }
  double X2() const { return x2_; }
  double Y2() const { return y2_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Form& form_;
  double x1_ = 0.0, y1_ = 0.0, x2_ = 0.0, y2_ = 0.0;
  VbColour colour_ = kVbBlack;
};

}  // namespace platform
