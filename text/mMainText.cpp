#include "text/mMainText.h"

namespace mMain {

std::string StripAtNull(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }
std::u16string StripAtNull(std::u16string_view s) {
  return std::u16string(s.substr(0, s.find(u'\0')));
}

std::string CommaToDot(std::string_view s) {
  std::string result(s);
  if (const auto comma = result.find(','); comma != std::string::npos) result[comma] = '.';
  return result;
}

}  // namespace mMain
