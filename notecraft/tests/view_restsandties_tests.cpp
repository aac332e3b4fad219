// Rests of a measure's rhythm, ties between drawn notes, the tie curve and the triplet
// bracket.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/restsandties.h"
#include "view_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

// A 4/4 measure 3000 wide from x 1500, 45 twips a 64th after a padding of 300.
MeasureFrame Measure(int duration = 64, int index = 0) {
  MeasureFrame m;
  m.Start = 640;
  m.Duration = duration;
  m.Left = 1500;
  m.Width = 3000;
  m.Y = kY;
  m.TwipsPerUnit = 45;
  m.Pad = 300;
  m.Index = index;
  return m;
}

using Rests = ViewFixture;

// A rest of the measure's rhythm at a time (64ths from the measure's start), or its measure
// rest.
RhythmItem RestAt(int time, int value) {
  RhythmItem rest;
  rest.Rest = true;
  rest.Time = time;
  rest.Value = value;
  return rest;
}

TEST_F(Rests, EachRestStandsAtItsTimeWithTheGlyphOfItsValue) {
  struct Case {
    int value;
    std::string glyph;
  };
  const Case cases[] = {{32, "\xEE"}, {16, "\xCE"}, {8, "\xE4"}, {4, "\xC5"}, {2, "\xA8"},
                        {1, "\xA8"}};  // a sixty-fourth takes the thirty-second rest
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    surface.ClearRecord();
    const MeasureFrame m = Measure();
    EXPECT_EQ(DrawRest(dc, m, RestAt(20, c.value), 0), 1500 + 300 + 20 * 45);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, c.glyph);
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(1500 + 300 + 20 * 45), Snap(kY)}));
    EXPECT_EQ(texts[0].Color, dc.ColorNotes());  // the current fore colour
  }
  // Lifted off another voice's heads.
  surface.ClearRecord();
  DrawRest(dc, Measure(), RestAt(20, 16), 2 * S);
  EXPECT_EQ(Texts()[0].Points[0].Y, Snap(kY - 2 * S));
}

TEST_F(Rests, AnEmptyMeasureShowsOneCentredWholeMeasureRest) {
  struct Case {
    const char* name;
    int duration, index;
    std::string glyph;
  };
  const Case cases[] = {
      {"3/4", 48, 0, "\xB7"},
      {"2/4: the half-rest glyph", 32, 0, "\xEE"},
      {"4/4, fifth measure of the system", 64, 5, "\xB7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    const MeasureFrame m = Measure(c.duration, c.index);
    RhythmItem rest = RestAt(0, c.duration);
    rest.MeasureRest = true;
    DrawRest(dc, m, rest, 0);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, c.glyph);
    const int x = (3000 - 45 - 300 - c.index) / 2 - S + 1500 + 300;
    EXPECT_EQ(texts[0].Points[0].X, Snap(x));
  }
}

TEST_F(Rests, AChangeAtTheMeasuresStartMovesTheRests) {
  const MeasureFrame m = Measure(64, 2);
  dc.Symbols().SetShift(2, m.Start, 400);
  DrawRest(dc, m, RestAt(48, 16), 0);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].Points[0].X, Snap(1500 + 300 + 48 * 45 + 400));
  // Another measure's shift does not.
  surface.ClearRecord();
  DrawRest(dc, Measure(64, 1), RestAt(48, 16), 0);
  EXPECT_EQ(Texts()[0].Points[0].X, Snap(1500 + 300 + 48 * 45));
}

// --- Ties ---

