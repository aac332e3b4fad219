#include "notecraft/view/notesandbeams.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/note.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/view/accidentalcolumns.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/ornaments.h"
#include "notecraft/view/restsandties.h"

namespace notecraft {

namespace {

// Two heads closer than a line space less this are a second and stand side by side.
constexpr int kSecondSlack = 15;
// Accidentals stand this far before the leftmost head, and columns of them this many line
// spaces apart.
constexpr int kAccidentalGap = 15;
constexpr double kColumnGap = 0.125;
// A beam's thickness and the gap between two beam levels, in line spaces.
constexpr double kBeamThickness = 0.5;
constexpr double kBeamGap = 0.25;

// The music font's string for an accidental; a double flat is two flats.
std::string_view AccidentalGlyph(Accidental mark) {
  switch (mark) {
    case Accidental::Sharp: return {&glyph::Sharp, 1};
    case Accidental::Flat: return {&glyph::Flat, 1};
    case Accidental::Natural: return {&glyph::Natural, 1};
    case Accidental::DoubleFlat: return glyph::DoubleFlat;
    case Accidental::DoubleSharp: return {&glyph::DoubleSharp, 1};
    case Accidental::None: break;
  }
  return {};
}

std::string Glyph(char code) { return std::string(1, code); }

struct Head {
  int Y = 0;        // glyph anchor
  double Step = 0;  // line spaces below the bottom line
  Accidental Mark = Accidental::None;
  int X = 0;
  bool Displaced = false;
};

// Draws a stem glyph at each anchor from `from` to `to`, every three line spaces; the
// last at `to`.
void StemRun(DrawContext& dc, std::string_view stem, int x, int from, int to) {
  const int step = std::max(3 * dc.LineSpace(), 1);
  dc.DrawTextAt(stem, x, from);
  for (int y = from; y < to;) {
    y = std::min(y + step, to);
    dc.DrawTextAt(stem, x, y);
  }
}

// Draws the heads' accidentals in columns left of the chord's leftmost head (left), the
// highest sign nearest the heads, and left of the chord's ledger lines, which reach
// kLedgerOverhang beyond that head, where a sign would meet one; heads come from the highest
// down, the highest and lowest at steps highest and lowest.
void DrawAccidentals(DrawContext& dc, const std::vector<Head>& heads, int left, double highest,
                     double lowest) {
  const Surface& window = *dc.Window();
  std::vector<AccidentalSign> signs;
  std::vector<const Head*> owners;
  for (const Head& h : heads) {
    if (h.Mark == Accidental::None) continue;
    signs.push_back({h.Step, h.Mark});
    owners.push_back(&h);
  }
  if (signs.empty()) return;
  std::vector<int> columns;
  const int count = AccidentalColumns(signs, columns);
  std::vector<int> widths(static_cast<std::size_t>(count), 0);
  for (std::size_t i = 0; i < signs.size(); ++i) {
    int& w = widths[static_cast<std::size_t>(columns[i])];
    w = std::max(w, window.TextWidth(AccidentalGlyph(signs[i].Mark)));
  }
  // Each column's right edge: the first a gap before the heads, the others a gap before the
  // column to their right.
  const int gap = static_cast<int>(RoundHalfEven(kColumnGap * dc.LineSpace()));
  if (AccidentalsMeetLedgers(signs, highest, lowest)) left -= kLedgerOverhang;
  std::vector<int> rights(static_cast<std::size_t>(count), left - kAccidentalGap);
  for (std::size_t c = 1; c < rights.size(); ++c) rights[c] = rights[c - 1] - widths[c - 1] - gap;
  for (std::size_t i = 0; i < signs.size(); ++i) {
    const std::string_view sign = AccidentalGlyph(signs[i].Mark);
    dc.DrawTextAt(sign, rights[static_cast<std::size_t>(columns[i])] - window.TextWidth(sign),
                  owners[i]->Y);
  }
}

}  // namespace

DrawnValue DrawnValue::Of(const Note& note) {
  return {note.Duration(), (note.Flags() & nteDot) != 0, (note.Flags() & nteTriplet) != 0, -1};
}

void DrawNote(DrawContext& dc, Note& note, const MeasureFrame& measure, int clef, int key,
              int grandHalf, int split) {
  const DrawnValue value = DrawnValue::Of(note);
  DrawNote(dc, note, measure, clef, key, grandHalf, split, value);
  SymbolState& state = dc.Symbols();
  if (value.Triplet && state.TripletCount == 3 && dc.Window()) DrawTriplet(dc, measure.Y);
}

void DrawNote(DrawContext& dc, Note& note, const MeasureFrame& measure, int clef, int key,
              int grandHalf, int split, const DrawnValue& value) {
  Surface* window = dc.Window();
  if (!window) return;
  SymbolState& state = dc.Symbols();
  const int s = dc.LineSpace();
  const int duration = value.Duration;
  // The note's own marks with the drawn value's dot and triplet.
  int flags = note.Flags() & ~(nteDot | nteTriplet);
  if (value.Dotted) flags |= nteDot;
  if (value.Triplet) flags |= nteTriplet;
  if (duration >= durQuarter) BeamGeometry(dc);  // a quarter or longer ends any beam group

  const int at = value.At >= 0 ? value.At : note.NoteTime();
  int x = SnapX((at - measure.Start) * measure.TwipsPerUnit + measure.Left + measure.Pad);
  x += state.ShiftAt(measure.Index, at);
  const int middleLine = measure.Y - 2 * s;

  const bool drums = split == kDrumSplit;
  std::string head = Glyph(duration == durWhole  ? glyph::WholeNote
                           : duration == durHalf ? glyph::HalfHead
                                                 : glyph::FilledHead);
  if (clef == clfPercussion || drums) head = Glyph(glyph::PercussionHead);
  if (clef == clfPercussion) state.StemMode |= SymbolState::kStemUp;
  if (flags & nteDot) head += glyph::DotSuffix;

  // Direction before the pitches: each rule overrides the one before, and a decided
  // direction replaces the note's own force flags in the working copy.
  auto force = [&flags](bool up) {
    flags = (flags & ~(nteForceUp | nteForceDown)) | (up ? nteForceUp : nteForceDown);
  };
  const bool shared = (state.StemMode & SymbolState::kSharedStaves) != 0;
  bool up = false;
  const bool joinsPendingBeam = !state.Beam.empty();
  if (joinsPendingBeam) {
    up = state.BeamUp;
    state.TripletUp = state.BeamUp;
    force(up);
  } else {
    if (state.StemMode & SymbolState::kStemUp) {
      up = true;
      state.BeamUp = true;
      force(true);
      if (shared) note.SetMultiVoice(true);
    }
    if (state.StemMode & SymbolState::kStemDown) {
      up = false;
      state.BeamUp = false;
      force(false);
      if (shared) note.SetMultiVoice(false);
    }
  }
  if (state.TripletCount > 0) {
    up = state.TripletUp;
    force(up);
  }

  // Spell the drawn pitches from the highest down (the order the measure's accidentals are
  // remembered in).
  std::vector<Head> heads;
  double highestStep = 0;
  double lowestStep = 0;
  for (int i = note.ValueCount() - 1; i >= 0; --i) {
    // A drum voice holds the notes it plays; the staff shows each drum in its own place.
    const int pitch = drums ? DrumStaffPitch(note.Value(i)) : note.Value(i);
    if (grandHalf == 1 && pitch < split) continue;
    if (grandHalf == 2 && pitch >= split) continue;
    const SpelledPitch spelled = SpellPitch(pitch, clef, key, state.Accidentals);
    Head h;
    h.Step = spelled.Y;
    h.Y = static_cast<int>(RoundHalfEven(measure.Y + spelled.Y * s));
    h.Mark = spelled.Mark;
    h.X = x;
    highestStep = std::min(highestStep, h.Step);
    lowestStep = std::max(lowestStep, h.Step);
    heads.push_back(h);
  }
  if (heads.empty()) return;
  const int topY = heads.front().Y;
  const int bottomY = heads.back().Y;

  // The highest head decides: up below the middle line or when forced up, never when
  // forced down; a head on the middle line gets a down stem.
  const bool rule = !(flags & nteForceDown) && (topY > middleLine || (flags & nteForceUp));
  if (duration < durQuarter) {
    if (!joinsPendingBeam) {
      up = rule;
      state.BeamUp = up;
      force(up);
    }
    state.Beam.push_back({x, duration, topY, bottomY});
  } else {
    up = rule;
    if (state.StemMode & SymbolState::kStemUp) up = true;
    if (state.StemMode & SymbolState::kStemDown) up = false;
  }

  // Seconds: the upper head of a second stands right of the stem, so with an up stem the
  // heads are taken from the lowest up and the upper of a pair moves right; with a down
  // stem from the highest down and the lower of a pair moves left.
  {
    bool havePrevious = false;
    int previousY = 0;
    auto place = [&](Head& h) {
      if (havePrevious && std::abs(h.Y - previousY) < s - kSecondSlack) {
        h.X = up ? x + s : x - s;
        h.Displaced = true;
      } else {
        havePrevious = true;
        previousY = h.Y;
      }
    };
    if (up)
      for (auto it = heads.rbegin(); it != heads.rend(); ++it) place(*it);
    else
      for (Head& h : heads) place(h);
  }

  int left = x;
  int right = x;
  for (const Head& h : heads) {
    dc.DrawTextAt(head, h.X, h.Y);
    left = std::min(left, h.X);
    right = std::max(right, h.X);
  }
  if (split < kDrumSplit) DrawAccidentals(dc, heads, left, highestStep, lowestStep);

  // Ledger lines above and below the staff, through the heads' lines and under every head,
  // a head beside the stem too: line k (0 the bottom line, -4 the top line) lies at the
  // staff's bottom line + k line spaces.
  const int bottomLine = measure.Y + dc.Geometry().FourSpaces + dc.GlyphBaseline();
  for (int k = static_cast<int>(std::floor(highestStep + 0.5)); k <= -5; ++k)
    dc.DrawLine(state.NoteColor, left - kLedgerOverhang, bottomLine + k * s,
                right + s + kLedgerOverhang, bottomLine + k * s);
  for (int k = 1; k <= lowestStep; ++k)
    dc.DrawLine(state.NoteColor, left - kLedgerOverhang, bottomLine + k * s,
                right + s + kLedgerOverhang, bottomLine + k * s);

  note.SetX(x);
  note.SetUp(up);
  note.SetY(up ? bottomY : topY);
  state.DrawnNotes.push_back({&note, x, note.Y(), up, note.MultiVoice()});

  if (flags & nteTriplet) {
    ++state.TripletCount;
    if (state.TripletCount == 1) {
      state.TripletLeft = x;
      state.TripletUp = up;
    }
    state.TripletRight = x;
  }

  // One articulation: below an up-stem note, above a down-stem one.
  {
    std::string mark;
    int markX = x;
    if (flags & nteStacato) {
      mark = Glyph(glyph::Dot);
      markX += s / 2;
    } else if (flags & nteAccent) {
      mark = Glyph(glyph::Tenuto);
    } else if (flags & nteAccent2) {
      mark = Glyph(glyph::Accent);
    }
    if (!mark.empty()) {
      const int markY = up ? bottomY + (mark[0] == glyph::Accent ? 2 * s : s) : topY - s;
      dc.DrawTextAt(mark, markX, markY);
    }
  }

  if (duration == durWhole) return;  // no ornament, no stem

  DrawOrnament(dc, flags, x, topY, bottomY, up, measure.Y, grandHalf, duration);

  // The stem from the top head through the bottom head, in segments three spaces apart.
  StemRun(dc, Glyph(up ? glyph::StemUp : glyph::StemDown), x, topY, bottomY);
}

void BeamGeometry(DrawContext& dc) {
  SymbolState& state = dc.Symbols();
  if (state.Beam.empty()) return;
  std::vector<BeamSlot> group;
  group.swap(state.Beam);
  const bool up = state.BeamUp;
  state.BeamUp = false;
  Surface* window = dc.Window();
  if (!window) return;

  window->SetForeColor(state.NoteColor);
  const int s = dc.LineSpace();
  const int n = static_cast<int>(group.size());

  if (n == 1) {
    // A lone note's flag, at the anchor of the head at the stem's far end. A sixty-fourth
    // takes the thirty-second flag, the shortest the font has.
    const BeamSlot& note = group.front();
    char flag = up ? glyph::FlagEighthUp : glyph::FlagEighthDown;
    if (note.Duration == durSixteenth)
      flag = up ? glyph::FlagSixteenthUp : glyph::FlagSixteenthDown;
    else if (note.Duration == durThirtySecond || note.Duration == durSixtyFourth)
      flag = up ? glyph::FlagThirtySecondUp : glyph::FlagThirtySecondDown;
    dc.DrawTextAt(Glyph(flag), note.X, up ? note.Low : note.High);
    return;
  }

  const int x0 = group.front().X;
  const int xn = group.back().X;
  if (xn <= x0) return;

  // The beam line through the stem-side heads of the outer notes, moved away from the heads
  // until no inner head reaches past it.
  int y0 = up ? group.front().Low : group.front().High;
  int yn = up ? group.back().Low : group.back().High;
  auto lineAt = [&](double xi) {
    return static_cast<int>(RoundHalfEven((xi - x0) / (xn - x0) * (yn - y0) + y0));
  };
  for (int i = 1; i < n - 1;) {
    const int yi = lineAt(group[static_cast<std::size_t>(i)].X);
    const BeamSlot& inner = group[static_cast<std::size_t>(i)];
    const int reach = up ? yi - inner.Low : inner.High - yi;
    if (reach > 0) {
      y0 += up ? -reach : reach;
      yn += up ? -reach : reach;
      i = 1;
    } else {
      ++i;
    }
  }

  // Stem ends on the line; every stem drawn to it.
  std::vector<int> ends(static_cast<std::size_t>(n));
  const std::string stem = Glyph(up ? glyph::StemUp : glyph::StemDown);
  for (int i = 0; i < n; ++i) {
    BeamSlot& note = group[static_cast<std::size_t>(i)];
    const int end = i == 0 ? y0 : i == n - 1 ? yn : lineAt(note.X);
    ends[static_cast<std::size_t>(i)] = end;
    if (up) {
      note.Low = end;
      StemRun(dc, stem, note.X, end, note.High);
    } else {
      // The note's own stem reaches three and a half spaces below its bottom head; a line
      // moved further down is joined by segments every three spaces.
      const int bottomHead = note.High;
      note.High = end;
      for (int y = bottomHead + 3 * s; y < end; y += std::max(3 * s, 1)) dc.DrawTextAt(stem, note.X, y);
      dc.DrawTextAt(stem, note.X, end);
    }
  }

  // Beams. An up stem stands at the head's right edge; a beam starts where the stem glyph
  // ends: two spaces below an up stem's anchor, 9.1 spaces below a down stem's. Each beam is
  // one filled band half a space thick, in twips, so that it keeps its weight against the
  // staff on every device; further beams lie towards the heads, a quarter space apart.
  const int towardsHeads = up ? 1 : -1;
  const int stemShift = static_cast<int>(RoundHalfEven(s + 1.5 * dc.ScreenPixelX()));
  const int firstBeam = up ? 2 * s : static_cast<int>(RoundHalfEven(9.1 * s));
  const int thickness = std::max(1, static_cast<int>(RoundHalfEven(s * kBeamThickness)));
  const int beamStep = thickness + std::max(1, static_cast<int>(RoundHalfEven(s * kBeamGap)));
  auto beamX = [&](int i) {
    const int x = group[static_cast<std::size_t>(i)].X;
    return up ? SnapX(x + stemShift) : x;
  };
  auto endAt = [&](int i) { return ends[static_cast<std::size_t>(i)]; };
  // The stem-end line at any x, for stubs.
  auto endLineAt = [&](int x) {
    return static_cast<int>(
        RoundHalfEven(static_cast<double>(x - beamX(0)) / (beamX(n - 1) - beamX(0)) *
                          (endAt(n - 1) - endAt(0)) +
                      endAt(0)));
  };
  auto beam = [&](int xa, int ya, int xb, int yb, int offset) {
    const int inner = offset + towardsHeads * thickness;
    dc.FillPolygon(state.NoteColor,
                   {{xa, ya + offset}, {xb, yb + offset}, {xb, yb + inner}, {xa, ya + inner}});
  };
  auto levelOffset = [&](int level) { return firstBeam + towardsHeads * level * beamStep; };

  const int firstDuration = group.front().Duration;
  const bool mixed = std::any_of(group.begin(), group.end(),
                                 [&](const BeamSlot& b) { return b.Duration != firstDuration; });
  if (!mixed) {
    const int levels = firstDuration == durEighth ? 1 : firstDuration == durSixteenth ? 2 : 3;
    for (int level = 0; level < levels; ++level)
      beam(beamX(0), endAt(0), beamX(n - 1), endAt(n - 1), levelOffset(level));
  } else {
    beam(beamX(0), endAt(0), beamX(n - 1), endAt(n - 1), levelOffset(0));
    // Second level for notes shorter than an eighth, third for those shorter than a
    // sixteenth: joined between neighbours that both need it, else a stub of a line space
    // (to the right, or to the left for the group's last note).
    for (int level = 1; level <= 2; ++level) {
      const int shorterThan = level == 1 ? durEighth : durSixteenth;
      auto needs = [&](int i) { return group[static_cast<std::size_t>(i)].Duration < shorterThan; };
      const int offset = levelOffset(level);
      for (int i = 0; i < n;) {
        if (!needs(i)) {
          ++i;
          continue;
        }
        if (i + 1 < n && needs(i + 1)) {
          beam(beamX(i), endAt(i), beamX(i + 1), endAt(i + 1), offset);
          i += i + 2 < n && needs(i + 2) ? 1 : 2;
        } else if (i + 1 < n) {
          beam(beamX(i), endAt(i), beamX(i) + s, endLineAt(beamX(i) + s), offset);
          ++i;
        } else {
          beam(beamX(i) - s, endLineAt(beamX(i) - s), beamX(i), endAt(i), offset);
          ++i;
        }
      }
    }
  }
}

}  // namespace notecraft
