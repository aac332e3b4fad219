// The measure gallery: measures of a real score drawn through the symbol drawers onto
// QPainterSurface, saved as measuregallery.png in the test folder for a person to look at:
// each clef, every key signature both ways, common and cut time, every duration with dots
// and triplets, rests, chords with seconds and accidentals, beamed groups up and down, ties
// across a bar line and a system break, every ornament, bowing and articulation. The checks
// look at pixels where a fault would show: a glyph drawn, a ledger line, a beam's slope.
//
// The staff drawing here is the test's own small stand-in for the staff drawer: staff lines,
// clef, key and time at a row's start, changes at a measure's start (with their shifts), the
// measure's rhythm as the staff drawer reads it (notes, the rests of the gaps, triplet
// brackets) with beam groups closing at every beat, bar lines, ties.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/view/clefsandbars.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/notesandbeams.h"
#include "notecraft/view/restsandties.h"

namespace notecraft {
namespace {

constexpr int L = 576;
constexpr int S = L / 4;
constexpr int Px = 15;
constexpr int kLeft = 720, kRight = 11520;
constexpr int kRowHeight = 1740;
constexpr int kFirstRow = 900;

struct GNote {
  int At;  // 64ths into the measure
  std::vector<int> Pitches;
  int Duration = durQuarter;
  int Flags = 0;
};

struct GMeasure {
  int Duration = 64;
  std::vector<GNote> Notes;
  int Clef = -1;     // a clef change at the measure's start
  int Key = 99;      // a key change at the measure's start
  int Time = -1;     // a time signature (packed) at the measure's start
  int Bars = 0;      // 1 repeat begin, 2 repeat end, 4 section end, 8 score end
  int Pulse = 16;
  int Weight = 2;    // share of the row's width
};

struct GRow {
  int Clef = clfTreble;
  int Key = 0;
  int Time = -1;  // packed, -1 none
  std::vector<GMeasure> Measures;
};

// Where things were drawn, for the pixel checks.
struct Marks {
  int TrebleClefX = 0, TrebleClefRowTop = 0;
  int LedgerNoteX = 0, LedgerRowTop = 0;  // C6 on two ledger lines
  int BeamX0 = 0, BeamXn = 0, BeamY0 = 0, BeamYn = 0;  // a sloped up beam's first line
  int TieRowTop = 0;
  int TieX1 = 0, TieX2 = 0;  // a tie across a bar line, between these note x
};

class Gallery {
public:
  Gallery(Score& score, DrawContext& dc) : m_dc(dc) {
    m_staff = score.AllStaffs().AddStaff(Internal{}, "S1", "Gallery");
    m_voice = m_staff->Voice(1);
  }

