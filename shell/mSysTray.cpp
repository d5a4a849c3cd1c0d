#include "shell/mSysTray.h"

namespace mSysTray {

QString TipField(const QString& caption) {
  QString tip = caption.left(kTipLength - 1);
  tip += QChar(u'\0');
  return tip.leftJustified(kTipLength, QLatin1Char(' '));
}

void AddTrayIcon(platform::NotificationArea& area, platform::Form& window, TrayIcon& record) {
  record.data.hWnd = &window;
  record.data.uID = kIconId;
  record.data.hIcon = window.windowIcon();
  record.data.szTip = TipField(window.windowTitle());
  record.data.Activated = [&record](QSystemTrayIcon::ActivationReason reason) {
    TrayWndProc(record.hooked, reason);
  };
  area.Shell_NotifyIcon(platform::NIM_ADD, record.data);
}

void RemoveTrayIcon(platform::NotificationArea& area, const TrayIcon& record) {
  area.Shell_NotifyIcon(platform::NIM_DELETE, record.data);
}

void HookWindow(TrayIcon& record, platform::Form& window) { record.hooked = &window; }

void UnhookWindow(TrayIcon& record) { record.hooked = nullptr; }

void TrayWndProc(platform::Form* hWnd, QSystemTrayIcon::ActivationReason reason) {
  if (hWnd == nullptr || reason != QSystemTrayIcon::DoubleClick) return;
  hWnd->show();
  if (hWnd->isMinimized()) hWnd->showNormal();
  hWnd->raise();
  hWnd->activateWindow();
}

}  // namespace mSysTray
