// Clefs, key and time signatures and special bar glyphs, on a recording surface.
#include "notecraft/view/clefsandbars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "view_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

using ClefsAndBars = ViewFixture;

constexpr int kX = 1500;

TEST_F(ClefsAndBars, ClefsStandOnTheirLinesAndAdvanceX) {
  struct Case {
    int clef;
    std::string glyph;
    int lift;  // line spaces above the anchor of the bottom line
  };
  const Case cases[] = {
      {clfTreble, "&", 0}, {clfGrand, "&", 0},  {clfBass, "?", 0},
      {clfAlto, "B", 0},   {clfTenor, "B", 1},  {clfPercussion, "\xD6", 0},
      {99, "&", 0},  // any other value: treble
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clef);
    surface.ClearRecord();
    surface.SetForeColor(0);
    int x = kX;
    DrawClef(dc, c.clef, x, kY);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, c.glyph);
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{kX, Snap(kY - c.lift * S)}));
    EXPECT_EQ(texts[0].Color, dc.ColorBars());
    EXPECT_EQ(x, kX + Width(c.glyph));
    EXPECT_EQ(surface.ForeColor(), dc.ColorBars());  // left set for what follows
  }
}

TEST_F(ClefsAndBars, KeySignaturesPlaceEachAccidentalOnItsLineForEveryKeyAndClef) {
  // Heights in half spaces above the bottom line of the seven accidentals in signature
  // order: flats B E A D G C F, sharps F C G D A E B.
  struct Case {
    int clef;
    std::vector<int> flats, sharps;
  };
  const Case cases[] = {
      {clfTreble, {4, 7, 3, 6, 2, 5, 1}, {8, 5, 9, 6, 3, 7, 4}},
      {clfGrand, {4, 7, 3, 6, 2, 5, 1}, {8, 5, 9, 6, 3, 7, 4}},
      {clfPercussion, {4, 7, 3, 6, 2, 5, 1}, {8, 5, 9, 6, 3, 7, 4}},
      // Bass: the last flat (F) below the staff; the first sharp on the fourth line.
      {clfBass, {2, 5, 1, 4, 0, 3, -1}, {6, 3, 7, 4, 1, 5, 2}},
      {clfAlto, {3, 6, 2, 5, 1, 4, 0}, {7, 4, 8, 5, 2, 6, 3}},
      // Tenor: the first sharp half a line space above the top line.
      {clfTenor, {5, 8, 4, 7, 3, 6, 2}, {9, 6, 10, 7, 4, 8, 5}},
  };
  for (const Case& c : cases) {
    for (int key = -7; key <= 7; ++key) {
      SCOPED_TRACE("clef " + std::to_string(c.clef) + " key " + std::to_string(key));
      surface.ClearRecord();
      int x = kX;
      DrawKeySignature(dc, key, c.clef, x, kY);
      const auto texts = Texts();
      const int count = key < 0 ? -key : key;
      ASSERT_EQ(static_cast<int>(texts.size()), count);
      for (int n = 0; n < count; ++n) {
        const auto& op = texts[static_cast<std::size_t>(n)];
        const int halves = (key < 0 ? c.flats : c.sharps)[static_cast<std::size_t>(n)];
        EXPECT_EQ(op.Text, key < 0 ? "b" : "#");
        EXPECT_EQ(op.Points[0], (SurfacePoint{Snap(kX + S + n * S), Snap(kY - halves * S / 2)}))
            << "accidental " << n + 1;
        EXPECT_EQ(op.Color, dc.ColorBars());
      }
      EXPECT_EQ(x, key == 0 ? kX : kX + S + count * S);
    }
  }
}

