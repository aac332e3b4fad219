#include "notecraft/core/cp1252.h"

#include <gtest/gtest.h>

namespace notecraft {
namespace {

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, DecodesTheHighRange) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Cp1252ToUtf8("caf\xE9"), "caf\u00E9");
  EXPECT_EQ(Cp1252ToUtf8("\x93q\x94"), "\u201Cq\u201D");
  EXPECT_EQ(Cp1252ToUtf8("\xFE\xFF"), "\u00FE\u00FF");
}

TEST(Cp1252, UnmappableAndMalformedTextBecomesTheReplacement) {
  EXPECT_EQ(Utf8ToCp1252("\u266F sharp"), "? sharp");   // no byte for the sharp sign
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x8E\xB5"), "?");      // a four-byte character
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");                // cut short
  EXPECT_EQ(Utf8ToCp1252("a\x80z"), "a?z");              // a stray continuation byte
  EXPECT_EQ(Utf8ToCp1252("\u20AC", '_'), "\x80");
  EXPECT_EQ(Utf8ToCp1252("\u4E2D", '_'), "_");
}

}  // namespace
}  // namespace notecraft
