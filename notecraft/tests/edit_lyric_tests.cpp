// Ornaments toggled by position, lyric verses at the lyric position, the caret walking the
// notes of the selected staff across verses and pages, and text offsets by position.
#include <algorithm>
#include <string>
#include <vector>

#include "edit_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

class Lyrics : public EditFixture {
public:
  std::string LyricAt(int time) {
    const auto e = First().GlobalEvents().Find(time, evtLyric, true);
    return e ? e->Text() : "<none>";
  }
  struct Caret {
    int time = -1, x = 0, y = 0;
    std::string lyric;
    bool ok = false;
  };
  Caret First_() {
    Caret c;
    c.ok = score.FirstActiveXY(c.time, c.x, c.y, c.lyric);
    return c;
  }
  Caret Next() {
    Caret c;
    c.ok = score.NextActiveXY(c.time, c.x, c.y, c.lyric);
    return c;
  }
  Caret Prev() {
    Caret c;
    c.ok = score.PrevActiveXY(c.time, c.x, c.y, c.lyric);
    return c;
  }
};

TEST_F(Lyrics, ASyllableIsSplicedIntoItsVerseKeepingTheOthers) {
  FillQuarters(First(), 1);
  First().SetSelected(true);
  struct Case {
    const char* what;
    const char* old;  // null: no lyric event yet
    int staffVerses, verse;
    std::string text, result;
    int versesAfter;
  };
  const std::vector<Case> cases = {
      {"verse 1 of two", "a\rb", 2, 1, "X", "X\rb", 2},
      {"verse 2 of two", "a\rb", 2, 2, "X", "a\rX", 2},
      {"verse 2 of an empty text", "", 2, 2, "X", "\rX", 2},
      {"a new event", nullptr, 1, 1, "T", "T", 1},
      {"a third verse", "a\rb", 2, 3, "c", "a\rb\rc", 3},
      {"verses beyond the staff's count stay", "a\rb\rc", 1, 1, "X", "X\rb\rc", 1},
      {"after hiding every verse", "a\rb", 0, 1, "X", "X\rb", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    First().GlobalEvents().Remove(16, evtLyric);
    if (c.old) First().GlobalEvents().Add(16, evtLyric, 0, 0, c.old);
    First().SetVerses(Internal{}, c.staffVerses);
    score.SetVerse(Internal{}, c.verse);
    score.SetChanged(false);
    EXPECT_TRUE(score.AddLyric(16, c.text));
    EXPECT_EQ(LyricAt(16), c.result);
    EXPECT_EQ(First().Verses(), c.versesAfter);
    EXPECT_EQ(score.Lyric(), c.text);
    EXPECT_TRUE(score.Changed());
  }
  for (const auto& staff : score.AllStaffs()) staff->SetSelected(false);
  EXPECT_FALSE(score.AddLyric(16, "Y"));
}

TEST_F(Lyrics, NothingIsWrittenWithoutALyricPosition) {
  First().SetSelected(true);
  score.SetChanged(false);
  score.SetLyric("lost");
  EXPECT_FALSE(score.Changed());
  EXPECT_EQ(score.Lyric(), "");
  EXPECT_EQ(First().GlobalEvents().Count(), 0);
}

TEST_F(Lyrics, TheVerseSetterRaisesTheCountAndIgnoresWhatDoesNotFit) {
  FillQuarters(First(), 1);
  First().SetSelected(true);
  First().SetVerses(Internal{}, 2);
  Paint();
  score.SetVerse(3);
  EXPECT_EQ(First().Verses(), 3);
  EXPECT_EQ(score.Verse(), 3);
  score.SetVerse(2);
  EXPECT_EQ(First().Verses(), 3);  // a lower verse keeps the count
  score.SetVerse(300);
  EXPECT_EQ(score.Verse(), 2);
  EXPECT_EQ(First().Verses(), 3);
  score.SetVerse(-1);
  EXPECT_EQ(score.Verse(), 1);
  EXPECT_EQ(First().Verses(), 3);
  score.SetVerse(0);
  EXPECT_EQ(score.Verse(), 1);
  EXPECT_EQ(First().Verses(), 0);
}

TEST_F(Lyrics, EnteredVerseByVerseWithTheCaretAcrossPages) {
  FillQuarters(First(), 80);  // several pages
  First().SetSelected(true);
  First().SetVerses(Internal{}, 1);
  PaginateAll();
  Paint();
  ASSERT_GE(score.LastPage(), 2);

  // Verse 1 on the first three notes of page 1.
  Caret c = First_();
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.time, 0);
  EXPECT_EQ(c.x, NoteAt(1, 0)->X());
  EXPECT_EQ(c.y, Band(1).Bottom());
  for (const char* syllable : {"Ah", "ve", "Ma-"}) {
    score.SetLyric(syllable);
    c = Next();
    ASSERT_TRUE(c.ok);
  }
  EXPECT_EQ(c.time, 48);
  // Verse 2 from the start again: the caret shows verse 2's (empty) syllables.
  score.SetVerse(2);
  EXPECT_EQ(First().Verses(), 2);
  Caret d = First_();
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.lyric, "");
  score.SetLyric("Glo");
  d = Next();
  score.SetLyric("ri");
  d = Prev();
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.time, 0);
  EXPECT_EQ(d.lyric, "Glo");
  EXPECT_EQ(LyricAt(0), "Ah\rGlo");
  EXPECT_EQ(LyricAt(16), "ve\rri");
  EXPECT_EQ(LyricAt(32), "Ma-");
  score.SetVerse(Internal{}, 1);
  Caret e = Next();
  EXPECT_EQ(e.lyric, "ve");

  // Page 2 (a second verse line moved the page breaks): the caret starts at its first
  // note; the walk ends with the page.
  PaginateAll();
  const int pageEnd = score.PageTimes()[0].High();
  score.SetCurPage(2);
  ASSERT_EQ(score.CurPage(), 2);
  Caret f = First_();
  ASSERT_TRUE(f.ok);
  EXPECT_EQ(f.time, pageEnd);
  score.SetLyric("two");
  EXPECT_EQ(LyricAt(pageEnd), "two\r");  // a place for each verse the staff shows
  int last = f.time;
  for (Caret g = Next(); g.ok; g = Next()) last = g.time;
  EXPECT_EQ(last, score.PageTimes()[1].High() - 16);
  EXPECT_EQ(score.Editing(Internal{}).CaretTime, -1);
  EXPECT_FALSE(Prev().ok);  // until the caret is placed again
  EXPECT_TRUE(First_().ok);
  EXPECT_FALSE(Prev().ok);  // nothing before the page's first note
}

