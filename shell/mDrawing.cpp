#include "shell/mDrawing.h"

namespace mDrawing {

platform::VbColour ResolveColour(platform::VbColour colour) {
  platform::VbColour result = 0;
  platform::TranslateColour(colour, result);
  return result;
}

}  // namespace mDrawing
