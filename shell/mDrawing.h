#pragma once

#include "platform/forms/VbColour.h"

namespace mDrawing {

// A colour that may name a system colour as a plain &H00BBGGRR value; black when it cannot be
// translated.
platform::VbColour ResolveColour(platform::VbColour colour);

}  // namespace mDrawing
