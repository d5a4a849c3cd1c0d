#pragma once

namespace amounts {

// Which way Tab/Down (Next) or Shift+Tab/Up (Previous) moves a selection.
enum class Direction { Next, Previous };

}  // namespace amounts