class Ties : public ViewFixture {
protected:
  Ties() {
    staff = score.AllStaffs().AddStaff(Internal{}, "S1", "Staff");
    voice = staff->Voice(1);
  }
  // A note of voice 1 drawn at (x, y) with the given stem, as DrawNote records it.
  void Drawn(int time, int x, int y, bool up = false, bool multiVoice = false) {
    auto note = voice->Notes().Add(time, 67, durQuarter, 0);
    note->SetX(x);
    note->SetY(y);
    note->SetUp(up);
    note->SetMultiVoice(multiVoice);
    dc.Symbols().DrawnNotes.push_back({note.get(), x, y, up, multiVoice});
  }
  void Tie(int from, int to, std::string voiceNumber = "1") {
    staff->GlobalEvents().Add(from, evtTie, static_cast<std::uint8_t>(to / 256),
                              static_cast<std::uint8_t>(to % 256), std::move(voiceNumber));
  }
  void System(int start, int end, int right = 10000) {
    dc.Symbols().SystemStart = start;
    dc.Symbols().SystemEnd = end;
    dc.Symbols().SystemRight = right;
  }
  std::vector<SurfaceOp> Curves() const { return surface.Ops(SurfaceOp::Kind::PolyBezier); }
  // The curve's two ends, as drawn (whole pixels).
  static std::pair<SurfacePoint, SurfacePoint> Ends(const SurfaceOp& curve) {
    return {curve.Points.at(0), curve.Points.at(3)};
  }
  static SurfacePoint Pixel(int x, int y) {
    return {static_cast<int>(std::lround(x / 15.0)) * 15, static_cast<int>(std::lround(y / 15.0)) * 15};
  }
  // A tie meets a head a quarter space beyond its outer edge: a head is a space high, its
  // middle on the line the glyph stands on (four spaces and the baseline below its anchor
  // y); from three quarters into the first head to a quarter into the last.
  static int Above(int y) { return y + L + kBaseline - S / 2 - S / 4; }
  static int Below(int y) { return y + L + kBaseline + S / 2 + S / 4; }
  int Head() const { return surface.TextWidth(std::string(1, glyph::FilledHead)); }
  int From(int x) const { return x + Head() * 3 / 4; }
  int To(int x) const { return x + Head() / 4; }

  std::shared_ptr<Staff> staff;
  std::shared_ptr<Voice> voice;
};

TEST_F(Ties, ATieJoinsItsTwoNotes) {
  Drawn(0, 2000, 2400);
  Drawn(16, 3000, 2400);
  Tie(0, 16);
  System(0, 256);
  DrawTies(dc, staff->Index());
  ASSERT_EQ(Curves().size(), 1u);
  const auto curve = Curves()[0];
  EXPECT_EQ(curve.Points.size(), 7u);
  EXPECT_EQ(curve.Color, dc.ColorTies());
  EXPECT_EQ(Ends(curve), std::pair(Pixel(From(2000), Above(2400)), Pixel(To(3000), Above(2400))));
  EXPECT_EQ(curve.Points.back(), curve.Points.front());
}

TEST_F(Ties, AnUpStemOrAnUpperVoiceBendsTheTieBelow) {
  Drawn(0, 2000, 2400, /*up=*/true);
  Drawn(16, 3000, 2400);
  Tie(0, 16);
  System(0, 256);
  DrawTies(dc, staff->Index());
  ASSERT_EQ(Curves().size(), 1u);
  const auto [start, end] = Ends(Curves()[0]);
  EXPECT_EQ(start, Pixel(From(2000), Below(2400)));
  EXPECT_EQ(end, Pixel(To(3000), Below(2400)));
  EXPECT_GT(Curves()[0].Points[1].Y, start.Y);  // bending downwards
}

TEST_F(Ties, ATieAcrossASystemBreakRunsToTheSystemsEndAndIntoTheNextNote) {
  Drawn(48, 9000, 2400);
  Drawn(64, 2000, 5400);
  Tie(48, 64);

  System(0, 64, 11520);  // the first system ends before the tie's last note
  DrawTies(dc, staff->Index());
  System(64, 128);  // the next one starts after its first
  DrawTies(dc, staff->Index());

  ASSERT_EQ(Curves().size(), 2u);
  EXPECT_EQ(Ends(Curves()[0]), std::pair(Pixel(From(9000), Above(2400)), Pixel(11520, Above(2400))));
  EXPECT_EQ(Ends(Curves()[1]),
            std::pair(Pixel(To(2000) - 2 * S, Above(5400)), Pixel(To(2000), Above(5400))));
}

TEST_F(Ties, ATieFromThePreviousSystemBendsAwayFromItsLastNotesStem) {
  Drawn(64, 2000, 5400, /*up=*/true);
  Tie(48, 64);
  System(64, 128);
  DrawTies(dc, staff->Index());
  ASSERT_EQ(Curves().size(), 1u);
  const auto [start, end] = Ends(Curves()[0]);
  EXPECT_EQ(end, Pixel(To(2000), Below(5400)));
  EXPECT_GT(Curves()[0].Points[1].Y, start.Y);  // bending downwards, under the head
}

