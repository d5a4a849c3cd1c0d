#pragma once

#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "platform/VbColour.h"

class QEventLoop;

namespace platform {

class Form;

// A window procedure: every message the platform delivers to a form goes through the current one.
using WindowProc = std::intptr_t (*)(Form* hWnd, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// Passes a message to a given procedure and returns its result.
std::intptr_t CallWindowProc(WindowProc proc, Form* hWnd, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam);

// The procedure every form starts with: it handles nothing.
std::intptr_t DefWindowProc(Form* hWnd, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);

// Mouse buttons as the handlers receive them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// A borderless window whose geometry is kept in twips, which sees every key before its controls
// and raises the Load, Unload, KeyDown, Resize and mouse events of the original toolkit.
class Form : public QWidget {
 public:
  explicit Form(QWidget* parent = nullptr);
  ~Form() override;

  // Lifecycle. Load runs Form_Load once; Show loads if needed and shows modeless; ShowModal shows
  // this form owned by `owner` and returns once it is hidden or unloaded; Unload runs Form_Unload
  // and hides the window for good.
  void Load();
  void Show();
  void ShowModal(Form& owner);
  void Hide();
  void Unload();
  bool IsLoaded() const { return loaded_; }

  // Properties of the original toolkit.
  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption) { setWindowTitle(caption); }
  QString Tag;
  int WindowState() const;  // 0 normal, 1 minimised, 2 maximised
  void SetFormSize(double widthTwips, double heightTwips);
  double Width() const { return widthTwips_; }
  double Height() const { return heightTwips_; }
  // Moves the window to a position in screen twips; the size is unchanged.
  void Move(double leftTwips, double topTwips);
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

  // Regions, in pixels. A form shows and takes the mouse only inside its region.
  void SetWindowRegion(const QRegion& region);
  QRegion WindowRegion() const { return region_; }
  // A frame painted along the inside of a region every time the window is painted.
  void SetFrame(const QRegion& region, const QColor& colour, int strokeWidth, int strokeHeight);
  bool HasFrame() const { return !frameRegion_.isEmpty(); }

  // Mouse capture. While a button is held, Qt already sends every move and release to the widget
  // that took the press, and controls hand theirs to the same handlers as the form's: the
  // capture only needs to be remembered.
  void SetCapture() { captured_ = true; }
  void ReleaseCapture() { captured_ = false; }
  bool HasCapture() const { return captured_; }

  // The window procedure. SetWindowProc returns the previous one.
  WindowProc SetWindowProc(WindowProc proc);
  WindowProc CurrentWindowProc() const { return windowProc_; }
  std::intptr_t SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  // Raised for the handlers of a subclass; mouse coordinates are in twips from the top-left.
 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload() {}
  virtual void Form_KeyDown(int keyCode, int shift) {
    (void)keyCode;
    (void)shift;
  }
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
  void RaiseMouse(QMouseEvent* event, void (Form::*handler)(int, int, double, double));

  bool loaded_ = false;
  bool captured_ = false;
  bool everShown_ = false;
  bool showInTaskbar_ = false;
  double widthTwips_ = 0.0;
  double heightTwips_ = 0.0;
  double twipsPerPixelX_;
  double twipsPerPixelY_;
  QPixmap picture_;
  QRegion region_;
  QRegion frameRegion_;
  QColor frameColour_;
  WindowProc windowProc_ = &DefWindowProc;
  QEventLoop* modalLoop_ = nullptr;
};

// Mouse buttons of a Qt event as a mask.
int ButtonMask(Qt::MouseButtons buttons);

}  // namespace platform
