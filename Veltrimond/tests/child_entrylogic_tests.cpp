// Drum lists, lyric entry, chord names, the bass note and text labels, without a window.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Veltrimond/child/chdvltmain_drumpanel.h"
#include "Veltrimond/child/chdvltmain_labels.h"
#include "Veltrimond/child/chdvltmain_lyrics.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

// --- Drum lists ---

TEST(DrumSlots, ListsEachSoundWithItsSlot) {
  using Codes = std::array<int, 8>;
  const std::vector<std::tuple<Codes, std::vector<DrumSlot>>> cases = {
      {{130, 139, 143, 0, 150}, {{1, 130}, {2, 139}, {3, 143}}},         // stops at a 0 code
      {{130, 130, 139}, {{1, 130}}},                                     // slot 2 repeats slot 1
      {{130, 139, 139, 143, 130, 150}, {{1, 130}, {2, 139}, {4, 143}}},  // neighbours, repeat
      {{0, 139}, {}},
      {{130, 139, 143, 150, 151, 152, 153, 154},
       {{1, 130}, {2, 139}, {3, 143}, {4, 150}, {5, 151}, {6, 152}, {7, 153}, {8, 154}}},
  };
  for (const auto& [codes, expected] : cases) EXPECT_EQ(DrumSlots(codes), expected);
}

class DrumScore : public ::testing::Test {
protected:
  void SetUp() override { score.CreateDefault(); }
  // A staff at the end whose only voice plays a drum kit of table row `row`.
  std::shared_ptr<notecraft::Staff> AddKit(int row, std::vector<int> codes,
                                           const std::string& description) {
    auto staff = notecraft::AddStaff(score);
    staff->Clear();
    auto kit = score.AllInstruments().Add(score.AllInstruments().NewID(), row);
    for (std::size_t i = 0; i < codes.size(); ++i)
      kit->SetDrumCode(static_cast<int>(i) + 1, codes[i]);
    staff->AddVoice(kit);
    staff->SetDescription(description);
    return staff;
  }
  notecraft::Score score;
};

TEST_F(DrumScore, EachDrumStaffListsItsOwnKitFromItsFirstSlot) {
  EXPECT_TRUE(DrumStaves(score).empty());
  // Staff B's first code equals staff A's last: B still lists it, as slot 1.
  AddKit(129, {130, 139, 139, 143}, "Kit A");
  AddKit(130, {143, 150}, "Kit B");
  const auto staves = DrumStaves(score);
  ASSERT_EQ(staves.size(), 2u);
  EXPECT_EQ(staves[0].StaffIndex, 2);
  EXPECT_EQ(staves[0].Caption, QStringLiteral("2: Kit A"));
  ASSERT_EQ(staves[0].Sounds.size(), 3u);
  EXPECT_EQ(staves[0].Sounds[2].first, 4);
  EXPECT_EQ(staves[0].Sounds[2].second, QString::fromStdString(score.InsDesc(143)));
  EXPECT_EQ(staves[1].Caption, QStringLiteral("3: Kit B"));
  ASSERT_EQ(staves[1].Sounds.size(), 2u);
  EXPECT_EQ(staves[1].Sounds[0], std::make_pair(1, QString::fromStdString(score.InsDesc(143))));
  EXPECT_EQ(staves[1].Sounds[1].first, 2);
}

// --- Lyric entry ---

// A caret over pages of notes: (time, x, y, syllable) per note.
struct FakeCaret : LyricCaret {
  struct Note {
    int Time;
    int X;
    int Y;
  };
  std::vector<std::vector<Note>> Pages;
  std::map<int, std::string> Lyrics;
  std::vector<std::pair<int, std::string>> Stored;
  int Page = 1;
  int Pos = -1;

  const std::vector<Note>& Cur() const { return Pages.at(static_cast<std::size_t>(Page - 1)); }
  bool At(int pos, int& t, int& x, int& y, std::string& s) {
    if (pos < 0 || pos >= static_cast<int>(Cur().size())) return false;
    Pos = pos;
    const Note& n = Cur()[static_cast<std::size_t>(pos)];
    t = n.Time;
    x = n.X;
    y = n.Y;
    s = Lyrics.count(t) ? Lyrics[t] : std::string();
    return true;
  }
  bool First(int& t, int& x, int& y, std::string& s) override { return At(0, t, x, y, s); }
  bool Next(int& t, int& x, int& y, std::string& s) override { return At(Pos + 1, t, x, y, s); }
  bool Prev(int& t, int& x, int& y, std::string& s) override { return At(Pos - 1, t, x, y, s); }
  bool Store(int t, const std::string& text) override {
    Stored.emplace_back(t, text);
    Lyrics[t] = text;
    return true;
  }
  int Verse() const override { return VerseNow; }
  int VerseLimit() const override { return Limit; }
  void SetVerse(int verse) override {
    VerseNow = verse;
    Pos = -1;
    if (Relayout) Relayout();
  }
  int CurPage() const override { return Page; }
  int LastPage() const override { return static_cast<int>(Pages.size()); }
  void SetCurPage(int page) override {
    Page = page;
    Pos = -1;
  }

