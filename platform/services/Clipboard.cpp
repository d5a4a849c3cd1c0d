#include "platform/services/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/forms/VirtualKeys.h"

namespace platform {

ClipboardKeyAction ClipboardKey(int keyCode, int shift, bool fromKeypad) {
  const bool insert = keyCode == vk::Insert && !fromKeypad;
  if (shift == kCtrlMask && (keyCode == 'C' || insert)) return ClipboardKeyAction::Copy;
  if ((shift == kCtrlMask && keyCode == 'V') || (shift == kShiftMask && insert)) {
    return ClipboardKeyAction::Paste;
  }
  return ClipboardKeyAction::None;
}

QString ClipboardText() { return QGuiApplication::clipboard()->text(QClipboard::Clipboard); }

void SetClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

}  // namespace platform