TEST_F(ClefsAndBars, TimeSignatures) {
  struct Case {
    const char* name;
    int packed;
    std::vector<std::string> glyphs;  // unit then numerator, or the symbol
    std::vector<int> lift;            // line spaces above the bottom line's anchor
  };
  const Case cases[] = {
      {"common time", 0, {"c"}, {0}},
      {"cut time", 1, {"C"}, {0}},
      {"4/4", 528, {"4", "4"}, {1, 3}},
      {"6/8", 776, {"8", "6"}, {1, 3}},
      {"3/2", 3 * 128 + 32, {"2", "3"}, {1, 3}},
      {"2/1", 2 * 128 + 64, {"1", "2"}, {1, 3}},
      {"3/16 shows a quarter as its unit", 388, {"4", "3"}, {1, 3}},
      {"12/8 has no glyph", 12 * 128 + 8, {}, {}},
      {"no beats", 32, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    surface.SetForeColor(RGB(7, 7, 7));
    DrawTimeSignature(dc, c.packed, kX, kY);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), c.glyphs.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i].Text, c.glyphs[i]);
      EXPECT_EQ(texts[i].Points[0], (SurfacePoint{Snap(kX + S), Snap(kY - c.lift[i] * S)}));
      EXPECT_EQ(texts[i].Color, dc.ColorBars());
    }
    EXPECT_EQ(surface.ForeColor(), RGB(7, 7, 7));
  }
}

TEST_F(ClefsAndBars, BarGlyphsAlignAtTheBarAndJoinTheStavesAbove) {
  struct Case {
    const char* name;
    int kind;
    std::string full, continuation;
    bool right;
  };
  const Case cases[] = {
      {"repeat begin", evtRepeatBegin, "\xD2{", "\xD2", false},
      {"repeat end", evtRepeatEnd, "{\xD3", "\xD3", true},
      {"section end", evtSectionEnd, "[", "[", true},
      {"score end", evtScoreEnd, "\xD3", "\xD3", true},
  };
  constexpr int kBar = 5000, kOffset = 30;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Alone on its staff: only the full glyph.
    surface.ClearRecord();
    int x = kBar;
    DrawBarGlyph(dc, c.kind, kOffset, kY, x, 0);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    const int glyphX = c.right ? kBar - Width(c.full) : kBar;
    EXPECT_EQ(texts[0].Text, c.full);
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(glyphX + kOffset), Snap(kY)}));
    EXPECT_EQ(x, c.right ? kBar - Width(c.full) : kBar + Width(c.full));

    // Joined to a staff 1300 twips above: continuations every staff height less a pixel,
    // from the join top down to this staff's anchor.
    surface.ClearRecord();
    x = kBar;
    DrawBarGlyph(dc, c.kind, kOffset, kY, x, kY - 1300);
    texts = Texts();
    ASSERT_EQ(texts.size(), 4u);  // the full glyph, then at -1300, -739 and -178
    const int joinX = c.right ? kBar - Width(c.continuation) : kBar;
    for (int i = 1; i < 4; ++i) {
      EXPECT_EQ(texts[static_cast<std::size_t>(i)].Text, c.continuation);
      EXPECT_EQ(texts[static_cast<std::size_t>(i)].Points[0],
                (SurfacePoint{Snap(joinX + kOffset), Snap(kY - 1300 + (i - 1) * (L - kPx))}));
    }
  }
}

TEST_F(ClefsAndBars, BarGlyphsPutTheForeColourBackAndIgnoreOtherKinds) {
  surface.SetForeColor(RGB(5, 6, 7));
  int x = 5000;
  DrawBarGlyph(dc, evtTie, 0, kY, x, 100);
  EXPECT_TRUE(surface.Ops().empty());
  EXPECT_EQ(x, 5000);
  DrawBarGlyph(dc, evtRepeatEnd, 0, kY, x, 100);
  EXPECT_EQ(surface.ForeColor(), RGB(5, 6, 7));
  EXPECT_EQ(Texts()[0].Color, dc.ColorBars());
}

TEST_F(ClefsAndBars, TheContinuationStepHasAFloorOnATinyStaff) {
  // A tiny staff never gives a step of zero or less: the loop always moves on.
  dc.SetStaffUnit(1);
  int x = 5000;
  DrawBarGlyph(dc, evtScoreEnd, 0, 1000, x, 940);
  EXPECT_EQ(Texts().size(), 1u + 4u);  // 940, 955, 970 and 985, one pixel apart
}

}  // namespace
}  // namespace notecraft
