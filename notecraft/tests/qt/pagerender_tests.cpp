// A whole page on pixels: a small song (voice with two verses of lyrics, flute, violin with
// two voices, piano on a grand staff, cello) with headings, chord symbols and diagrams,
// repeats and endings, a coda, dynamics, a tempo mark, a text label, an octave line and
// measure numbers, laid out and painted through QPainterSurface and saved as
// pagerender.png in the test folder for a person to look at. The checks look where a fault
// would show. The same score, longer, printed to PDF must have as many pages as pagination
// counted.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/view/drawcontext.h"
#include "pdfpages.h"

namespace notecraft {
namespace {

constexpr int Px = 15;
constexpr int kMeasure = 48;  // 3/4

int ChordValue(const Score& score, const std::string& name) {
  for (const auto& [key, value] : score.LoadChordList())
    if (key == name) return value;
  return 0;
}

std::shared_ptr<Staff> AddStaff(Score& score, int program, const std::string& name, int clef = -1) {
  auto& instruments = score.AllInstruments();
  auto instrument = instruments.Add(instruments.NewID(), program);
  auto staff = score.Staffs() == 1 && score.Staff(1)->Description() == "New"
                   ? score.Staff(1)
                   : score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), name);
  staff->Clear();
  staff->AddVoice(instrument);
  staff->SetDescription(name);
  staff->SetFlags(stfShowStaffDesc);
  if (clef >= 0) staff->SetDefaultClef(clef);
  return staff;
}

