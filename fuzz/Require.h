// The one way a fuzz target reports a broken property: a plain message, then abort(), which
// libFuzzer records as a crash and keeps the input for.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

inline void Require(bool holds, std::string_view property, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "\nproperty broken: %.*s\n  %.*s\n", static_cast<int>(property.size()),
               property.data(), static_cast<int>(detail.size()), detail.data());
  std::abort();
}

}  // namespace fuzz
