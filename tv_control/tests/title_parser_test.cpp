#include <gtest/gtest.h>

#include <string>

#include "title_parser.h"

namespace korvid {
namespace {

TEST(TitleParser, TakesTheNumberOffTheEndAndTrimsTheName) {
  const struct {
    std::string rest;  // what follows the prefix
    std::int32_t number;
    std::string name;
  } cases[] = {
      {" News (12)", 12, "News"},
      {"Sport   (7)", 7, "Sport"},
      {" Movie", 0, "Movie"},
      {" Movie 5)", 0, "Movie"},  // no "(": the digits and ")" go, the number is 0
      {" Movie ()", 0, "Movie"},
      {" (3)", 3, ""},
      {"", 0, ""},  // only the prefix
      {")", 0, ""},
      {"(42)", 42, ""},
      {"   ", 0, ""},              // blanks alone are leading blanks
      {" Movie  ", 0, "Movie  "},  // trailing blanks stay when there is no ")"
      {" Arte (007)", 7, "Arte"},
      {" Big (2147483647)", 2147483647, "Big"},
      {" Bigger (2147483648)", 2147483647, "Bigger"},
      {" Huge (99999999999999999999999)", 2147483647, "Huge"},
      {" A (1) (2)", 2, "A (1)"},
      {" A(1)", 1, "A"},
      {" A\t(1)", 1, "A\t"},   // only the space is a blank
      {" A (x1)", 0, "A (x"},  // the walk stays on the "x"
      {" 12)", 0, ""},         // digits down to the blank after the prefix
      {"123)", 0, ""},         // the walk stops at the prefix's "-"
      {"  Zwei  Worte (5)", 5, "Zwei  Worte"},
  };
  for (const auto& c : cases) {
    const std::string title = "The Korvid -" + c.rest;
    const ParsedTitle parsed = ParseTitle(title);
    EXPECT_EQ(parsed.number, c.number) << title;
    EXPECT_EQ(parsed.name, c.name) << title;
  }
}

TEST(TitleParser, ALongTitleKeepsItsWholeName) {
  // 254 characters, as many as a title read from a window can hold.
  const std::string name(254 - 12 - 5, 'N');
  const std::string title = "The Korvid -" + name + " (99)";
  ASSERT_EQ(title.size(), 254u);
  const ParsedTitle parsed = ParseTitle(title);
  EXPECT_EQ(parsed.number, 99);
  EXPECT_EQ(parsed.name, name);
}

TEST(TitleParser, PrefixIsComparedWithoutCaseOverItsLength) {
  EXPECT_TRUE(HasTitlePrefix("The Korvid -"));
  EXPECT_TRUE(HasTitlePrefix("THE KORVID - News (1)"));
  EXPECT_TRUE(HasTitlePrefix("the korvid -x"));
  EXPECT_FALSE(HasTitlePrefix("The Korvid"));
  EXPECT_FALSE(HasTitlePrefix("The Korvid  -"));
  EXPECT_FALSE(HasTitlePrefix(" The Korvid -"));
  EXPECT_FALSE(HasTitlePrefix(""));
}

TEST(TitleParser, ShortTextsWithoutThePrefixStayInside) {
  for (const char* title : {"", ")", "()", "(1)", " )", "abc"}) {
    const ParsedTitle parsed = ParseTitle(title);
    EXPECT_TRUE(parsed.name.empty()) << title;
    EXPECT_EQ(parsed.number, 0) << title;
  }
}

}  // namespace
}  // namespace korvid
