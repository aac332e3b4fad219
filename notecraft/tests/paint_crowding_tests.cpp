// Measures with more notes than their usual width holds (one place a staff height wide):
// the line takes only the measures whose glyphs it can draw clear, so that rests, signs and
// chords of a crowded measure never run into each other. Checked on the ink of the recorded
// drawing.
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "ink_fixtures.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {
namespace {

using namespace testing;

class Crowding : public EditFixture {
public:
  // The music glyphs drawn on band's staff, in drawing order.
  std::vector<SurfaceOp> Glyphs(int band) {
    const Region& b = Band(band);
    std::vector<SurfaceOp> found;
    for (const SurfaceOp& op : surface.Ops()) {
      if (op.What != SurfaceOp::Kind::Text || op.Font.Name != "Veltrimond" || op.Text.empty())
        continue;
      const InkArea ink = OpBox(op);
      if (ink.Left > b.Left() && ink.Bottom >= b.Top() && ink.Top <= b.Bottom())
        found.push_back(op);
    }
    return found;
  }
  static bool Meet(const InkArea& a, const InkArea& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
  }
  static std::string Describe(const SurfaceOp& op) {
    const InkArea ink = OpBox(op);
    return "'" + op.Text + "' [" + std::to_string(ink.Left) + "," + std::to_string(ink.Top) +
           " - " + std::to_string(ink.Right) + "," + std::to_string(ink.Bottom) + "]";
  }
  // Fails for every glyph of glyphs that is one of kinds and meets another glyph.
  static void ExpectClear(const std::vector<SurfaceOp>& glyphs, const std::string& kinds) {
    int checked = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      if (kinds.find(glyphs[i].Text[0]) == std::string::npos) continue;
      ++checked;
      for (std::size_t j = 0; j < glyphs.size(); ++j) {
        if (j == i) continue;
        EXPECT_FALSE(Meet(OpBox(glyphs[i]), OpBox(glyphs[j])))
            << Describe(glyphs[i]) << " meets " << Describe(glyphs[j]);
      }
    }
    EXPECT_GT(checked, 0);
  }

  // Measures of 3/4 as a played swing part gives them: an eighth and a 32nd rest, a dotted
  // sixteenth chord of sharps with a second late in the first beat, then in the next two
  // beats a triplet chord and a dotted sixteenth, each a triplet's third late.
  void SwingMeasures(int measures) {
    score.AllGlobals().Remove(0, evtTimeChange);
    score.AllGlobals().Add(0, evtTimeChange, 3, durQuarter);
    auto& notes = VoiceOf(1)->Notes();
    for (int m = 0; m < measures; ++m) {
      const int t = 48 * m;
      auto chord = [&](int at, int duration, int flags, std::vector<int> pitches) {
        auto note = notes.Add(at, pitches[0], duration, flags);
        for (std::size_t k = 1; k < pitches.size(); ++k) note->AddValue(pitches[k]);
      };
      chord(t + 10, durSixteenth, nteDot, {66, 68, 73});
      chord(t + 16, durEighth, nteTriplet | nteDot, {70, 72, 76});
      chord(t + 26, durSixteenth, nteDot, {67});
      chord(t + 32, durEighth, nteTriplet | nteDot, {66, 68, 73});
      chord(t + 42, durSixteenth, nteDot, {67});
    }
  }
};

const std::string kRests = {glyph::EighthRest, glyph::SixteenthRest, glyph::ThirtySecondRest,
                            glyph::QuarterRest};
const std::string kSigns = {glyph::Sharp, glyph::Flat, glyph::Natural};

TEST_F(Crowding, RestsOfACrowdedMeasureEachStandClear) {
  // GIVEN measures too full for their usual width, a short rest right before a chord's signs
  SwingMeasures(12);
  // WHEN the page is painted
  Paint();
  // THEN every rest stands apart from the other rests and from every sign, head and stem
  ExpectClear(Glyphs(1), kRests);
}

TEST_F(Crowding, ChordsWithSignsInACrowdedMeasureDoNotTouch) {
  SwingMeasures(12);
  Paint();
  // Every sign keeps clear of the chord before it and of its own chord's heads.
  ExpectClear(Glyphs(1), kSigns);
  // The line holds fewer of these measures than their usual widths would give it, and the
  // page painted holds what the layout took.
  EXPECT_LT(Band(1).Measures(), 6);
  EXPECT_GT(Band(1).Measures(), 0);
}

}  // namespace
}  // namespace notecraft