  // Adds the row's notes to the score at the running time and draws the row at top.
  // Returns the start time of each measure.
  std::vector<int> Row(const GRow& row, int top) {
    std::vector<int> starts;
    int t = m_time;
    for (const GMeasure& m : row.Measures) {
      starts.push_back(t);
      for (const GNote& n : m.Notes)
        for (int p : n.Pitches) m_voice->Notes().Add(t + n.At, p, n.Duration, n.Flags);
      t += m.Duration;
    }
    for (const auto& [from, to] : m_pendingTies)
      m_staff->GlobalEvents().Add(from, evtTie, static_cast<std::uint8_t>(to / 256),
                                  static_cast<std::uint8_t>(to % 256), "1");
    m_pendingTies.clear();
    DrawRow(row, top, starts);
    m_time = t;
    return starts;
  }
  // A tie from a note's time to another's, drawn with the next row that holds its start.
  void Tie(int from, int to) { m_pendingTies.emplace_back(from, to); }
  int Time() const { return m_time; }
  std::shared_ptr<Voice> VoiceOne() const { return m_voice; }

private:
  void DrawRow(const GRow& row, int top, const std::vector<int>& starts) {
    Surface& w = *m_dc.Window();
    SymbolState& st = m_dc.Symbols();
    m_dc.SetStaffUnit(S);
    m_dc.SelectFont(DrawContext::kMusicFont);
    const int y = top - m_dc.GlyphBaseline();
    for (int k = 0; k < 5; ++k) m_dc.DrawLine(m_dc.ColorLines(), kLeft, top + k * S, kRight, top + k * S);
    m_dc.DrawLine(m_dc.ColorBars(), kLeft, top, kLeft, top + 4 * S);

    int clef = row.Clef;
    int packed = row.Time >= 0 ? row.Time : 4 * 128 + durQuarter;
    int x = kLeft + S;
    DrawClef(m_dc, clef, x, y);
    x = kLeft + L;
    int key = row.Key;
    DrawKeySignature(m_dc, key, clef, x, y);
    int offset = x - kLeft;
    if (row.Time >= 0) {
      DrawTimeSignature(m_dc, row.Time, x, y);
      offset = static_cast<int>(std::lround(offset + 0.7 * L));
    }
    offset += S + S / 2;

    st.Shifts.clear();
    st.TripletCount = 0;
    st.SystemStart = starts.front();
    const int n = static_cast<int>(row.Measures.size());
    int weights = 0;
    for (const GMeasure& m : row.Measures) weights += m.Weight;
    int left = kLeft;
    for (int i = 0; i < n; ++i) {
      const GMeasure& m = row.Measures[static_cast<std::size_t>(i)];
      const int t = starts[static_cast<std::size_t>(i)];
      // The first measure also holds the row's clef, key and time signature.
      const int width = i == n - 1 ? kRight - left
                                   : (kRight - kLeft - offset) * m.Weight / weights + (i == 0 ? offset : 0);
      const int end = t + m.Duration;
      st.SystemEnd = end;
      int pad = i == 0 ? offset : 2 * S;
      int shift = 0;
      if (m.Bars & 1) {
        int p = i == 0 ? offset - S / 2 : 0;
        DrawBarGlyph(m_dc, evtRepeatBegin, left, y, p, 0);
        pad = p + S / 2 + S;
      }
      // Changes at the measure's start, one after the other: clef, key, time.
      if (m.Clef >= 0) {
        clef = m.Clef;
        int cx = left + S;
        DrawClef(m_dc, clef, cx, y);
        shift = cx - left;
        st.SetShift(i, t, shift);
      }
      if (m.Key != 99) {
        key = m.Key;
        int kx = left + shift;
        DrawKeySignature(m_dc, key, clef, kx, y);
        shift = kx - left;
        st.SetShift(i, t, shift);
      }
      if (m.Time >= 0 && i > 0) {
        DrawTimeSignature(m_dc, m.Time, left + shift, y);
        shift += static_cast<int>(std::lround(0.7 * L));
        st.SetShift(i, t, shift);
      }
      int right = width;
      if (m.Bars & 2) { int bx = left + right; DrawBarGlyph(m_dc, evtRepeatEnd, 0, y, bx, 0); right = bx - left; }
      if (m.Bars & 4) { int bx = left + right; DrawBarGlyph(m_dc, evtSectionEnd, 0, y, bx, 0); right = bx - left; }
      if (m.Bars & 8) { int bx = left + right; DrawBarGlyph(m_dc, evtScoreEnd, 0, y, bx, 0); right = bx - left; }

      MeasureFrame frame;
      frame.Start = t;
      frame.Duration = m.Duration;
      frame.Left = left;
      frame.Width = width;
      frame.Y = y;
      frame.TwipsPerUnit = (right - (pad + st.ShiftOf(i).Width)) / m.Duration;
      frame.Pad = pad + 2 * frame.TwipsPerUnit;
      frame.Index = i;

      st.Accidentals.Clear();
      st.StemMode = 0;
      st.Beam.clear();
      st.BeamUp = false;
      st.NoteColor = m_dc.ColorNotes();
      w.SetForeColor(st.NoteColor);
      // What the voice shows in the measure, read as the staff drawer reads it: notes with
      // the values they show, rests that complete their beats, triplet groups under a "3".
      if (m.Time >= 0) packed = m.Time;
      GatherRhythmNotes(m_voice->Notes(), t, m.Duration, 1, 0, m_notes);
      ReadRhythm(m_notes, Metre::Of(packed, m.Duration), RhythmOptions{}, m_rhythm);
      int beat = t + m.Pulse;
      int groupLeft = 0;
      for (std::size_t k = 0; k < m_rhythm.Items.size(); ++k) {
        const RhythmItem& item = m_rhythm.Items[k];
        const int time = t + item.Time;
        if (time >= beat) {
          BeamGeometry(m_dc);
          st.StemMode &= ~(SymbolState::kStemUp | SymbolState::kStemDown);
          while (beat <= time) beat += m.Pulse;
        }
        const TripletGroup* group =
            item.Group >= 0 ? &m_rhythm.Groups[static_cast<std::size_t>(item.Group)] : nullptr;
        if (group && group->First == static_cast<int>(k)) st.TripletCount = 0;
        int at = 0;  // where the item was drawn
        if (item.Rest) {
          BeamGeometry(m_dc);
          at = DrawRest(m_dc, frame, item, 0);
        } else {
          DrawNote(m_dc, *item.Of, frame, clef, key, 1, 0,
                   DrawnValue{item.Value, item.Dotted, item.Triplet, time});
          at = item.Of->X();
        }
        if (!group) continue;
        if (group->First == static_cast<int>(k)) groupLeft = at;
        if (group->Last == static_cast<int>(k)) {
          st.TripletLeft = groupLeft;
          st.TripletRight = at;
          DrawTriplet(m_dc, y);
          st.TripletCount = 0;
        }
      }
      BeamGeometry(m_dc);
      if ((m.Bars & 14) == 0)
        m_dc.DrawLine(m_dc.ColorBars(), left + width, top, left + width, top + 4 * S);
      left += width;
    }
    DrawTies(m_dc, m_staff->Index());
  }

