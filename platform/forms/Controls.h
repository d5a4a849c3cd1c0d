#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>

#include "platform/forms/VbColour.h"

namespace platform {

class Form;

// Mouse handler of a control: button mask, modifier mask, X and Y in twips relative to it.
using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

// Position and size in twips, applied to a child widget through its form's twips per pixel. The
// widget's own geometry (x(), width()...) is the same box in pixels.
class TwipsBox {
 public:
  TwipsBox(Form& form, QWidget& widget) : form_(form), widget_(widget) {}
  void SetBoundsTwips(double left, double top, double width, double height);
  void SetLeftTwips(double left) { SetBoundsTwips(left, top_, width_, height_); }
  double LeftTwips() const { return left_; }
  double TopTwips() const { return top_; }
  double WidthTwips() const { return width_; }
  double HeightTwips() const { return height_; }

 protected:
  Form& form_;

 private:
  QWidget& widget_;
  double left_ = 0.0;
  double top_ = 0.0;
  double width_ = 0.0;
  double height_ = 0.0;
};

// A label with a transparent background; its caption is its accessible name. Its box is fixed,
// unless AutoSize makes its width follow its caption on one line.
class Label : public QLabel, public TwipsBox {
 public:
  explicit Label(Form& form);
  // The Caption property is the label's text(); setting it also refits an AutoSize label.
  QString Caption() const { return text(); }
  void SetCaption(const QString& caption);
  VbColour ForeColor() const { return foreColor_; }
  // A plain colour, or a system colour resolved through the palette.
  void SetForeColor(VbColour colour);
  // 0 none, 1 a single line along the edge. A label that may wear the line keeps room for it
  // from the first time its style is set, so that switching it never moves the text.
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);
  void SetAutoSize(bool autoSize);

  std::function<void()> Click;
  MouseHandler MouseDown;
  MouseHandler MouseMove;
  MouseHandler MouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FitWidth();

  VbColour foreColor_ = kVbBlack;
  int borderStyle_ = 0;
  bool autoSize_ = false;
  bool pressed_ = false;
};

// A check box drawn as the bare box, without a caption, on an opaque window-coloured background.
// Space (on release, as desktop check boxes do) and a left click toggle it; it takes the focus
// from Tab and from a click.
class CheckBox : public QWidget, public TwipsBox {
 public:
  explicit CheckBox(Form& form);
  // 0 unchecked, 1 checked; any other value set counts as checked.
  int Value() const { return value_; }
  void SetValue(int value);

  std::function<void()> GotFocus;
  // Raised whenever Value changes.
  std::function<void()> Click;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int value_ = 0;
  bool spaceDown_ = false;
  bool pressed_ = false;
};

// A picture drawn unscaled from its top-left corner; a left click raises Click.
class Image : public QWidget, public TwipsBox {
 public:
  explicit Image(Form& form);
  void SetPicture(const QPixmap& picture);
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

// A straight line between two points in twips; a press on it does nothing.
class Line : public QWidget {
 public:
  explicit Line(Form& form);
  void SetPointsTwips(double x1, double y1, double x2, double y2);
  void SetBorderColor(VbColour colour);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Form& form_;
  double x1_ = 0.0, y1_ = 0.0, x2_ = 0.0, y2_ = 0.0;
  VbColour colour_ = kVbBlack;
};

}  // namespace platform
