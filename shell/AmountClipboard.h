#pragma once

#include "platform/services/Clipboard.h"

namespace clipboard {

enum class KeyDone { NotAClipboardKey, Done, RowsChanged };

// A clipboard key in a converter window. Copy puts the selected row's text, as shown, on the
// clipboard and changes nothing else: a running entry goes on. Paste hands the clipboard's text to
// the model, which takes it as an amount typed into the selected row or refuses it whole.
template <typename Model, typename Rows>
KeyDone AmountClipboardKey(Model& model, const Rows& rowLabels, int keyCode, int shift,
                           bool fromKeypad) {
  switch (platform::ClipboardKey(keyCode, shift, fromKeypad)) {
    case platform::ClipboardKeyAction::Copy:
      platform::SetClipboardText(rowLabels[model.CurrentRow()]->Caption());
      return KeyDone::Done;
    case platform::ClipboardKeyAction::Paste:
      return model.PasteAmount(platform::ClipboardText().toStdString()) ? KeyDone::RowsChanged
                                                                        : KeyDone::Done;
    case platform::ClipboardKeyAction::None:
      break;
  }
  return KeyDone::NotAClipboardKey;
}

}  // namespace clipboard
