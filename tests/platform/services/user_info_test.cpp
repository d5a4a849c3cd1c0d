#include <gtest/gtest.h>

#include <string>

#include "platform/services/UserInfo.h"

namespace {

using namespace std::string_literals;

TEST(UserInfo, FullNameIsTheFirstFieldOfGecos) {
  struct Case {
    std::string gecos;
    std::string name;
  } cases[] = {
      {"Jean Dupont,Bureau 12,01 23 45 67 89,,", "Jean Dupont"},
      {"Jean Dupont", "Jean Dupont"},
      {"Hélène Lefèvre-Dubois,", "Hélène Lefèvre-Dubois"},
      {"", ""},
      {",,,", ""},
      {"   ,Bureau 12", ""},
      {" \t ", ""},
      {"Jean\0Dupont,x"s, "Jean"},
      {"\0Jean"s, ""},
      {" Jean ", " Jean "},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::FullNameFromGecos(c.gecos), c.name) << c.gecos;
}

}  // namespace
