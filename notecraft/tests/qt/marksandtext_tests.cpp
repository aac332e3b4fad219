// Marks around the staff on pixels: two systems of two staves drawn through QPainterSurface
// with section marks, endings, octave lines across a bar line and a system break, dynamics,
// tempo marks, text labels, chord symbols with their diagrams and lyrics, saved as
// marksandtext.png in the test folder for a person to look at. The checks look at pixels
// where a misplaced mark, a solid octave line or a missing diagram would show.
//
// The staff drawing here is the test's own small stand-in for the staff drawer: staff lines,
// clef and time signature, then per measure the section marks, chord symbols, dynamics and
// tempo marks, text labels, quarter notes with their lyrics, and the bar line, in that order.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>

#include "harmonygrid/core/chord.h"
#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/view/clefsandbars.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/marksandtext.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/notesandbeams.h"

namespace notecraft {
namespace {

constexpr int L = 576;
constexpr int S = L / 4;
constexpr int Px = 15;
constexpr int kLeft = 900, kRight = 11400;
constexpr int kPageWidth = 12240, kPageHeight = 9600;
// Top lines: a chord row above each system's first staff, lyrics under it.
constexpr int kSystemTops[] = {1700, 6100};
constexpr int kStaffGap = 1900;
constexpr int kMeasures = 4;

// Where things were drawn, for the pixel checks.
struct Marks {
  int CodaX = 0, CodaTop = 0;           // the coda of the second system's second measure
  int OctaveFrom = 0, OctaveTo = 0;     // the lower staff's 8va line, first system
  int OctaveY = 0;
  int ContinuedFrom = 0, ContinuedY = 0;  // its continuation on the second system
  int ChordX = 0, ChordY = 0;           // Em, in a measure without marks: centre x, staff's y
  int LiftedX = 0, LiftedY = 0;         // C, over the segno
  int DynamicX = 0, DynamicY = 0;       // mf under the first note, cell top
};

int ShapeValue(const harmonygrid::Chord& table, const char* key) {
  for (int i = 0; i < table.ListCount(); ++i)
    if (table.ListItem(i) == key) return table.ListVal(i);
  return 0;
}

class Page {
public:
  Page(Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {
    m_top = score.AllStaffs().AddStaff(Internal{}, "S1", "Melody");
    m_lower = score.AllStaffs().AddStaff(Internal{}, "S2", "Second");
  }

  void Fill() {
    auto& globals = m_score.AllGlobals();
    globals.Add(0, evtSectionDefine, sctSegundo);
    globals.Add(64, evtSectionDefine, sctEnding1);
    globals.Add(128, evtSectionDefine, sctEnding2);
    globals.Add(192, evtSectionDefine, sctToCoda);
    globals.Add(256, evtSectionDefine, sctEnding, 0, "3.");
    globals.Add(320, evtSectionDefine, sctCoda);
    globals.Add(448, evtSectionDefine, sctToSegundo);
    const harmonygrid::Chord& table = *m_score.Chord();
    const std::pair<int, const char*> chords[] = {
        {0, "C"}, {32, "Am"}, {64, "F"}, {128, "G"}, {160, "G7"}, {192, "C"},
        {256, "Dm"}, {320, "G"}, {384, "Em"}, {448, "C"}};
    for (const auto& [t, key] : chords)
      globals.Add(t, evtChord, static_cast<std::uint8_t>(ShapeValue(table, key)), 0,
                  t == 448 ? "E" : "");

    auto& top = m_top->GlobalEvents();
    top.Add(0, evtDynamic, dynMF);
    top.Add(96, evtDynamic, dynP);
    top.Add(160, evtDynamic, dynFF);
    top.Add(192, evtTempo, tmpRitardando);
    top.Add(256, evtTempo, tmpATempo);
    top.Add(256, evtDynamic, dynF);
    top.Add(16, evtText, 0, 0, "dolce");
    top.Add(336, evtText, 4, 0, "espress.");
    auto& lower = m_lower->GlobalEvents();
    lower.Add(64, evtSectionDefine, 0, 1);
    lower.Add(128, evtSectionDefine, 0, 1, "+");
    lower.Add(192, evtSectionDefine, 0, 1, "+");
    lower.Add(256, evtSectionDefine, 0, 1, "+");
    lower.Add(384, evtSectionDefine, 0, 2);
    lower.Add(0, evtDynamic, dynPP);
    lower.Add(128, evtDynamic, dynFFF);

    const int melody[] = {72, 74, 76, 77, 79, 77, 76, 74, 72, 71, 72, 74, 76, 74, 72, 72,
                          74, 76, 77, 79, 81, 79, 77, 76, 74, 72, 71, 69, 71, 72, 74, 72};
    const char* words[] = {"Sing", "we", "now", "of", "morn-", "ing", "light", "a-",
                           "o", "ver", "hill", "and", "sea", "and", "sky", "now"};
    for (int i = 0; i < 32; ++i) {
      m_top->Voice(1)->Notes().Add(i * 16, melody[i], durQuarter, 0);
      m_lower->Voice(1)->Notes().Add(i * 16, melody[i] - 12, durQuarter, 0);
      if (i < 16) m_top->GlobalEvents().Add(i * 16, evtLyric, 0, 0, words[i]);
    }
  }

  void Draw(Marks& marks) {
    m_marks = &marks;
    for (int system = 0; system < 2; ++system) {
      const int t0 = system * kMeasures * 64;
      DrawStaff(*m_top, kSystemTops[system], t0, true);
      DrawStaff(*m_lower, kSystemTops[system] + kStaffGap, t0, false);
      m_dc.DrawLine(m_dc.ColorBars(), kLeft, kSystemTops[system], kLeft,
                    kSystemTops[system] + kStaffGap + 4 * S);
    }
  }

private:
  void DrawStaff(Staff& staff, int top, int t0, bool firstBand) {
    Surface& w = *m_dc.Window();
    m_dc.SetStaffUnit(S);
    m_dc.SelectFont(DrawContext::kMusicFont);
    const int y = top - m_dc.GlyphBaseline();
    const int bottom = top + 4 * S;
    for (int k = 0; k < 5; ++k) m_dc.DrawLine(m_dc.ColorLines(), kLeft, top + k * S, kRight, top + k * S);
    int x = kLeft + S;
    DrawClef(m_dc, clfTreble, x, y);
    int offset = L;
    if (t0 == 0) {
      DrawTimeSignature(m_dc, 528, kLeft + L, y);
      offset = static_cast<int>(std::lround(offset + 0.7 * L));
    }
    offset += S + S / 2;
    // The first measure also holds the clef and time signature.
    const int share = (kRight - kLeft - offset) / kMeasures;
    int left = kLeft;
    int pending = -1;  // x of the syllable before a hyphen
    for (int i = 0; i < kMeasures; ++i) {
      const int t = t0 + i * 64;
      const int width = i == kMeasures - 1 ? kRight - left : share + (i == 0 ? offset : 0);
      int pad = i == 0 ? offset : 2 * S;
      const int bits = (m_score.MeasureFlags(t) & 0x33F0) / 16;
      DrawSectionMarks(m_dc, staff, bits, left, y, pad, width, t);
      if (&staff == m_lower.get() && t == 64) {
        m_marks->OctaveFrom = left - S + pad;
        m_marks->OctaveTo = left - S + width;
        m_marks->OctaveY = y - SnapY(static_cast<int>(std::lround(2.2 * S)));
      }
      if (&staff == m_lower.get() && t == 256) {
        m_marks->ContinuedFrom = left - S + pad - 3 * S;
        m_marks->ContinuedY = y - SnapY(static_cast<int>(std::lround(2.2 * S)));
      }
      if (t == 320 && firstBand) {
        m_marks->CodaX = left + pad;
        m_marks->CodaTop = top;
      }
      const int tpu = (width - pad) / 64;
      pad += 2 * tpu;
      if (firstBand) FindChordSymbol(m_dc, bits, left, y, pad, tpu, t, 64);
      if (t == 384 && firstBand) {
        m_marks->ChordX = left + pad;
        m_marks->ChordY = y;
      }
      if (t == 0 && firstBand) {
        m_marks->LiftedX = left + pad;
        m_marks->LiftedY = y;
        m_marks->DynamicX = left + pad - S;
        m_marks->DynamicY = y + 3 * S + S / 2;
      }
      DrawTempoMarks(m_dc, staff, left, y, pad, tpu, t, 64);
      DrawTextEvents(m_dc, staff, left, top, pad, tpu, t, 64);

      MeasureFrame frame{t, 64, left, width, y, tpu, pad, i};
      SymbolState& st = m_dc.Symbols();
      st.Accidentals.Clear();
      st.StemMode = 0;
      st.Beam.clear();
      st.NoteColor = m_dc.ColorNotes();
      w.SetForeColor(st.NoteColor);
      for (const auto& note : staff.Voice(1)->Notes()) {
        if (note->NoteTime() < t) continue;
        if (note->NoteTime() >= t + 64) break;
        DrawNote(m_dc, *note, frame, clfTreble, 0, 1, 0);
        const auto lyric = staff.GlobalEvents().Find(note->NoteTime(), evtLyric, true);
        if (!lyric) continue;
        std::string text = lyric->Text();
        int right = 0;
        const int lyricY = bottom + 360;
        if (pending >= 0) {
          DrawSmallText(m_dc, "-", pending + (note->X() - pending) / 2, lyricY, right);
          pending = -1;
        }
        if (!text.empty() && text.back() == '-') {
          text.pop_back();
          pending = note->X();
        }
        DrawSmallText(m_dc, text, note->X(), lyricY, right);
        w.SetForeColor(st.NoteColor);
      }
      BeamGeometry(m_dc);
      left += width;
      m_dc.DrawLine(m_dc.ColorBars(), left, top, left, bottom);
    }
  }

  Score& m_score;
  DrawContext& m_dc;
  std::shared_ptr<Staff> m_top, m_lower;
  Marks* m_marks = nullptr;
};

void DrawPage(Score& score, QPainterSurface& surface, Marks& marks) {
  score.SetWindow(&surface);
  surface.Clear();
  DrawContext& dc = score.View(Internal{});
  dc.SetStaffHeightTwips(L);
  dc.SetStaffScale(1.0f);
  score.SetUseChordMaps(true);
  Page page(score, dc);
  page.Fill();
  page.Draw(marks);
  score.SetWindow(nullptr);
}

bool Near(const QColor& c, int rgb, int tolerance = 60) {
  return std::abs(c.red() - (rgb & 0xFF)) < tolerance &&
         std::abs(c.green() - ((rgb >> 8) & 0xFF)) < tolerance &&
         std::abs(c.blue() - ((rgb >> 16) & 0xFF)) < tolerance;
}

// Pixels of a colour in a box of twips.
int Count(const QImage& image, int left, int top, int right, int bottom, int rgb) {
  int n = 0;
  for (int py = top / Px; py <= bottom / Px; ++py)
    for (int px = left / Px; px <= right / Px; ++px)
      if (Near(image.pixelColor(px, py), rgb)) ++n;
  return n;
}

class MarksAndTextImage : public testing::Test {
protected:
  static void SetUpTestSuite() {
    s_score = new Score;
    s_score->SetPageHeight(kPageHeight / 1440.0f);
    s_surface = new QPainterSurface(kPageWidth, kPageHeight);
    DrawPage(*s_score, *s_surface, s_marks);
    s_colors = {s_score->View(Internal{}).ColorBars(), s_score->View(Internal{}).ColorTies(),
                s_score->View(Internal{}).ColorChords()};
  }
  static void TearDownTestSuite() {
    delete s_surface;
    delete s_score;
  }
  static const QImage& Image() { return *s_surface->Image(); }
  static int Bars() { return s_colors[0]; }
  static int Ties() { return s_colors[1]; }
  static int Chords() { return s_colors[2]; }