  int VerseNow = 1;
  int Limit = 2;
  std::function<void()> Relayout;  // what a new verse's line does to the pages
};

struct FakeLyricView : LyricEntry::View {
  std::vector<std::string> Log;
  void EntryStarted() override { Log.push_back("started"); }
  void PlaceBox(int left, int top, int width, const QString& text) override {
    Log.push_back("place " + std::to_string(left) + "," + std::to_string(top) + " " +
                  std::to_string(width) + " '" + text.toStdString() + "'");
  }
  void ResizeBox(int left, int width) override {
    Log.push_back("resize " + std::to_string(left) + " " + std::to_string(width));
  }
  void EntryEnded() override { Log.push_back("ended"); }
  void VerseChosen(int verse) override { Log.push_back("verse " + std::to_string(verse)); }
};

// Every character is 100 twips wide.
TextBoxWidth Hundreds() {
  return TextBoxWidth{[](const QString& text) { return static_cast<int>(text.size()) * 100; }};
}

class Lyrics : public ::testing::Test {
protected:
  Lyrics() {
    caret.Pages = {{{0, 1000, 2000}, {16, 2000, 2000}}, {{64, 1000, 5000}, {80, 2000, 5000}}};
  }
  FakeCaret caret;
  FakeLyricView view;
  LyricEntry entry{caret, view, Hundreds()};
  using Key = LyricEntry::Key;
};

TEST_F(Lyrics, SyllablesWithHyphensWalkTheNotesAcrossPages) {
  ASSERT_TRUE(entry.Start());
  EXPECT_EQ(view.Log.back(), "place 805,2000 390 ''");  // "XXX" is 300: at least 390
  entry.OnKey(Key::Hyphen, QStringLiteral("ab"));
  entry.OnKey(Key::Space, QStringLiteral("cd"));
  EXPECT_EQ(caret.Page, 2);             // the next page opened at its first note
  entry.OnKey(Key::Hyphen, QString());  // a lone hyphen on an empty box
  entry.OnKey(Key::Space, QStringLiteral("ef"));
  const std::vector<std::pair<int, std::string>> stored = {
      {0, "ab-"}, {16, "cd"}, {64, "-"}, {80, "ef"}};
  EXPECT_EQ(caret.Stored, stored);
  EXPECT_FALSE(entry.Active());  // the last note of the last page ends entry
  EXPECT_EQ(view.Log.back(), "ended");
  // Hiding the box takes its focus: that neither stores again nor ends twice.
  entry.OnFocusLost(QStringLiteral("ef"));
  EXPECT_EQ(caret.Stored.size(), 4u);
  EXPECT_EQ(std::count(view.Log.begin(), view.Log.end(), "ended"), 1);
}

TEST_F(Lyrics, AHyphenAtTheLastNoteIsStoredOnceWithItsHyphen) {
  caret.Pages = {{{0, 1000, 2000}}};
  entry.Start();
  entry.OnKey(Key::Hyphen, QStringLiteral("la"));
  entry.OnFocusLost(QStringLiteral("la"));  // the box, hidden, loses the focus
  const std::vector<std::pair<int, std::string>> stored = {{0, "la-"}};
  EXPECT_EQ(caret.Stored, stored);
  EXPECT_EQ(caret.Lyrics[0], "la-");
}

TEST_F(Lyrics, TabOverUnchangedSyllablesStoresNothingAndShiftTabGoesBack) {
  caret.Lyrics = {{0, "la"}, {16, "di"}};
  entry.Start();
  entry.OnKey(Key::Tab, QStringLiteral("la"));
  EXPECT_EQ(entry.Time(), 16);
  entry.OnKey(Key::BackTab, QStringLiteral("di"));
  EXPECT_EQ(entry.Time(), 0);
  EXPECT_TRUE(caret.Stored.empty());
  // Shift+Tab at the first note of page 1 ends entry.
  entry.OnKey(Key::BackTab, QStringLiteral("la"));
  EXPECT_FALSE(entry.Active());
  EXPECT_TRUE(caret.Stored.empty());
}

