#pragma once

#include <string>
#include <string_view>

namespace mMain {

// The part of s before its first NUL character, or all of s when it holds none. Texts that the
// platform fills into fixed-size buffers are cut this way.
std::string StripAtNull(std::string_view s);
std::u16string StripAtNull(std::u16string_view s);

// s with its first "," replaced by "."; later commas are kept.
std::string CommaToDot(std::string_view s);

}  // namespace mMain
