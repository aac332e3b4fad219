#include <gtest/gtest.h>

#include "harmonygrid/core/textutil.h"

namespace harmonygrid {
namespace {

TEST(TextUtil, Cp1252DecodesEveryByte) {
  EXPECT_EQ(Cp1252ToUtf8("Am7"), "Am7");
  EXPECT_EQ(Cp1252ToUtf8("\x80\x96\xB0\xE9\xFF"), "\u20AC\u2013\u00B0\u00E9\u00FF");
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\u0081\u009D");  // unassigned bytes keep their number
  EXPECT_EQ(Cp1252ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextUtil, UpperCaseCoversTheLettersOfWindows1252) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"cmaj7/b", "CMAJ7/B"},
      {"\u00E9\u00E0\u00FE", "\u00C9\u00C0\u00DE"},
      {"\u00F7\u00DF", "\u00F7\u00DF"},  // the division sign and sharp s have no capital here
      {"\u00FF\u0161\u0153\u017E", "\u0178\u0160\u0152\u017D"},
      {"\u20AC\u03B1", "\u20AC\u03B1"},  // other characters are kept
      {"x\xC3", "X\xC3"},                // a cut-off sequence passes through
      {"\xFF\xFEq", "\xFF\xFEQ"},        // so do bytes that are not UTF-8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(UpperCase(c.in), c.out);
  }
}

TEST(TextUtil, TrimSpacesKeepsTabs) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace harmonygrid