  static Score* s_score;
  static QPainterSurface* s_surface;
  static Marks s_marks;
  static std::array<int, 3> s_colors;
};
Score* MarksAndTextImage::s_score = nullptr;
QPainterSurface* MarksAndTextImage::s_surface = nullptr;
Marks MarksAndTextImage::s_marks;
std::array<int, 3> MarksAndTextImage::s_colors{};

TEST_F(MarksAndTextImage, SavedForPeopleToLookAt) {
  EXPECT_TRUE(Image().save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/marksandtext.png")));
  Score score;
  score.SetPageHeight(kPageHeight / 1440.0f);
  QPainterSurface large(kPageWidth, kPageHeight, 3.0);
  Marks marks;
  DrawPage(score, large, marks);
  EXPECT_TRUE(large.Image()->save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/marksandtext-3x.png")));
}

TEST_F(MarksAndTextImage, TheOctaveLineIsDottedAndRunsOnIntoTheNextSystem) {
  // Along the line: ink and gaps alternate, and it reaches the measure's end.
  const int y = s_marks.OctaveY / Px;
  int ink = 0, gaps = 0;
  for (int px = (s_marks.OctaveFrom + 4 * S) / Px; px < s_marks.OctaveTo / Px; ++px)
    (Near(Image().pixelColor(px, y), Bars()) ? ink : gaps)++;
  EXPECT_GT(ink, 10);
  EXPECT_GT(gaps, 10);
  EXPECT_GT(Count(Image(), s_marks.OctaveTo - 4 * Px, s_marks.OctaveY, s_marks.OctaveTo,
                  s_marks.OctaveY, Bars()), 0);
  // The continuation on the next system: a line from its start, with no hook below it.
  EXPECT_GT(Count(Image(), s_marks.ContinuedFrom, s_marks.ContinuedY, s_marks.ContinuedFrom + 6 * Px,
                  s_marks.ContinuedY, Bars()), 0);
  EXPECT_EQ(Count(Image(), s_marks.ContinuedFrom - Px, s_marks.ContinuedY + 4 * Px,
                  s_marks.ContinuedFrom + Px, s_marks.ContinuedY + 2 * S, Bars()), 0);
}

TEST_F(MarksAndTextImage, TheCodaStandsThreeSpacesAboveTheStaff) {
  // Its ink lies above the top line, within the two line spaces below its anchor.
  const int x = s_marks.CodaX, top = s_marks.CodaTop;
  EXPECT_GT(Count(Image(), x, top - 4 * S, x + 3 * S, top - S, Bars()), 20);
  EXPECT_EQ(Count(Image(), x, top - S + 2 * Px, x + 3 * S, top - 2 * Px, Bars()), 0);
}

TEST_F(MarksAndTextImage, ChordSymbolsShowTheirNameAndDiagramAboveTheStaffAndTheSegno) {
  // The name line ends at the staff's reference y, the diagram stands on it.
  const int x = s_marks.ChordX, y = s_marks.ChordY;
  EXPECT_GT(Count(Image(), x - 200, y - 195, x + 200, y, Chords()), 20);
  EXPECT_GT(Count(Image(), x - 200, y - 855, x + 200, y - 195, Chords()), 40);
  // Over the segno the name moves up three spaces, clear of the sign below it.
  const int lx = s_marks.LiftedX, ly = s_marks.LiftedY - 3 * S;
  EXPECT_GT(Count(Image(), lx - 200, ly - 195, lx + 200, ly, Chords()), 20);
  EXPECT_EQ(Count(Image(), lx - 200, ly + 2 * Px, lx + 200, s_marks.LiftedY, Chords()), 0);
}

TEST_F(MarksAndTextImage, DynamicsStandBelowTheStaffInTheTiesColour) {
  const int x = s_marks.DynamicX, y = s_marks.DynamicY;
  // The glyph's baseline is its cell top plus the font's ascent, 1.39 staff heights.
  const int baseline = y + static_cast<int>(std::lround(1.39 * L));
  EXPECT_GT(Count(Image(), x, baseline - 2 * S, x + 3 * S, baseline + S / 2, Ties()), 20);
}

}  // namespace
}  // namespace notecraft
