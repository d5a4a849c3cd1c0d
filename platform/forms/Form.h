#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QEventLoop;

namespace platform {

class Timer;

// Mouse buttons as the handlers receive them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// A borderless window whose geometry is kept in twips, which sees every key before its controls
// and raises the Load, Unload, KeyDown, Resize and mouse events of the original toolkit. What Qt
// already names (the title, hide(), isMinimized(), pixel geometry) keeps Qt's name; a member of
// its own that works in twips says so in its name.
class Form : public QWidget {
 public:
  explicit Form(QWidget* parent = nullptr);
  ~Form() override;

  // Lifecycle. Load runs Form_Load once; ShowModeless loads if needed, shows, raises and
  // activates; ShowModal shows this form owned by `owner`, centred on it and above it, and
  // returns once it is hidden (any hide() by the program ends the modal display) or unloaded;
  // Unload runs Form_Unload, stops the form's timers, hides the window for good and raises
  // Unloaded.
  void Load();
  void ShowModeless();
  void ShowModal(Form& owner);
  void Unload();
  bool IsLoaded() const { return loaded_; }
  // Whether ShowModal's nested loop runs (Qt's isModal() says only how the window is shown).
  bool InModalLoop() const { return modalLoop_ != nullptr; }
  // Raised once the form has unloaded: the program decides there whether it ends.
  std::function<void()> Unloaded;

  // Properties of the original toolkit.
  QString Tag;
  void SetSizeTwips(double widthTwips, double heightTwips);
  double WidthTwips() const { return widthTwips_; }
  double HeightTwips() const { return heightTwips_; }
  // Moves the window to a position in screen twips; the size is unchanged.
  void MoveTwips(double leftTwips, double topTwips);
  void SetPicture(const QPixmap& picture);
  // Whether the window has an entry in the task bar and the pager; by default it has none.
  void SetShowInTaskbar(bool show);
  bool ShowInTaskbar() const { return showInTaskbar_; }

  // The screen's twips per pixel, read when the form is created; tests may set them.
  double TwipsPerPixelX() const { return twipsPerPixelX_; }
  double TwipsPerPixelY() const { return twipsPerPixelY_; }
  void SetTwipsPerPixel(double x, double y);
  int PixelsX(double twips) const;
  int PixelsY(double twips) const;

  // Regions, in pixels. A form shows and takes the mouse only inside its region (where the
  // window system shapes input only, the form leaves what lies outside it transparent).
  void SetWindowRegion(const QRegion& region);
  QRegion WindowRegion() const { return region_; }
  // A band (a frame along the inside of the region, say) painted in one colour over everything
  // else every time the window is painted.
  void SetFrame(const QRegion& band, const QColor& colour);
  bool HasFrame() const { return !frameRegion_.isEmpty(); }
  // Whether the form paints its region over a transparent window itself.
  bool PaintsOwnShape() const { return paintsOwnShape_; }

  // Mouse capture. While a button is held, Qt already sends every move and release to the widget
  // that took the press, and controls hand theirs to the same handlers as the form's: the
  // capture only needs to be remembered.
  void SetCapture() { captured_ = true; }
  void ReleaseCapture() { captured_ = false; }
  bool HasCapture() const { return captured_; }

  // Timers belong to their form and stop when it unloads.
  void AddTimer(Timer& timer);
  void RemoveTimer(Timer& timer);
  // Notes that a control took the keyboard focus; true when it is another control than the one
  // that had it last, so that coming back to the window raises no second GotFocus.
  bool NoteFocus(const QWidget& control);

  // Raised for the handlers of a subclass; mouse coordinates are in twips from the top-left.
 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload() {}
  // Every key reaches the form first; a key the form does not handle goes on to the focused
  // control (Tab moves between controls, Space toggles a check box).
  virtual void Form_KeyDown(int keyCode, int shift) {
    (void)keyCode;
    (void)shift;
  }
  // While Form_KeyDown runs: whether its key came from the keypad, as the extended-key flag of
  // the original platform tells a keypad key from its twin on the main keyboard.
  bool KeyFromKeypad() const { return keyFromKeypad_; }
  // The window manager asked the window to close (its own Alt+F4, a close button, a task
  // switcher). A dialog takes its own close or cancel path here; by default the form unloads.
  virtual void Form_CloseRequest() { Unload(); }
  virtual void Form_Resize() {}
  virtual void Form_MouseDown(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Form_MouseMove(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Form_MouseUp(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
  }

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void childEvent(QChildEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ApplySize();
  void KeyPreview(QKeyEvent& event);
  QWidget* FirstFocusableControl() const;
  void RaiseMouse(QMouseEvent* event, void (Form::*handler)(int, int, double, double));

  bool loaded_ = false;
  bool captured_ = false;
  bool everShown_ = false;
  bool showInTaskbar_ = false;
  bool paintsOwnShape_ = false;  // the shape limits input only: corners painted transparent
  double widthTwips_ = 0.0;
  double heightTwips_ = 0.0;
  double twipsPerPixelX_;
  double twipsPerPixelY_;
  QPixmap picture_;
  QRegion region_;
  QRegion frameRegion_;
  QColor frameColour_;
  QEventLoop* modalLoop_ = nullptr;
  std::vector<Timer*> timers_;
  const QWidget* lastFocus_ = nullptr;
  bool keyFromKeypad_ = false;
};

// Mouse buttons of a Qt event as a mask.
int ButtonMask(Qt::MouseButtons buttons);

// Some window managers (Openbox) give the keyboard to no window at all when a window kept out of
// the task bar goes, and override an activation asked for at once: a moment later, the first of
// `windows` still shown takes the keyboard back, unless the user has gone to another window of
// the program meanwhile.
void GiveKeyboardBackLater(std::vector<QPointer<QWidget>> windows);

}  // namespace platform