// The song, `repeats` times over: eight measures of 3/4 in G major.
void BuildSong(Score& score, int repeats) {
  score.CreateDefault();
  score.SetTitle("Evening Song");
  score.SetSubTitle("for voice, flute, strings and piano");
  score.SetComposer("A. Composer");
  score.SetArrangedBy("");
  score.SetHeading("Andante");
  score.SetCount(72);
  score.SetMetronome(true);
  score.SetCopyright(0, "Copyright 2024 Example Music");
  score.SetPageNums(pgnNoPageOne);
  score.SetNumberMeasures(true);
  score.SetUseChords(true);
  score.SetUseChordMaps(true);
  score.SetStaffHeight(0.25f);
  score.SetStaffSpace(0.3f);
  score.SetKey(1);
  score.AllGlobals().SetDftTimeVal(3 * 128 + 16);
  score.AllGlobals().SetPulseValue(16);

  auto voice = AddStaff(score, 52, "Voice");
  voice->SetVerses(Internal{}, 2);
  auto flute = AddStaff(score, 73, "Flute");
  auto violin = AddStaff(score, 40, "Violin");
  violin->AddVoice(violin->Voice(1)->Instrument());
  auto piano = AddStaff(score, 0, "Piano", clfGrand);
  auto cello = AddStaff(score, 42, "Cello", clfBass);

  const std::vector<int> melody = {67, 69, 71, 72, 71, 69, 67, 66, 64, 62, 64, 66, 67, 71, 74, 72};
  const std::vector<const char*> verse1 = {"Ev-", "ning", "falls", "on", "the", "hill-", "side", "gent-", "ly"};
  const std::vector<const char*> verse2 = {"Stars", "a-", "wake", "up-", "on", "the", "wa-", "ter", "bright-"};
  const std::vector<std::string> chords = {"G", "C", "D", "Em", "G", "Am", "D7", "G"};
  auto& globals = score.AllGlobals();

  for (int r = 0; r < repeats; ++r) {
    const int base = r * 8 * kMeasure;
    for (int m = 0; m < 8; ++m) {
      const int t = base + m * kMeasure;
      const int k = (m + r) % static_cast<int>(melody.size());
      // Voice: a half and a quarter; lyrics in two verses under each note.
      Notes& sung = voice->Voice(1)->Notes();
      sung.Add(t, melody[static_cast<std::size_t>(k)], durHalf, 0);
      sung.Add(t + 32, melody[static_cast<std::size_t>((k + 1) % 16)], durQuarter, 0);
      for (int i = 0; i < 2; ++i) {
        const std::size_t syllable = static_cast<std::size_t>(2 * m + i) % verse1.size();
        voice->GlobalEvents().Add(t + 32 * i, evtLyric, 0, 0,
                                  std::string(verse1[syllable]) + "\r" + verse2[syllable]);
      }
      // Flute: eighths in pairs, a dotted quarter in every other measure.
      Notes& fl = flute->Voice(1)->Notes();
      if (m % 2 == 0) {
        for (int i = 0; i < 6; ++i) fl.Add(t + 8 * i, melody[static_cast<std::size_t>((k + i) % 16)] + 12, durEighth, 0);
      } else {
        fl.Add(t, 79, durQuarter, nteDot);
        fl.Add(t + 24, 78, durEighth, 0);
        fl.Add(t + 32, 76, durQuarter, 0);
      }
      // Violin: a melody above, a held note below.
      violin->Voice(1)->Notes().Add(t, melody[static_cast<std::size_t>(k)] + 7, durQuarter, 0);
      violin->Voice(1)->Notes().Add(t + 16, melody[static_cast<std::size_t>((k + 2) % 16)] + 5, durQuarter, 0);
      violin->Voice(1)->Notes().Add(t + 32, melody[static_cast<std::size_t>((k + 4) % 16)] + 4, durQuarter, 0);
      violin->Voice(2)->Notes().Add(t, 62, durHalf, nteDot);
      // Piano: chords above middle C, a bass line below.
      Notes& keys = piano->Voice(1)->Notes();
      for (int beat = 0; beat < 3; ++beat) {
        for (int p : {67, 71, 74}) keys.Add(t + 16 * beat, p + (m % 2) * 2, durQuarter, 0);
      }
      // Cello: a dotted half, tied into the next measure every fourth measure.
      cello->Voice(1)->Notes().Add(t, 43 + (m % 4) * 2, durHalf, nteDot);
      if (m % 4 == 1)
        cello->GlobalEvents().Add(t, evtTie, static_cast<std::uint8_t>((t + kMeasure) >> 8),
                                  static_cast<std::uint8_t>((t + kMeasure) & 255), "1");
      globals.Add(t, evtChord, static_cast<std::uint8_t>(ChordValue(score, chords[static_cast<std::size_t>(m)])));
    }
    // Repeats: measures 3-6 twice, with first and second endings; a coda at measure 8.
    globals.Add(base + 2 * kMeasure, evtRepeatBegin);
    globals.Add(base + 5 * kMeasure, evtSectionDefine, sctEnding1);
    globals.Add(base + 5 * kMeasure, evtRepeatEnd);
    globals.Add(base + 6 * kMeasure, evtSectionDefine, sctEnding2);
    globals.Add(base + 7 * kMeasure, evtSectionDefine, sctCoda);
    // Dynamics, a tempo mark, a text label, an octave line over measures 3 and 4.
    flute->GlobalEvents().Add(base, evtDynamic, dynP);
    flute->GlobalEvents().Add(base + 4 * kMeasure, evtDynamic, dynF);
    flute->GlobalEvents().Add(base + kMeasure, evtText, 0, 0, "dolce");
    flute->GlobalEvents().Add(base + 2 * kMeasure, evtSectionDefine, 0, 1);
    flute->GlobalEvents().Add(base + 3 * kMeasure, evtSectionDefine, 0, 1, "+");
    violin->GlobalEvents().Add(base + 7 * kMeasure, evtTempo, tmpRitardando);
    cello->GlobalEvents().Add(base, evtDynamic, dynMF);
    // The piano's left hand: a bass note on each downbeat.
    for (int m = 0; m < 8; ++m) piano->Voice(1)->Notes().Add(base + m * kMeasure, 43 + (m % 3) * 2, durQuarter, 0);
  }
  // The score ends with a final bar.
  globals.Add(repeats * 8 * kMeasure - kMeasure, evtScoreEnd);
  score.SetChanged(false);
}

// Whether any pixel of the rectangle (twips) is within `tolerance` of colour (packed RGB).
bool HasInk(const QImage& image, int left, int top, int right, int bottom, int color,
            int tolerance = 90) {
  const QColor want(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  for (int y = std::max(0, top / Px); y <= std::min(image.height() - 1, bottom / Px); ++y)
    for (int x = std::max(0, left / Px); x <= std::min(image.width() - 1, right / Px); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - want.red()) + std::abs(c.green() - want.green()) +
              std::abs(c.blue() - want.blue()) <= tolerance)
        return true;
    }
  return false;
}

class PageRender : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(LoadMusicFont()); }
};