TEST_F(Lyrics, ShiftTabFromAPageStartGoesToThePreviousPagesFirstNote) {
  entry.Start();
  entry.OnKey(Key::Tab, QString());
  entry.OnKey(Key::Tab, QString());
  ASSERT_EQ(caret.Page, 2);
  entry.OnKey(Key::BackTab, QString());
  EXPECT_EQ(caret.Page, 1);
  EXPECT_EQ(entry.Time(), 0);
  EXPECT_TRUE(entry.Active());
}

TEST_F(Lyrics, EscStoresAChangedSyllableAndEnds) {
  caret.Lyrics = {{0, "la"}};
  entry.Start();
  entry.OnKey(Key::Escape, QStringLiteral("lo"));
  const std::vector<std::pair<int, std::string>> stored = {{0, "lo"}};
  EXPECT_EQ(caret.Stored, stored);
  EXPECT_FALSE(entry.Active());

  LyricEntry again{caret, view, Hundreds()};
  again.Start();
  again.OnKey(Key::Escape, QStringLiteral("lo"));  // unchanged
  EXPECT_EQ(caret.Stored.size(), 1u);
}

TEST_F(Lyrics, AnotherVerseGoesOnAtTheSameNoteEvenWhenItsLineMovedItToTheNextPage) {
  caret.Lyrics = {{16, "la"}};
  entry.Start();
  entry.OnKey(Key::Tab, QStringLiteral(""));
  ASSERT_EQ(entry.Time(), 16);
  // The new verse's line leaves no room for the second note on page 1.
  caret.Relayout = [this] {
    caret.Pages = {{{0, 1000, 2000}}, {{16, 1000, 5000}, {64, 2000, 5000}}};
  };
  EXPECT_TRUE(entry.ChooseVerse(2, QStringLiteral("lo")));
  const std::vector<std::pair<int, std::string>> stored = {{16, "lo"}};
  EXPECT_EQ(caret.Stored, stored) << "the changed syllable first, on its verse";
  EXPECT_EQ(caret.VerseNow, 2);
  EXPECT_EQ(caret.Page, 2);
  EXPECT_EQ(entry.Time(), 16);
  EXPECT_EQ(view.Log[view.Log.size() - 2], "verse 2");
  EXPECT_TRUE(entry.Active());
  // Beyond the verses one may choose, or the same one: nothing changes.
  for (int verse : {0, 2, 3}) EXPECT_FALSE(entry.ChooseVerse(verse, QStringLiteral("lo"))) << verse;
  EXPECT_EQ(caret.VerseNow, 2);
  EXPECT_EQ(entry.NextVerse(), 1);
  caret.Limit = 3;
  EXPECT_EQ(entry.NextVerse(), 3);
}

TEST_F(Lyrics, NoNoteOnThePageMeansNoEntry) {
  caret.Pages = {{}};
  EXPECT_FALSE(entry.Start());
  EXPECT_FALSE(entry.Active());
  EXPECT_EQ(view.Log, std::vector<std::string>{"ended"});
}

TEST_F(Lyrics, TheBoxGrowsAndShrinksAboutItsCentre) {
  entry.Start();
  EXPECT_EQ(entry.Width(), 390);
  EXPECT_EQ(entry.Left(), 1000 - 195);
  entry.OnTextChanged(QStringLiteral("a"));  // fits: "XXa" 300, 390 - 300 within slack
  EXPECT_EQ(entry.Width(), 390);
  entry.OnTextChanged(QStringLiteral("abcd"));  // "XXabcd" 600 > 390: "XXXXabcd" 800
  EXPECT_EQ(entry.Width(), 800);
  EXPECT_EQ(entry.Left(), 805 - 205);
  entry.OnTextChanged(QStringLiteral("abcdef"));  // fit 800: stays
  EXPECT_EQ(entry.Width(), 800);
  entry.OnTextChanged(QStringLiteral("a"));  // 800 > 300 + 300: shrinks to "XXXXa" 500
  EXPECT_EQ(entry.Width(), 500);
  EXPECT_EQ(entry.Left(), 600 + 150);
  EXPECT_EQ(view.Log.back(), "resize 750 500");
}

