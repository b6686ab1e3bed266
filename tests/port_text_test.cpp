#include "port_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace {

struct PortCase {
  std::string_view text;
  std::int32_t expected;
};

constexpr PortCase kPortCases[] = {
    {"3306", 3306},
    {"   3306", 3306},
    {"+3306", 3306},
    {"  -1", -1},
    {"0", 0},
    {"70000", 70000},
    {"$CEB", 0xCEB},
    {"$cea", 0xCEA},
    {"x10", 16},
    {"X10", 16},
    {"0x10", 16},
    {"0XfF", 255},
    {"-$1", -1},
    {"$FFFFFFFF", -1},
    {"$80000000", INT32_MIN},
    {"$000000001", 1},
    {"2147483647", INT32_MAX},
    {"-2147483648", INT32_MIN},
    // Everything else falls back to 3306.
    {"", 3306},
    {" ", 3306},
    {"3307 ", 3306},
    {"abc", 3306},
    {"33a", 3306},
    {"2147483648", 3306},
    {"-2147483649", 3306},
    {"99999999999999999999", 3306},
    {"$100000000", 3306},
    {"$", 3306},
    {"0x", 3306},
    {"-", 3306},
    {"+-1", 3306},
    {"- 1", 3306},
    {"\t3307", 3306},
    {"$G", 3306},
    {"3,306", 3306},
    {"３３０７", 3306},  // full-width digits are not digits here
};

TEST(ReadPort, FollowsTheRulesOfThePortField) {
  for (const auto& c : kPortCases) {
    EXPECT_EQ(repair::ReadPort(c.text), c.expected) << "port text \"" << c.text << "\"";
  }
}

}  // namespace
