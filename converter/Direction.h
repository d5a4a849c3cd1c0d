#pragma once

namespace converter {

// Which way Tab/Down (Next) or Shift+Tab/Up (Previous) moves a selection.
enum class Direction { Next, Previous };

}  // namespace converter