TEST_F(Ties, OnlyNotesDrawnOnThisStaffInThisPaintAreJoined) {
  // Notes with positions left from another drawing (another page, the other half of a
  // grand staff) but not drawn now: no tie, not even a stub.
  auto first = voice->Notes().Add(0, 48, durQuarter, 0);
  auto second = voice->Notes().Add(16, 48, durQuarter, 0);
  first->SetX(0);
  first->SetY(0);
  second->SetX(3000);
  second->SetY(2400);
  Tie(0, 16);
  System(0, 256);
  DrawTies(dc, staff->Index());
  EXPECT_TRUE(Curves().empty());
}

TEST_F(Ties, MissingNotesAndVoicesShortenOrSkipTheTie) {
  Drawn(0, 2000, 2400);
  Tie(0, 16);        // no note at 16: a stub after the first note
  Tie(32, 48);       // neither note: nothing
  Tie(0, 16, "3");   // no voice 3: nothing
  System(0, 256);
  DrawTies(dc, staff->Index());
  ASSERT_EQ(Curves().size(), 1u);
  EXPECT_EQ(Ends(Curves()[0]),
            std::pair(Pixel(From(2000), Above(2400)), Pixel(From(2000) + 2 * S, Above(2400))));
}

TEST_F(Ties, TiesEndingAMeasureBeforeTheSystemStopTheLookBack) {
  // The tie over 0..200 reaches into the system at 200, but the later tie over 10..20 ends
  // more than a measure before it, and the search back stops there.
  Drawn(0, 2000, 2400);
  Drawn(200, 3000, 2400);
  Tie(0, 200);
  Tie(10, 20);
  System(200, 264);
  DrawTies(dc, staff->Index());
  EXPECT_TRUE(Curves().empty());

  // Without the short tie the long one is found and drawn as a stub before its last note.
  staff->GlobalEvents().Remove(10, evtTie);
  DrawTies(dc, staff->Index());
  EXPECT_EQ(Curves().size(), 1u);
}

TEST_F(Ties, AFlatTieHasItsControlPointsAThirdIn) {
  DrawTieCurve(dc, RGB(1, 2, 3), 1500, 3000, 3000, 3000, false);
  const auto curves = Curves();
  ASSERT_EQ(curves.size(), 1u);
  const auto& p = curves[0].Points;
  EXPECT_EQ(p[1].X, Pixel(2000, 0).X);
  EXPECT_EQ(p[2].X, Pixel(2500, 0).X);
  // Above: the control points rise by 24 ln(500 - 15), snapped to pixels (148 -> 135).
  EXPECT_EQ(p[1].Y, Pixel(0, 3000 - 135).Y);
  EXPECT_EQ(p[5].Y, Pixel(0, 3000 - 150).Y);  // the return edge a pixel further out
  EXPECT_EQ(curves[0].Color, RGB(1, 2, 3));
  EXPECT_EQ(surface.ForeColor(), dc.ColorNotes());  // put back
}

TEST_F(Ties, AShortTieBendsNoMoreThanAQuarterOfItsSpan) {
  // Two line spaces wide, as a stub at a system's edge: 24 ln(96 - 15) would lift it 105.
  DrawTieCurve(dc, 0, 1500, 3000, 1500 + 2 * S, 3000, false);
  DrawTieCurve(dc, 0, 1500, 3000, 1500 + 2 * S, 3000, true);
  const auto curves = Curves();
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].Points[1].Y, Pixel(0, 3000 - SnapY(2 * S / 4)).Y);
  EXPECT_EQ(curves[1].Points[1].Y, Pixel(0, 3000 + SnapY(2 * S / 4)).Y);
}