  DrawContext& m_dc;
  std::vector<RhythmNote> m_notes;
  MeasureRhythm m_rhythm;
  std::shared_ptr<Staff> m_staff;
  std::shared_ptr<Voice> m_voice;
  int m_time = 0;
  std::vector<std::pair<int, int>> m_pendingTies;
};

// Quarter notes at each beat.
std::vector<GNote> Quarters(std::vector<std::vector<int>> chords, int flags = 0) {
  std::vector<GNote> out;
  int at = 0;
  for (auto& c : chords) {
    out.push_back({at, c, durQuarter, flags});
    at += 16;
  }
  return out;
}

// The whole gallery; fills marks with positions the checks look at.
void DrawGallery(Score& score, Surface& surface, Marks& marks) {
  score.SetWindow(&surface);
  DrawContext& dc = score.View(Internal{});
  dc.SetStaffHeightTwips(L);
  dc.SetStaffScale(1.0f);
  Gallery g(score, dc);
  int top = kFirstRow;
  auto next = [&] { top += kRowHeight; };

  // Clefs, each with C4, E4, G4 and C5 (the percussion clef forces stems up).
  {
    GRow row;
    row.Time = 528;
    row.Measures = {
        {64, Quarters({{60}, {64}, {67}, {72}})},
        {64, Quarters({{48}, {52}, {55}, {60}}), clfBass},
        {64, Quarters({{60}, {64}, {67}, {72}}), clfAlto},
        {64, Quarters({{60}, {64}, {67}, {72}}), clfTenor},
        {64, Quarters({{60}, {64}, {67}, {72}}), clfPercussion},
    };
    marks.TrebleClefX = kLeft + S;
    marks.TrebleClefRowTop = top;
    g.Row(row, top);
    next();
  }
  // Key signatures: sharps and flats in treble, then the other clefs both ways.
  for (int sign : {1, -1}) {
    for (int half = 0; half < 2; ++half) {
      GRow row;
      row.Key = sign * (half * 4 + 1);
      for (int k = half * 4 + 1; k <= std::min(7, half * 4 + 4); ++k) {
        GMeasure m{64, {{0, {64}, durHalf}, {32, {65}, durQuarter}, {48, {66}, durQuarter}}};
        if (k != half * 4 + 1) m.Key = sign * k;
        row.Measures.push_back(m);
      }
      g.Row(row, top);
      next();
    }
  }
  {
    GRow row;
    row.Clef = clfBass;
    row.Key = 7;
    GMeasure bassFlats{64, {{0, {48}, durWhole}}};
    bassFlats.Key = -7;
    GMeasure altoSharps{64, {{0, {60}, durWhole}}, clfAlto};
    altoSharps.Key = 7;
    GMeasure altoFlats{64, {{0, {60}, durWhole}}};
    altoFlats.Key = -7;
    row.Measures = {{64, {{0, {48}, durWhole}}}, bassFlats, altoSharps, altoFlats};
    g.Row(row, top);
    next();
  }
  {
    GRow row;
    row.Clef = clfTenor;
    row.Key = 7;
    GMeasure tenorFlats{64, {{0, {57}, durWhole}}};
    tenorFlats.Key = -7;
    GMeasure percussion{64, Quarters({{60}, {64}, {67}, {72}}), clfPercussion};
    percussion.Key = 0;
    row.Measures = {{64, {{0, {57}, durWhole}}}, tenorFlats, percussion};
    g.Row(row, top);
    next();
  }
  // Time signatures: common, cut, 3/4, 6/8 (eighths beamed by the dotted quarter), 3/16.
  {
    GRow row;
    row.Time = 0;
    GMeasure cut{32, {{0, {67}, durHalf}}};
    cut.Time = 1;
    GMeasure threeFour{48, Quarters({{67}, {69}, {71}})};
    threeFour.Time = 3 * 128 + 16;
    GMeasure sixEight{48, {}};
    sixEight.Time = 6 * 128 + 8;
    sixEight.Pulse = 24;
    sixEight.Weight = 3;
    for (int i = 0; i < 6; ++i) sixEight.Notes.push_back({i * 8, {72 - 2 * (i % 3) + (i / 3) * 3}, durEighth});
    GMeasure threeSixteen{12, {{0, {71}, durSixteenth}, {4, {72}, durSixteenth}, {8, {74}, durSixteenth}}};
    threeSixteen.Time = 3 * 128 + 4;
    threeSixteen.Pulse = 12;
    row.Measures = {{64, Quarters({{67}, {69}, {71}, {72}})}, cut, threeFour, sixEight, threeSixteen};
    g.Row(row, top);
    next();
  }
  // Durations, with dots, and the rests that fill the gaps.
  {
    GRow row;
    GMeasure longer{64, {{0, {71}, durWhole}}};
    longer.Weight = 1;
    GMeasure dotted{64, {{0, {72}, durHalf, nteDot}, {48, {65}, durQuarter}}};
    dotted.Weight = 1;
    GMeasure shorter{64, {{0, {64}, durQuarter, nteDot}, {24, {65}, durEighth}, {40, {67}, durEighth},
                          {52, {69}, durSixteenth}, {58, {71}, durThirtySecond},
                          {61, {72}, durSixtyFourth}}};
    shorter.Weight = 4;
    GMeasure rests{64, {{4, {77}, durEighth}, {20, {76}, durSixteenth, nteDot}, {40, {74}, durThirtySecond}}};
    rests.Weight = 3;
    row.Measures = {longer, dotted, rests};
    g.Row(row, top);
    next();
    row.Measures = {shorter};
    g.Row(row, top);
    next();
  }
  // Triplets: eighths beamed, quarters, a triplet inside a beam group.
  {
    GRow row;
    row.Measures = {
        {64, {{0, {64}, durEighth, nteTriplet}, {4, {67}, durEighth, nteTriplet},
              {8, {71}, durEighth, nteTriplet}, {16, {76}, durEighth, nteTriplet},
              {20, {74}, durEighth, nteTriplet}, {24, {72}, durEighth, nteTriplet},
              {32, {72}, durHalf}}},
        {64, {{0, {67}, durQuarter, nteTriplet}, {8, {69}, durQuarter, nteTriplet},
              {16, {71}, durQuarter, nteTriplet}, {32, {79}, durQuarter, nteTriplet},
              {40, {77}, durQuarter, nteTriplet}, {48, {76}, durQuarter, nteTriplet}}},
        {64, {{0, {64}, durSixteenth}, {4, {65}, durSixteenth},
              {8, {67}, durSixteenth, nteTriplet}, {10, {69}, durSixteenth, nteTriplet},
              {12, {71}, durSixteenth, nteTriplet}, {16, {72}, durHalf, nteDot}}},
    };
    g.Row(row, top);
    next();
  }
  // Chords: seconds up and down, accidentals, ledger lines above and below.
  {
    GRow row;
    row.Measures = {
        {64, Quarters({{60, 62}, {60, 62, 64}, {71, 72}, {79, 81, 83}})},
        {64, Quarters({{61, 64, 67}, {70, 71}, {63, 66, 70}, {65, 68, 73}})},
        {64, Quarters({{84}, {84, 88}, {57, 60}, {53, 57, 60}})},
    };
    marks.LedgerRowTop = top;
    g.Row(row, top);
    marks.LedgerNoteX = g.VoiceOne()->Notes().Lookup(g.Time() - 64)->X();
    next();
  }
  // Beams: up and down, sloped, moved for a middle note, sixteenths, mixed durations.
  {
    GRow row;
    auto run = [](std::vector<int> pitches, int duration, int from = 0) {
      std::vector<GNote> out;
      for (std::size_t i = 0; i < pitches.size(); ++i)
        out.push_back({from + static_cast<int>(i) * duration, {pitches[i]}, duration});
      return out;
    };
    GMeasure sloped{64, run({64, 67, 71, 74, 79, 77, 74, 71}, durEighth)};
    sloped.Weight = 4;
    // E4 C5 E4 F4 up: the beam rises over the C; F5 G4 F5 E5 down: it drops under the G.
    GMeasure moved{64, run({64, 72, 64, 65, 77, 67, 77, 76}, durSixteenth)};
    moved.Notes.push_back({32, {72}, durHalf});
    moved.Weight = 3;
    GMeasure sixteenths{64, run({64, 65, 67, 69, 71, 72, 74, 76}, durSixteenth)};
    auto down = run({84, 83, 81, 79, 77, 76, 74, 72}, durSixteenth, 32);
    sixteenths.Notes.insert(sixteenths.Notes.end(), down.begin(), down.end());
    sixteenths.Weight = 3;
    GMeasure mixed{64, {{0, {67}, durEighth}, {8, {69}, durSixteenth}, {12, {71}, durSixteenth},
                        {16, {72}, durSixteenth}, {20, {74}, durEighth, nteDot},
                        {32, {79}, durSixteenth, nteDot}, {38, {77}, durThirtySecond},
                        {40, {76}, durEighth}, {48, {65}, durThirtySecond},
                        {50, {67}, durThirtySecond}, {52, {69}, durEighth}, {60, {71}, durSixteenth}}};
    mixed.Weight = 4;
    row.Measures = {sloped, moved, sixteenths, mixed};
    const int start = g.Time();
    g.Row(row, top);
    // The first group: E4 and G4 up, the line through their top heads rising.
    const auto first = g.VoiceOne()->Notes().Lookup(start);
    const auto second = g.VoiceOne()->Notes().Lookup(start + 8);
    marks.BeamX0 = SnapX(first->X() + static_cast<int>(std::lround(S + 1.5 * Px)));
    marks.BeamXn = SnapX(second->X() + static_cast<int>(std::lround(S + 1.5 * Px)));
    marks.BeamY0 = first->Y() + 2 * S;  // the stem end of a single head is its own anchor
    marks.BeamYn = second->Y() + 2 * S;
    next();
  }
  // Ties: within a measure, across a bar line, into the next row.
  {
    GRow row;
    const int t = g.Time();
    row.Measures = {
        {64, {{0, {67}, durHalf}, {32, {67}, durQuarter}, {48, {72}, durQuarter}}},
        {64, {{0, {72}, durHalf}, {32, {64}, durQuarter}, {48, {76}, durQuarter}}},
        {64, {{0, {76}, durHalf}, {32, {79}, durHalf}}},
    };
    g.Tie(t, t + 32);             // G4, up stems: below
    g.Tie(t + 48, t + 64);        // C5 across the bar line, down stems: above
    g.Tie(t + 64 + 48, t + 128);  // E5 across the next bar line
    g.Tie(t + 128 + 32, t + 192); // G5 into the next row: a stub at each end
    marks.TieRowTop = top;
    g.Row(row, top);
    marks.TieX1 = g.VoiceOne()->Notes().Lookup(t + 48)->X();
    marks.TieX2 = g.VoiceOne()->Notes().Lookup(t + 64)->X();
    next();
  }
  // Ornaments and bowings over down-stem and up-stem notes, articulations both ways, a
  // fermata on a whole note (not drawn), repeat and end bars.
  {
    GRow row;
    const int ornaments[] = {nteBowDown, nteBowUp, nteHalfMordent, nteMordent,
                             nteTrill,   nteTurn,  nteFermata};
    GMeasure down{64, {{0, {79}, durHalf}}};
    down.Bars = 1;
    for (int i = 0; i < 2; ++i) down.Notes.push_back({32 + i * 16, {72}, durQuarter, ornaments[i]});
    GMeasure more{64, {}};
    for (int i = 0; i < 4; ++i) more.Notes.push_back({i * 16, {72}, durQuarter, ornaments[2 + i]});
    GMeasure high{64, {{0, {72}, durQuarter, nteFermata}, {16, {84}, durQuarter, nteFermata},
                       {32, {84}, durQuarter, nteTrill}, {48, {88}, durQuarter, nteMordent}}};
    GMeasure up{64, {}};
    for (int i = 0; i < 7; ++i) up.Notes.push_back({i * 8, {65}, durEighth, ornaments[i]});
    up.Notes.push_back({56, {57}, durEighth, nteFermata});
    up.Weight = 4;
    GMeasure arts{64, Quarters({{64}, {64}, {77}, {77}})};
    arts.Notes[0].Flags = nteStacato;
    arts.Notes[1].Flags = nteAccent2;
    arts.Notes[2].Flags = nteStacato;
    arts.Notes[3].Flags = nteAccent;
    GMeasure whole{64, {{0, {72}, durWhole, nteFermata}}};
    whole.Bars = 2 | 8;
    whole.Weight = 1;
    row.Measures = {down, more, high};
    g.Row(row, top);
    next();
    row.Measures = {up, arts, whole};
    g.Row(row, top);
    next();
  }
}

// The notes' green (ColorNotes): ledger lines, stems and beams, not the black staff lines.
bool NoteInk(const QImage& image, int xTwips, int yTwips) {
  const QColor c = image.pixelColor(xTwips / Px, yTwips / Px);
  return c.green() > c.red() + 60 && c.green() > c.blue() + 60;
}

QRect InkBox(const QImage& image, int left, int top, int right, int bottom) {
  QRect box;
  for (int py = top / Px; py <= bottom / Px; ++py)
    for (int px = left / Px; px <= right / Px; ++px)
      if (qGray(image.pixelColor(px, py).rgb()) < 170) box |= QRect(px * Px, py * Px, Px, Px);
  return box;
}

class MeasureGallery : public testing::Test {
protected:
  static void SetUpTestSuite() {
    s_score = new Score;
    s_score->SetPageHeight(kPageHeight / 1440.0f);
    s_surface = new QPainterSurface(12240, kPageHeight);
    DrawGallery(*s_score, *s_surface, s_marks);
    s_score->SetWindow(nullptr);
  }
  static void TearDownTestSuite() {
    delete s_surface;
    delete s_score;
  }
  static const QImage& Image() { return *s_surface->Image(); }
  static constexpr int kPageHeight = 29160;  // 20.25 inches
  static Score* s_score;
  static QPainterSurface* s_surface;
  static Marks s_marks;
};
Score* MeasureGallery::s_score = nullptr;
QPainterSurface* MeasureGallery::s_surface = nullptr;
Marks MeasureGallery::s_marks;

TEST_F(MeasureGallery, SavedForPeopleToLookAt) {
  // measuregallery.png as the screen shows it, measuregallery-3x.png for a closer look.
  EXPECT_TRUE(Image().save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/measuregallery.png")));
  Score score;
  score.SetPageHeight(kPageHeight / 1440.0f);
  QPainterSurface large(12240, kPageHeight, 3.0);
  Marks marks;
  DrawGallery(score, large, marks);
  score.SetWindow(nullptr);
  EXPECT_TRUE(large.Image()->save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/measuregallery-3x.png")));
}

TEST_F(MeasureGallery, TheTrebleClefIsDrawnAtTheRowStart) {
  const int top = s_marks.TrebleClefRowTop;
  const QRect clef = InkBox(Image(), s_marks.TrebleClefX, top - 2 * S, s_marks.TrebleClefX + 500,
                            top + 6 * S);
  ASSERT_TRUE(clef.isValid());
  EXPECT_NEAR(clef.top(), top - 1.78 * S, 0.3 * S);
  EXPECT_NEAR(clef.bottom(), top + 4 * S + 1.54 * S, 0.3 * S);
}

TEST_F(MeasureGallery, LedgerLinesShowEitherSideOfTheHighHead) {
  // C6 two ledger lines above the staff: ink at both lines beside the head, none between.
  const int x = s_marks.LedgerNoteX;
  const int top = s_marks.LedgerRowTop;
  for (int k : {1, 2}) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(NoteInk(Image(), x - 45, top - k * S));
    EXPECT_TRUE(NoteInk(Image(), x + S + 45, top - k * S));
  }
  EXPECT_FALSE(NoteInk(Image(), x - 45, top - S - S / 2));
  EXPECT_FALSE(NoteInk(Image(), x - 45, top - 3 * S));  // no third line
}

TEST_F(MeasureGallery, ASlopedBeamRisesFromItsFirstStemToItsLast) {
  // E4 to G4 up: the beam's top line climbs a line space from one stem's end to the other's.
  const int x0 = s_marks.BeamX0, xn = s_marks.BeamXn;
  ASSERT_GT(xn, x0);
  const int rise = s_marks.BeamY0 - s_marks.BeamYn;
  ASSERT_EQ(rise, S);
  auto beamTop = [&](int x) {
    for (int y = s_marks.BeamYn - 2 * S; y < s_marks.BeamY0 + 2 * S; y += Px)
      if (NoteInk(Image(), x, y)) return y / Px * Px;
    return -1;
  };
  const int xm = (x0 + xn) / 2;
  EXPECT_NEAR(beamTop(x0 + 2 * Px), s_marks.BeamY0 - 2 * Px * rise / (xn - x0), Px);
  EXPECT_NEAR(beamTop(xm), (s_marks.BeamY0 + s_marks.BeamYn) / 2, Px);
  EXPECT_NEAR(beamTop(xn - 2 * Px), s_marks.BeamYn + 2 * Px * rise / (xn - x0), Px);
}

TEST_F(MeasureGallery, ATieAcrossTheBarLineJoinsItsNotes) {
  // C5 to C5 over the bar line: tie ink between the two heads, over them.
  const int from = s_marks.TieX1 + S + 2 * Px, to = s_marks.TieX2 - 2 * Px;
  ASSERT_GT(to, from);
  // Tie ink is the ties' red, which no staff line or note shares.
  const int top = s_marks.TieRowTop;
  int red = 0;
  for (int y = top - 2 * S; y <= top + S; y += Px) {
    const QColor c = Image().pixelColor((from + to) / 2 / Px, y / Px);
    if (c.red() > 150 && c.green() < 120 && c.blue() < 120) ++red;
  }
  EXPECT_GE(red, 1);
}

}  // namespace
}  // namespace notecraft
