#pragma once

#include <QString>
#include <QSystemTrayIcon>
#include <cstdint>

#include "platform/forms/Form.h"
#include "platform/services/NotifyIcon.h"

// The main window's notification-area icon, and the handler that answers its activations.
namespace mSysTray {

inline constexpr std::uint32_t kIconId = 61860;
inline constexpr int kTipLength = 64;

// The icon's record, held by the main window (and left where it is) from AddTrayIcon to
// RemoveTrayIcon; and the window the icon's activations reach, from HookWindow to UnhookWindow.
struct TrayIcon {
  platform::NotifyIconData data;
  platform::Form* hooked = nullptr;
};

// The tip field: the caption and one NUL, blank-filled to 64 characters. A longer caption is cut
// so that the NUL still fits: a tip without its terminator would run on into whatever follows.
QString TipField(const QString& caption);

void AddTrayIcon(platform::NotificationArea& area, platform::Form& window, TrayIcon& record);
void RemoveTrayIcon(platform::NotificationArea& area, const TrayIcon& record);

// From HookWindow on, the icon's activations reach TrayWndProc with the window; UnhookWindow ends
// that.
void HookWindow(TrayIcon& record, platform::Form& window);
void UnhookWindow(TrayIcon& record);

// Shows and activates the window for a double-click on the icon (what a StatusNotifierItem host's
// one activation stands for): a window already shown is brought to the front again, never
// hidden. Any other activation, or none hooked, does nothing.
void TrayWndProc(platform::Form* hWnd, QSystemTrayIcon::ActivationReason reason);

}  // namespace mSysTray
