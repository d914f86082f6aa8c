#include "util/Text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tvk {
namespace {

TEST(ReplaceAll, ScansLeftToRightWithoutOverlap) {
  struct Case { const char* text; const char* from; const char* to; const char* want; };
  const Case cases[] = {
      {"aaa", "aa", "b", "ba"},
      {"a\r\nb\r\n", "\r\n", "┊*┊", "a┊*┊b┊*┊"},
      {"abc", "", "x", "abc"},
      {"", "a", "b", ""},
      {"TavrelTavrel", "Tavrel", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.want) << c.text;
}

TEST(SplitAll, KeepsEmptyPieces) {
  EXPECT_EQ(SplitAll("a|b||c", "|"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(SplitAll("", "|"), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitAll("x[#T#]", "[#T#]"), (std::vector<std::string>{"x", ""}));
}

TEST(NumberText, WholeNumbersHaveNoDecimalPoint) {
  struct Case { double value; const char* want; };
  const Case cases[] = {{0, "0"}, {12, "12"}, {-3, "-3"}, {1.5, "1.5"}, {0.1, "0.1"}, {1e6, "1000000"}};
  for (const Case& c : cases) EXPECT_EQ(NumberText(c.value), c.want);
}

TEST(ParseNumber, TakesTheLeadingNumber) {
  struct Case { const char* text; double want; };
  const Case cases[] = {
      {"12", 12},     {"1.9", 1.9},  {"  -4", -4}, {"+7", 7},   {"3abc", 3}, {"abc", 0},
      {"", 0},        {".5", 0.5},   {"1e3", 1000}, {"1e", 1},  {"-", 0},    {"真", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ParseNumber(c.text), c.want) << c.text;
  EXPECT_TRUE(std::isinf(ParseNumber("1e999")));
}

TEST(TruncateToInt, TowardZeroAndClamped) {
  EXPECT_EQ(TruncateToInt(1.9), 1);
  EXPECT_EQ(TruncateToInt(-1.9), -1);
  EXPECT_EQ(TruncateToInt(1e300), 2147483647);
  EXPECT_EQ(TruncateToInt(-1e300), -2147483647 - 1);
  EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

}  // namespace
}  // namespace tvk
