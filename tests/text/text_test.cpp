#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/mMainText.h"

namespace {

using namespace std::string_literals;

struct TextCase {
  std::string input;
  std::string expected;
};

TEST(StripAtNull, CutsAtTheFirstNul) {
  const TextCase cases[] = {
      {"C:\\Temp", "C:\\Temp"},       {""s, ""},         {"\0abc"s, ""},
      {"C:\\Temp\0   "s, "C:\\Temp"}, {"a\0b\0c"s, "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mMain::StripAtNull(c.input), c.expected) << "input size " << c.input.size();
  }
}

TEST(CommaToDot, ReplacesOnlyTheFirstComma) {
  const TextCase cases[] = {
      {"125", "125"}, {"", ""}, {"0,", "0."}, {"12,5", "12.5"}, {"1,2,3", "1.2,3"}, {",", "."},
  };
  for (const auto& c : cases) EXPECT_EQ(mMain::CommaToDot(c.input), c.expected) << c.input;
}

}  // namespace
