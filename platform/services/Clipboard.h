#pragma once

#include <QString>

namespace platform {

// What a key does to the clipboard in a window that copies and pastes its amounts.
enum class ClipboardKeyAction { None, Copy, Paste };

// Ctrl+C and Ctrl+Insert copy, Ctrl+V and Shift+Insert paste; with any other modifier, and for
// the keypad's Insert (its 0 with NumLock off), the key is not a clipboard key.
ClipboardKeyAction ClipboardKey(int keyCode, int shift, bool fromKeypad);

// The desktop's clipboard (on X11 the CLIPBOARD selection): its text, empty when it holds none,
// and replacing it with a text.
QString ClipboardText();
void SetClipboardText(const QString& text);

}  // namespace platform
