#include "shell/mSysTray.h"

#include <QApplication>
#include <QWidget>

namespace mSysTray {

namespace {
platform::WindowProc PrevWndProc = nullptr;

// Brings the top-level window with this title to the front with the keyboard focus.
void AppActivate(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == title) {
      if (widget->isMinimized()) widget->showNormal();
      widget->raise();
      widget->activateWindow();
      return;
    }
  }
}
}  // namespace

QString TipField(const QString& caption) {
  QString tip = caption.left(kTipLength - 1);
  tip += QChar(u'\0');
  return tip.leftJustified(kTipLength, QLatin1Char(' '));
}

void AddTrayIcon(platform::NotificationArea& area, platform::Form& window, TrayIcon& record) {
  record.cbSize = kRecordSize;
  record.hWnd = &window;
  record.uID = kIconId;
  record.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
  record.uCallbackMessage = kCallbackMessage;
  record.hIcon = window.windowIcon();
  record.szTip = TipField(window.Caption());
  area.Shell_NotifyIcon(platform::NIM_ADD, record);
}

void RemoveTrayIcon(platform::NotificationArea& area, const TrayIcon& record) {
  area.Shell_NotifyIcon(platform::NIM_DELETE, record);
}

void HookWindow(platform::Form*& hWnd) {
  // Hooked twice, the previous procedure would become TrayWndProc itself, which would then call
  // itself for ever.
  if (hWnd->CurrentWindowProc() == &TrayWndProc) return;
  PrevWndProc = hWnd->SetWindowProc(&TrayWndProc);
}

void UnhookWindow(platform::Form*& hWnd) { hWnd->SetWindowProc(PrevWndProc); }

std::intptr_t TrayWndProc(platform::Form* hWnd, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
  if (wParam == kIconId && lParam == platform::WM_LBUTTONDBLCLK) {
    hWnd->setVisible(true);
    AppActivate(hWnd->Caption());
  }
  return platform::CallWindowProc(PrevWndProc, hWnd, message, wParam, lParam);
}

}  // namespace mSysTray