// What the page shows of the system of band 1 down to its lyric lines, in drawing order,
// without the clearing of the window or the erasing of the rectangle.
std::vector<SurfaceOp> SystemOps(const std::vector<SurfaceOp>& ops, const Region& band,
                                 int bottom) {
  std::vector<SurfaceOp> kept;
  for (const SurfaceOp& op : ops) {
    if (op.What == SurfaceOp::Kind::Clear || op.What == SurfaceOp::Kind::Box || op.Points.empty())
      continue;
    const SurfacePoint p = op.Points.front();
    if (p.X >= PixelSnap(band.Left()) && p.X <= band.Right() && p.Y >= PixelSnap(band.Top()) &&
        p.Y <= bottom)
      kept.push_back(op);
  }
  return kept;
}

TEST_F(Lyrics, SyllablesTypedAtTheCaretShowAsAFullPaintShowsThem) {
  // GIVEN two measures of quarters with room for two verses, and a staff below
  FillQuarters(First(), 2);
  First().SetVerses(Internal{}, 2);
  First().SetSelected(true);
  FillQuarters(AddStaff(), 2, 55);
  Paint();
  const int bottom = Band(2).Top() - 1;  // the lyric lines end above the next staff
  struct Entry {
    int verse;
    const char* syllable;
  };
  const std::vector<Entry> entries = {{1, "Twin-"},
                                      {1, "kle,"},
                                      {1, "twin-"},
                                      {1, "kle"},
                                      {1, "lit-"},
                                      {1, "tle"},
                                      {2, "Up"},
                                      {2, "a-"},
                                      {2, "bove"},
                                      {2, "the"},
                                      {2, "Supercalifragilistic"}};
  auto widths = [&] {
    std::vector<int> w;
    for (int i = 0; i < Band(1).Measures(); ++i) w.push_back(Band(1).Measure(i)->Low());
    return w;
  };
  int relaid = 0;
  Caret c;
  int verse = 0;
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.syllable);
    if (e.verse != verse) {
      verse = e.verse;
      score.SetVerse(Internal{}, verse);
      c = First_();
      ASSERT_TRUE(c.ok);
    }
    // WHEN a syllable is stored at the caret, as lyric entry does
    surface.ClearRecord();
    const std::vector<int> before = widths();
    ASSERT_TRUE(score.AddLyric(c.time, e.syllable));
    const std::vector<SurfaceOp> typed = surface.Ops();
    // THEN the window shows what a paint of the page shows, operation for operation: the
    // system repainted, or the page when the syllable widened its measure
    const bool paintedAnew = !surface.Ops(SurfaceOp::Kind::Clear).empty();
    EXPECT_EQ(paintedAnew, widths() != before);
    relaid += paintedAnew;
    surface.ClearRecord();
    score.PaintWindow();
    const std::vector<SurfaceOp> painted = surface.Ops();
    EXPECT_EQ(SystemOps(typed, Band(1), bottom), SystemOps(painted, Band(1), bottom));
    // AND no syllable shows its hyphen
    for (const SurfaceOp& op : painted)
      EXPECT_FALSE(op.What == SurfaceOp::Kind::Text && op.Text.size() > 1 && op.Text.back() == '-')
          << op.Text;
    // AND the caret goes on to the next note
    c = Next();
    ASSERT_TRUE(c.ok);
  }
  // Both ways were taken.
  EXPECT_GE(relaid, 1);
  EXPECT_LT(relaid, static_cast<int>(entries.size()));
  EXPECT_EQ(LyricAt(0), "Twin-\rUp");
  EXPECT_EQ(LyricAt(64), "lit-\rSupercalifragilistic");
}