TEST_F(PageRender, ARealLookingPageDrawsEverySymbolWhereItBelongs) {
  Score score;
  BuildSong(score, 2);
  QPainterSurface surface(score.PageWidthTwips(), score.PageHeightTwips());
  score.SetWindow(&surface);
  score.RestartPagination(1);
  while (score.Paginating()) score.PaginateStep(Internal{});
  score.PaintWindow();
  ASSERT_NE(surface.Image(), nullptr);
  const QImage& image = *surface.Image();
  const std::string file = NOTECRAFT_QT_TEST_OUTPUT "/pagerender.png";
  ASSERT_TRUE(image.save(QString::fromStdString(file)));

  const DrawContext& dc = score.View(Internal{});
  const auto& bands = score.Bands(Internal{});
  ASSERT_GE(bands.size(), 5u);  // a system of five staves
  const Region& voice = *bands[0];
  const Region& flute = *bands[1];
  const Region& piano = *bands[3];
  const int s = voice.IncY();
  const int mid = (voice.Left() + voice.Right()) / 2;

  // Staff lines, black, across the staff.
  for (int k = 0; k < 5; ++k) {
    const int y = voice.Top() + voice.PadTop() + k * s;
    EXPECT_TRUE(HasInk(image, mid - 30, y, mid + 30, y + Px, 0, 60)) << "line " << k;
  }
  // Both verses under the voice staff, in the chord colour.
  const int lyrics = voice.Bottom();
  EXPECT_TRUE(HasInk(image, voice.Left(), lyrics, voice.Right(), lyrics + 225, dc.ColorChords()));
  EXPECT_TRUE(HasInk(image, voice.Left(), lyrics + 225, voice.Right(), lyrics + 450, dc.ColorChords()));
  // Chord symbols with their diagrams above the first staff.
  EXPECT_TRUE(HasInk(image, voice.Left(), voice.Top() - 900, voice.Right(), voice.Top(), dc.ColorChords()));
  // The flute's dynamics below its staff, in the ties' colour.
  EXPECT_TRUE(HasInk(image, flute.Left(), flute.Top() + flute.PadTop() + 4 * s, flute.Right(),
                     flute.Bottom() + 300, dc.ColorTies()));
  // The piano's lower staff starts with a bass clef, in the bars' colour.
  const int lowerTop = piano.Top() + piano.PadTop() + 8 * s;
  EXPECT_TRUE(piano.Split());
  EXPECT_TRUE(HasInk(image, piano.Left() + s, lowerTop, piano.Left() + 4 * s, lowerTop + 3 * s,
                     dc.ColorBars()));
  // The grand staff is braced, and its bar lines cross the gap between its staves.
  const int pianoTop = piano.Top() + piano.PadTop();
  EXPECT_TRUE(HasInk(image, piano.Left() - 3 * s, pianoTop + 2 * s, piano.Left() - Px, lowerTop + 2 * s,
                     dc.ColorBars()));
  const int bar = piano.Left() + piano.Measure(0)->Low();
  EXPECT_TRUE(HasInk(image, bar - Px, pianoTop + 5 * s, bar + Px, lowerTop - s, dc.ColorBars()));
  // Staff names in the column left of the first system, nothing right of the staves.
  EXPECT_TRUE(HasInk(image, 1080, voice.Top(), voice.Left() - 2 * s, voice.Bottom(), dc.ColorBars()));
  EXPECT_FALSE(HasInk(image, voice.Right() + 3 * Px, voice.Top(), score.PageWidthTwips(), voice.Bottom(),
                      0, 300));
  // Headings at the top, the footer at the bottom.
  EXPECT_TRUE(HasInk(image, 4000, 1440, 8000, 1800, 0, 60));
  EXPECT_TRUE(HasInk(image, 3000, score.PageHeightTwips() - 720 - 200, 9000,
                     score.PageHeightTwips() - 720, 0, 60));
}

TEST_F(PageRender, APrintedPdfHasThePagesPaginationCounted) {
  Score score;
  BuildSong(score, 6);
  const std::string file = NOTECRAFT_QT_TEST_OUTPUT "/pagerender.pdf";
  std::filesystem::remove(file);
  int pages = 0;
  {
    QPdfWriter pdf(QString::fromStdString(file));
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(score.PageWidthTwips() / 20.0, score.PageHeightTwips() / 20.0),
                                            QPageSize::Point),
                                  QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainterSurface surface(&pdf);
    ASSERT_TRUE(surface.IsActive());
    score.SetWindow(&surface);
    score.RestartPagination(1);
    while (score.Paginating()) score.PaginateStep(Internal{});
    pages = score.LastPage();
    for (int page = 1; page <= pages; ++page) {
      if (page > 1) surface.NewPage();
      if (score.CurPage() != page)
        score.SetCurPage(page);
      else
        score.PaintWindow();
      // Each page painted is the page pagination counted.
      EXPECT_EQ(score.LastPage(), pages);
    }
    score.SetWindow(nullptr);
    surface.EndDoc();
  }
  ASSERT_GE(pages, 3);
  const int counted = testing::PdfPages(file);
  if (counted < 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not available";
  EXPECT_EQ(counted, pages);
}

}  // namespace
}  // namespace notecraft
