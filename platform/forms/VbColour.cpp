#include "platform/forms/VbColour.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

QColor ColourFromBgr(VbColour bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

namespace {
// The Windows system colour indices that have a counterpart in a Qt palette.
bool SystemColour(unsigned index, QColor& out) {
  const QPalette palette = QGuiApplication::palette();
  switch (index) {
    case 5:  // window background
      out = palette.color(QPalette::Base);
      return true;
    case 8:  // window text
      out = palette.color(QPalette::Text);
      return true;
    case 15:  // button face
      out = palette.color(QPalette::Button);
      return true;
    case 18:  // button text
      out = palette.color(QPalette::ButtonText);
      return true;
    case 13:  // highlight
      out = palette.color(QPalette::Highlight);
      return true;
    case 14:  // highlighted text
      out = palette.color(QPalette::HighlightedText);
      return true;
    case 16:  // button shadow
      out = palette.color(QPalette::Dark);
      return true;
    case 20:  // button highlight
      out = palette.color(QPalette::Light);
      return true;
    default:
      return false;
  }
}
}  // namespace

bool TranslateColour(VbColour colour, VbColour& rgb) {
  const unsigned kind = colour >> 24;
  if (kind == 0x00) {
    rgb = colour;
    return true;
  }
  QColor resolved;
  if (kind != 0x80 || (colour & 0x00FFFF00) != 0 || !SystemColour(colour & 0xFF, resolved)) {
    return false;
  }
  rgb = static_cast<VbColour>(resolved.red()) | static_cast<VbColour>(resolved.green()) << 8 |
        static_cast<VbColour>(resolved.blue()) << 16;
  return true;
}

}  // namespace platform