TEST_F(Ties, DegenerateTiesAreGuarded) {
  struct Case {
    const char* name;
    int x1, y1, x2, y2;
    bool drawn;
  };
  const Case cases[] = {
      {"zero width", 2000, 3000, 2000, 3000, true},
      {"narrower than a pixel's inset", 2000, 3000, 2040, 3000, true},
      {"backwards", 3000, 3000, 2000, 3100, true},
      {"an end at the top edge", 2000, 0, 3000, 3000, false},
      {"an end above the page", 2000, 3000, 3000, -5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    DrawTieCurve(dc, dc.ColorTies(), c.x1, c.y1, c.x2, c.y2, true);
    ASSERT_EQ(Curves().size(), c.drawn ? 1u : 0u);
    if (!c.drawn) continue;
    // A tie too short to bend stays within a pixel of its ends' line.
    const auto curves = Curves();
    for (const auto& point : curves[0].Points) EXPECT_LE(std::abs(point.Y - Pixel(0, c.y1).Y), 120);
  }
}

TEST_F(Ties, PrintOffsetsMoveTheCurveAndCanPushItOffThePage) {
  dc.SetPrinting(true, 100, 200);
  DrawTieCurve(dc, 0, 1500, 3000, 3000, 3000, false);
  ASSERT_EQ(Curves().size(), 1u);
  EXPECT_EQ(Curves()[0].Points[0], Pixel(1400, 2800));
  DrawTieCurve(dc, 0, 1500, 150, 3000, 3000, false);  // 150 - 200 is above the printable area
  EXPECT_EQ(Curves().size(), 1u);
}

// --- Triplets ---

using Triplets = ViewFixture;

TEST_F(Triplets, TheDigitIsCentredOverTheGroupBetweenTwoLines) {
  dc.Symbols().TripletLeft = 1995;
  dc.Symbols().TripletRight = 3495;
  surface.SetForeColor(RGB(3, 3, 3));
  DrawTriplet(dc, kY);

  const int left = 1995 + kPx, right = 3495 + S + kPx;
  const int digitWidth = 80;  // 8 points, half an em
  const int digitX = left + (right - digitWidth - left) / 2;
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "3");
  EXPECT_EQ(texts[0].Font, (FontSpec{"Arial", 8.0f, true, true, false}));
  EXPECT_EQ(texts[0].Color, dc.ColorNotes());
  EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(digitX), Snap(kY - S)}));
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Points, (std::vector<SurfacePoint>{{left, kY}, {digitX - S / 2, kY}}));
  EXPECT_EQ(lines[1].Points, (std::vector<SurfacePoint>{{digitX + digitWidth + S, kY}, {right, kY}}));
  EXPECT_EQ(lines[0].Color, dc.ColorNotes());
  // The music font and the fore colour are back.
  EXPECT_EQ(dc.FontKind(), DrawContext::kMusicFont);
  EXPECT_EQ(surface.Font().Name, "Veltrimond");
  EXPECT_EQ(surface.ForeColor(), RGB(3, 3, 3));
}

// Over a group from x 1995 to 3495: the lines' height by where the bracket may stand and
// what is drawn in its way. Its box reaches from a line space (and the pixel the screen may
// lift the digit by) above the lines to the digit's cell bottom, 40 under them; it keeps a
// quarter space (36) from ink and from the staff's outer lines.
TEST_F(Triplets, ABracketMovesOutOfTheWayAndStaysInsideItsRoom) {
  struct Case {
    const char* name;
    bool above;
    std::vector<InkArea> ink;
    int top, bottom;  // the room
    int y;            // the lines' height
  };
  const int usual = kY;                        // lines 225 over the top line, box 2617..2815
  const int under = kBottomLine + 185 + 158;   // box 3761..3959, as far under the bottom line
  const InkArea beam{2500, 2600, 2600, 2700};  // over the staff, under the usual box's top
  const InkArea low{2500, 3800, 2600, 3900};   // under the staff
  const Case cases[] = {
      {"nothing in the way, above", true, {}, INT_MIN, INT_MAX, usual},
      {"nothing in the way, below", false, {}, INT_MIN, INT_MAX, under},
      {"over a beam, a quarter space clear", true, {beam}, INT_MIN, INT_MAX, 2600 - 36 - 40},
      {"no room over the beam: below", true, {beam}, 2450, INT_MAX, under},
      {"no room on either side: at the top of its room", true, {beam, low}, 2450, 4100, 2450 + 158},
      {"its usual height past its room: moved in", true, {}, 2700, INT_MAX, 2700 + 158},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    dc.Symbols().TripletLeft = 1995;
    dc.Symbols().TripletRight = 3495;
    TripletRoom room;
    room.Above = c.above;
    room.TopLine = kTop;
    room.BottomLine = kBottomLine;
    room.Top = c.top;
    room.Bottom = c.bottom;
    const InkArea box = DrawTripletClear(dc, room, c.ink);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points[0].Y, c.y);
    EXPECT_EQ(lines[1].Points[0].Y, c.y);
    EXPECT_EQ(box, (InkArea{1995 + kPx, c.y - S - (kPx - 1), 3495 + S + kPx, c.y - S + 184}));
    ASSERT_EQ(Texts({"3"}).size(), 1u);
    EXPECT_EQ(Texts({"3"})[0].Points[0].Y, Snap(c.y - S));
  }
}

}  // namespace
}  // namespace notecraft
