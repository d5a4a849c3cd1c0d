#include "about/Marquee.h"

namespace about {

float MarqueeStep(float left, float width, float clientWidth) {
  left -= kMarqueeStep;
  return left < kMarqueeEndX - width ? clientWidth : left;
}

std::string MarqueeCaption(std::string_view description, std::string_view legalNotice,
                           std::string_view licenceLine) {
  constexpr std::string_view kSeparator = "   -   ";
  std::string caption;
  caption.reserve(description.size() + legalNotice.size() + licenceLine.size() +
                  2 * kSeparator.size());
  caption.append(description).append(kSeparator);
  caption.append(legalNotice).append(kSeparator);
  caption.append(licenceLine);
  return caption;
}

}  // namespace about