TEST(TextBoxWidth, NeverBelowTheMinimum) {
  const TextBoxWidth width = Hundreds();
  EXPECT_EQ(width.OnArrival(QString()), 390);
  EXPECT_EQ(width.OnOpen(QString()), 400);
  EXPECT_EQ(width.OnArrival(QStringLiteral("abc")), 600);
  EXPECT_EQ(width.AfterEdit(390, QString()), 390);
  EXPECT_EQ(width.AfterEdit(200, QString()), 400);
}

// --- Chord names and the bass note ---

TEST(ChordNames, APickNamesOneTableEntryOrNone) {
  // Both spellings in one table.
  const std::vector<std::pair<QString, int>> table = {
      {QStringLiteral("C Maj"), 0},  {QStringLiteral("F Maj"), 5}, {QStringLiteral("F Min"), 6},
      {QStringLiteral("F 7"), 7},    {QStringLiteral("G"), 9},     {QStringLiteral("Bbm7"), 10},
      {QStringLiteral("Bbmaj7"), 11}};
  const QString blank = QStringLiteral(" ");
  EXPECT_EQ(ChordNameFor(QStringLiteral("F"), true, blank), QStringLiteral("F Min"));
  EXPECT_EQ(ChordNameFor(QStringLiteral("F"), false, blank), QStringLiteral("F Maj"));
  EXPECT_EQ(ChordNameFor(QStringLiteral("F"), false, QStringLiteral("7")), QStringLiteral("F 7"));
  const std::vector<std::tuple<const char*, bool, const char*, std::optional<int>>> picks = {
      {"F", true, " ", 6},
      {"f", false, " ", 5},
      {"F", false, "7", 7},
      {"G", false, " ", 9},  // compact: plain major is the root alone
      {"Bb", true, "7", 10},
      {"Bb", false, "maj7", 11},
      {"Bb", false, "7", std::nullopt},
      {"G", true, " ", std::nullopt},
      {"C", true, "7", std::nullopt},  // never the first entry
  };
  for (const auto& [root, minor, quality, number] : picks)
    EXPECT_EQ(FindChord(table, QString::fromLatin1(root), minor, QString::fromLatin1(quality)),
              number)
        << root << (minor ? " minor " : " ") << quality;
  EXPECT_EQ(FindChord({}, QStringLiteral("C"), false, blank), std::nullopt);
}

TEST(BassNote, OneNoteNameLetterThenSharpOrFlat) {
  const std::vector<std::tuple<QString, int, QChar, std::optional<QString>>> cases = {
      {QString(), 0, QLatin1Char('f'), QStringLiteral("F")},
      {QStringLiteral("F"), 1, QLatin1Char('b'), QStringLiteral("Fb")},
      {QStringLiteral("F"), 1, QLatin1Char('B'), QStringLiteral("Fb")},
      {QStringLiteral("F"), 1, QLatin1Char('#'), QStringLiteral("F#")},
      {QString(), 0, QLatin1Char('h'), std::nullopt},
      {QString(), 0, QLatin1Char('#'), std::nullopt},
      {QStringLiteral("F"), 1, QLatin1Char('G'), std::nullopt},
      {QStringLiteral("F#"), 2, QLatin1Char('G'), std::nullopt},  // a third character
      {QStringLiteral("F#"), 0, QLatin1Char('G'), std::nullopt},  // "GF#"
      {QStringLiteral("#"), 0, QLatin1Char('a'), QStringLiteral("A#")},
      {QString(), 3, QLatin1Char('A'), std::nullopt},
  };
  for (const auto& [text, caret, typed, expected] : cases)
    EXPECT_EQ(BassAfterKey(text, caret, typed), expected) << text.toStdString() << " " << caret;
  EXPECT_TRUE(ValidBass(QString()));
  EXPECT_TRUE(ValidBass(QStringLiteral("Bb")));
  EXPECT_FALSE(ValidBass(QStringLiteral("F#G")));
  EXPECT_FALSE(ValidBass(QStringLiteral("fb")));
}

TEST(ChordPanelPlace, StaysInsideThePageArea) {
  const QSize panel(150, 200), area(800, 600);
  EXPECT_EQ(ClampPanel({100, 100}, panel, area), QPoint(100, 100));
  EXPECT_EQ(ClampPanel({750, 500}, panel, area), QPoint(650, 400));
  EXPECT_EQ(ClampPanel({50, 50}, panel, QSize(100, 120)), QPoint(0, 0));  // wider than the area
}

// --- Text labels ---

