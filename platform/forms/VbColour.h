#pragma once

#include <QColor>
#include <cstdint>

namespace platform {

// Colours as the original layouts write them: &H00BBGGRR, or &H800000nn for system colour nn.
using VbColour = std::uint32_t;

inline constexpr VbColour kVbBlack = 0x00000000;
inline constexpr VbColour kVbButtonFace = 0x8000000F;
inline constexpr VbColour kVbWindowBackground = 0x80000005;

// A plain &H00BBGGRR value as a QColor (system colours are not resolved here).
QColor ColourFromBgr(VbColour bgr);

// The stand-in for OleTranslateColor: resolves a plain or system colour to &H00BBGGRR.
// Returns false, leaving `rgb` untouched, for a value it cannot translate.
bool TranslateColour(VbColour colour, VbColour& rgb);

}  // namespace platform
