// Repainting one system after an entry, on pixels: the system repainted in place looks
// exactly as a full paint of the same score draws it, and what stands left of the staves
// (brackets, braces, names) is untouched. Saved as partialrepaint.png for a person to look
// at.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>

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

namespace notecraft {
namespace {

constexpr int Px = 15;

std::shared_ptr<Staff> AddStaff(Score& score, int program, int clef, int group) {
  auto& instruments = score.AllInstruments();
  auto instrument = instruments.Add(instruments.NewID(), program);
  auto staff = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Staff");
  staff->Clear();
  staff->AddVoice(instrument);
  staff->SetDefaultClef(clef);
  staff->SetGroupID(Internal{}, group);
  for (int t = 0; t < 16 * 64; t += 16)
    staff->Voice(1)->Notes().Add(t, clef == clfBass ? 48 + t / 16 % 5 : 67 + t / 16 % 5, durQuarter,
                                 0);
  return staff;
}

// Whether two images hold the same pixels inside a rectangle (twips).
bool SamePixels(const QImage& a, const QImage& b, int left, int top, int right, int bottom) {
  for (int y = top / Px; y <= bottom / Px && y < a.height(); ++y)
    for (int x = left / Px; x <= right / Px && x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

TEST(PartialRepaintPixels, TheRepaintedSystemEqualsAFullPaint) {
  ASSERT_TRUE(LoadMusicFont());
  Score score;
  score.CreateDefault();
  score.SetTitle("");
  score.SetComposer("");
  score.SetArrangedBy("");
  score.SetKey(2);
  score.AllStaffs().RemoveStaff(Internal{}, 1);
  // Two braced violins in a string bracket, a bassoon, a piano's grand staff; a key change
  // in the second system leaves its shifts behind for the repaint to clear.
  const auto violin = AddStaff(score, 40, clfTreble, grpString);
  AddStaff(score, 40, clfTreble, grpString);
  AddStaff(score, 70, clfBass, grpWind);
  AddStaff(score, 0, clfGrand, grpPiano);
  violin->SetBrace(Internal{}, 2);
  score.AllGlobals().Add(0, 101, 0, 0, "");  // staves bracketed by group
  QPainterSurface surface(score.PageWidthTwips(), score.PageHeightTwips());
  score.SetWindow(&surface);
  score.RestartPagination(1);
  while (score.Paginating()) score.PaginateStep(Internal{});
  score.PaintWindow();
  const auto& bands = score.Bands(Internal{});
  ASSERT_GE(bands.size(), 8u);
  ASSERT_TRUE(bands[4]->First());
  violin->GlobalEvents().Add(bands[4]->Measure(1)->High(), evtKeyChange, 251);  // five flats
  score.PaintWindow();
  const QImage before = surface.Image()->copy();

  // A pitch joining the second violin's chord at 16: entry repaints the first system.
  const Region& band = *score.Bands(Internal{})[1];
  const int unit = (band.Measure(0)->Low() - band.MeasurePad(0)) / 64;
  const int x = band.Left() + band.MeasurePad(0) + 16 * unit + unit / 2;
  const int y = band.Top() + band.PadTop() + 4 * band.IncY() - 30;
  score.AddNoteByHit(x, y, durQuarter, 0);
  ASSERT_EQ(score.Staff(2)->Voice(1)->Notes().Lookup(16)->ValueCount(), 2);
  const QImage repainted = surface.Image()->copy();
  surface.Image()->save(QString::fromStdString(NOTECRAFT_QT_TEST_OUTPUT "/partialrepaint.png"));
  score.PaintWindow();
  const QImage full = surface.Image()->copy();

  const Region& first = *score.Bands(Internal{})[0];
  const Region& last = *score.Bands(Internal{})[3];
  // The group bracket's top hook reaches over the staves' left edge, where the repaint
  // erases it: compare from two line spaces in.
  EXPECT_TRUE(SamePixels(repainted, full, first.Left() + 2 * first.IncY(), first.Top(),
                         last.Right(), last.Bottom()));
  EXPECT_FALSE(
      SamePixels(before, repainted, first.Left(), first.Top(), last.Right(), last.Bottom()));
  // Left of the staves (brace, bracket, sub-bracket) nothing changed and something stands.
  EXPECT_TRUE(SamePixels(before, repainted, 0, first.Top(), first.Left() - Px, last.Bottom()));
  QImage blank(before.size(), before.format());
  blank.fill(Qt::white);
  EXPECT_FALSE(SamePixels(blank, before, 0, first.Top(), first.Left() - Px, last.Bottom()));
  score.SetWindow(nullptr);
}

}  // namespace
}  // namespace notecraft