struct FakeLabelTarget : LabelEntry::Target {
  int BoxTop(int x, int y, const LabelPlace& place) override {
    (void)x;
    return y - 100 * place.Offset1;
  }
  bool Store(const LabelPlace& place, const QString& text) override {
    if (Refuse) return false;
    Stored.push_back("staff " + std::to_string(place.Staff) + " @" + std::to_string(place.Time) +
                     " " + text.toStdString());
    return true;
  }
  bool Refuse = false;
  std::vector<std::string> Stored;
};

struct FakeLabelView : LabelEntry::View {
  void PlaceBox(int left, int top, int width, const QString& text) override {
    Log.push_back("place " + std::to_string(left) + "," + std::to_string(top) + " " +
                  std::to_string(width) + " '" + text.toStdString() + "'");
  }
  void ResizeBox(int width) override { Log.push_back("resize " + std::to_string(width)); }
  void EntryEnded() override { Log.push_back("ended"); }
  void NotStored(const QString& text) override {
    Log.push_back("not stored " + text.toStdString());
  }
  std::vector<std::string> Log;
};

// The place a box was opened on, wherever the box stands when it is committed.
TEST(TextLabel, CommitsAChangedTextOnceAtThePlaceItWasOpenedOn) {
  FakeLabelTarget target;
  FakeLabelView view;
  LabelEntry label{target, view, Hundreds()};
  label.Open(500, 900, LabelPlace{2, 72, 0, 0}, nullptr);
  EXPECT_EQ(view.Log.back(), "place 500,900 400 ''");
  label.OnTextChanged(QStringLiteral("Allegro"));
  EXPECT_EQ(label.Left(), 500);  // the left edge stays
  label.Commit(QStringLiteral("Allegro"));
  label.Commit(QStringLiteral("Allegro"));  // hiding the box: no second store
  EXPECT_EQ(target.Stored, std::vector<std::string>{"staff 2 @72 Allegro"});
  EXPECT_EQ(std::count(view.Log.begin(), view.Log.end(), "ended"), 1);
}

TEST(TextLabel, EscAndUnchangedOrEmptyNewTextsStoreNothing) {
  FakeLabelTarget target;
  FakeLabelView view;
  LabelEntry label{target, view, Hundreds()};
  const LabelPlace click{1, 70, 0, 0};
  label.Open(500, 900, click, nullptr);
  label.Cancel();
  label.Commit(QStringLiteral("late"));
  label.Open(500, 900, click, nullptr);
  label.Commit(QString());  // a new label left empty
  const notecraft::GlobalEvent existing(64, notecraft::evtText, 1, 0, "rit.");
  label.Open(600, 900, LabelPlace{1, 64, 1, 0}, &existing);
  EXPECT_EQ(label.Top(), 800);
  label.Commit(QStringLiteral("rit."));
  EXPECT_TRUE(target.Stored.empty());
  // Emptying an existing label stores the empty text.
  label.Open(600, 900, LabelPlace{1, 64, 1, 0}, &existing);
  label.Commit(QString());
  EXPECT_EQ(target.Stored, std::vector<std::string>{"staff 1 @64 "});
}

TEST(TextLabel, ATextTheScoreRefusesIsReportedNotDropped) {
  FakeLabelTarget target;
  FakeLabelView view;
  LabelEntry label{target, view, Hundreds()};
  target.Refuse = true;
  label.Open(500, 900, LabelPlace{3, 0, 0, 0}, nullptr);
  label.Commit(QStringLiteral("Coda"));
  EXPECT_FALSE(label.Active());
  ASSERT_GE(view.Log.size(), 2u);
  EXPECT_EQ(view.Log[view.Log.size() - 2], "ended");
  EXPECT_EQ(view.Log.back(), "not stored Coda");
}

TEST(TextLabel, TheMeasuresLabelIsTheLastTextUpToItsEnd) {
  notecraft::Score score;
  score.CreateDefault();
  auto staff = score.Staff(1);
  ASSERT_TRUE(staff);
  EXPECT_EQ(MeasureLabel(*staff, 64, 64), nullptr);
  staff->GlobalEvents().Add(10, notecraft::evtText, 0, 0, "before");
  EXPECT_EQ(MeasureLabel(*staff, 64, 64), nullptr);  // it lies before the measure
  staff->GlobalEvents().Add(70, notecraft::evtText, 0, 0, "in");
  staff->GlobalEvents().Add(128, notecraft::evtText, 0, 0, "after");
  auto found = MeasureLabel(*staff, 64, 64);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Text(), "in");
}

}  // namespace
}  // namespace veltrimond
