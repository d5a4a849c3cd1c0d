#pragma once

#include <QString>
#include <cstdint>

#include "platform/forms/Form.h"
#include "platform/services/NotifyIcon.h"

// The main window's notification-area icon, and the window procedure that answers it.
namespace mSysTray {

inline constexpr std::uint32_t kRecordSize = 88;
inline constexpr std::uint32_t kIconId = 61860;
inline constexpr std::uint32_t kCallbackMessage = 1066;  // the first user message + 42
inline constexpr int kTipLength = 64;

// The record that describes the icon, kept from AddTrayIcon to RemoveTrayIcon.
using TrayIcon = platform::NotifyIconData;

// The tip field: the caption and one NUL, blank-filled to 64 characters. A longer caption is cut
// so that the NUL still fits: a tip without its terminator would run on into whatever follows.
QString TipField(const QString& caption);

void AddTrayIcon(platform::NotificationArea& area, platform::Form& window, TrayIcon& record);
void RemoveTrayIcon(platform::NotificationArea& area, const TrayIcon& record);

// Installs TrayWndProc as the window's procedure, keeping the one it replaces; UnhookWindow
// puts that one back. Only one window is ever hooked.
void HookWindow(platform::Form*& hWnd);
void UnhookWindow(platform::Form*& hWnd);

// Shows and activates the window for a left double-click on the icon; every message then goes
// on to the previous procedure.
std::intptr_t TrayWndProc(platform::Form* hWnd, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam);

}  // namespace mSysTray