TEST_F(Lyrics, FirstActiveRaisesTheStaffsVerseCount) {
  FillQuarters(First(), 2);
  First().SetSelected(true);
  First().SetVerses(Internal{}, 1);
  Paint();
  score.SetVerse(Internal{}, 3);
  EXPECT_TRUE(First_().ok);
  EXPECT_EQ(First().Verses(), 3);
  for (const auto& staff : score.AllStaffs()) staff->SetSelected(false);
  EXPECT_FALSE(First_().ok);
}

TEST_F(Lyrics, OrnamentsToggleOnTheNoteUnderThePoint) {
  FillQuarters(First(), 2);
  Paint();
  const auto note = NoteAt(1, 16);
  note->SetFlags(Internal{}, nteBowUp | nteDot);
  const int y = Band(1).Top() + Band(1).PadTop() + Band(1).IncY();
  score.SetChanged(false);
  score.AddOrnamentByHit(note->X() + 10, y, ornTrill);
  EXPECT_EQ(NoteAt(1, 16)->Flags(), nteTrill | nteDot);
  EXPECT_TRUE(score.Changed());
  EXPECT_FALSE(score.CanUndo());
  score.AddOrnamentByHit(note->X() + 10, y, ornTrill);
  EXPECT_EQ(NoteAt(1, 16)->Flags(), nteDot);
  score.AddOrnamentByHit(note->X() + 10, y, ornMordent);
  EXPECT_EQ(NoteAt(1, 16)->Flags(), nteDot | nteMordent);
  score.AddOrnamentByHit(note->X() + 10, y, 3);                // not an ornament
  score.AddOrnamentByHit(Band(1).Right() + 100, y, ornTrill);  // no note there
  EXPECT_EQ(NoteAt(1, 16)->Flags(), nteDot | nteMordent);
}

TEST_F(Lyrics, TextOffsetsFromTheMiddleLine) {
  Paint();
  const Region& band = Band(1);
  const int middle = band.Top() + band.PadTop() + 2 * band.IncY();
  const int x = band.Left() + 500;
  int o1 = -1, o2 = -1, inc = 0;
  score.TextOffsetByPos(o1, o2, x, middle, inc);
  EXPECT_EQ(o1, 0);
  EXPECT_EQ(o2, 0);
  EXPECT_EQ(inc, band.IncY() / 2);
  score.TextOffsetByPos(o1, o2, x, middle - 3 * band.IncY(), inc);
  EXPECT_EQ(o1, 6);
  EXPECT_EQ(o2, 0);
  score.TextOffsetByPos(o1, o2, x, middle + band.IncY(), inc);
  EXPECT_EQ(o2, 2);
  int y = 0;
  score.TextPosByOffset(y, 0, 2, inc, true);
  EXPECT_EQ(y, middle + band.IncY());
  y = 1000;
  score.TextPosByOffset(y, 2, 0, inc);
  EXPECT_EQ(y, 1000 - band.IncY());
  inc = 77;
  score.TextOffsetByPos(o1, o2, -100, -100, inc);  // off the staves
  EXPECT_EQ(o1 + o2, 0);
  EXPECT_EQ(inc, 77);
}

}  // namespace
}  // namespace notecraft
