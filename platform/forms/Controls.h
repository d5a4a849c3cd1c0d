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

// Label alignments, as the layouts number them.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 1;
inline constexpr int kAlignCentre = 2;

// A label with a transparent background; its caption is its accessible name. Its box is fixed,
// unless AutoSize makes its width follow its caption on one line.
class Label : public QLabel, public TwipsBox {
 public:
  explicit Label(Form& form);
  QString Caption() const { return text(); }
  void SetCaption(const QString& caption);
  VbColour ForeColor() const { return foreColor_; }
  // A plain colour, or a system colour resolved through the palette.
  void SetForeColor(VbColour colour);
  void SetAlignment(int alignment);
  // 0 none, 1 a single line along the edge. A label that may wear the line keeps room for it
  // from the first time its style is set, so that switching it never moves the text.
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);
  // Long captions break at word boundaries onto further lines inside the box.
  void SetWordWrap(bool wrap) { setWordWrap(wrap); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  void SetToolTipText(const QString& text) { setToolTip(text); }

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

// A straight line between two points in twips; a press on it does nothing.
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
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Form& form_;
  double x1_ = 0.0, y1_ = 0.0, x2_ = 0.0, y2_ = 0.0;
  VbColour colour_ = kVbBlack;
};

}  // namespace platform
