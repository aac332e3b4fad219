// Copying, cutting and pasting notes as clipboard text: the text written for a selection,
// round trips across staves and voices, and texts from elsewhere, damaged or hostile.
#include <limits>
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/core/platform.h"
#include "notecraft/edit/clipboardnotation.h"

namespace notecraft {
namespace {

using namespace testing;

// A platform with a clipboard of its own, so no test sees another's text.
class ClipboardPlatform : public Platform {
public:
  ClipboardPlatform() { SetPlatform(this); }
  ~ClipboardPlatform() override { SetPlatform(nullptr); }
  ClipboardPlatform(const ClipboardPlatform&) = delete;
  ClipboardPlatform& operator=(const ClipboardPlatform&) = delete;
};

class Clipboard : public EditFixture {
public:
  // Staff 1: a C major triad at 0 and quarters D, E, F after it, then a measure of
  // quarters; staff 2: quarters in two measures, and a second, empty voice.
  void SetUp() override {
    AddStaff();
    FillQuarters(First(), 2, 67);
    VoiceOf(1)->Notes().Remove(0);
    for (int p : {60, 64, 67}) VoiceOf(1)->Notes().Add(0, p, durQuarter, 0);
    VoiceOf(1)->Notes().ByIndex(2)->SetFlags(Internal{}, nteStacato);
    FillQuarters(*score.Staff(2), 2, 55);
    AddVoice(*score.Staff(2));
    Paint();
  }
  int Select(int band, int from, int to) {
    const Region& b = Band(band);
    const int staff = b.Staff();
    return score.SetSelection(NoteAt(staff, from, score.Voice())->X() - 5, b.Top() + 5,
                              NoteAt(staff, to, score.Voice())->X() + 5 + b.IncY(), b.Bottom() - 5);
  }
  // The target of a paste: the staff and voice that are active, the measure selected.
  void Target(int staff, int voice, int measure) {
    for (const auto& s : score.AllStaffs()) s->SetSelected(s->Index() == staff);
    score.SetVoice(voice);
    score.SetSelectedMeasure(Internal{}, measure);
  }
  // time:duration:flags:pitches of every note of a voice.
  std::vector<std::string> Describe(int staff, int voice = 1) {
    std::vector<std::string> out;
    for (const auto& n : VoiceOf(staff, voice)->Notes()) {
      std::string s = std::to_string(n->NoteTime()) + ":" + std::to_string(n->Duration()) + ":" +
                      std::to_string(n->Flags()) + ":";
      for (int p : n->Values()) s += std::to_string(p) + ",";
      out.push_back(s);
    }
    return out;
  }
  std::string Id(int staff) { return score.Staff(staff)->StaffID(Internal{}); }

  ClipboardPlatform platform;
};

TEST_F(Clipboard, CopyWritesTheSelectionAndPasteRebuildsItInAnotherMeasureStaffAndVoice) {
  ASSERT_EQ(Select(1, 0, 16), 2);
  EXPECT_EQ(score.PutClipboard(), 2);
  const std::string voice = VoiceOf(1)->ID();
  EXPECT_EQ(platform.ClipboardText(),
            Id(1) + ":" + voice + "@0#0#16#0#60|64|67#16#16#" + std::to_string(nteStacato) + "#67");
  EXPECT_EQ(Describe(1).size(), 8u);  // a copy leaves the notes

  Target(2, 2, 2);
  score.SetChanged(false);
  score.GetClipboard();
  EXPECT_EQ(Describe(2, 2),
            (std::vector<std::string>{"64:16:0:60,64,67,",
                                      "80:16:" + std::to_string(nteStacato) + ":67,"}));
  EXPECT_TRUE(score.Changed());
}

TEST_F(Clipboard, SecondMeasureSelectionKeepsItsOffsetAndCutRemovesIt) {
  ASSERT_EQ(Select(1, 80, 112), 3);
  EXPECT_EQ(score.PutClipboard(true), 3);
  EXPECT_EQ(platform.ClipboardText().substr(0, Id(1).size()), Id(1));
  EXPECT_NE(platform.ClipboardText().find("@64#80#16"), std::string::npos);
  EXPECT_EQ(Times(1), (std::vector<int>{0, 16, 32, 48, 64}));
  EXPECT_EQ(score.SelCount(), 0);

  Target(2, 2, 1);  // into measure 1 of the other staff's empty voice
  score.GetClipboard();
  EXPECT_EQ(Describe(2, 2),
            (std::vector<std::string>{"16:16:0:67,", "32:16:0:67,", "48:16:0:67,"}));
  EXPECT_EQ(Describe(2).size(), 8u);

  // Cutting nothing empties the clipboard.
  EXPECT_EQ(score.PutClipboard(true), 0);
  EXPECT_EQ(platform.ClipboardText(), "");
}

TEST_F(Clipboard, ForeignDamagedAndHostileTextsNeverHarm) {
  struct Case {
    std::string text;
    std::vector<std::string> added;  // on staff 2 voice 2, pasted in measure 2 (64)
  };
  const std::string big = "99999999999999999999999";
  const std::vector<Case> cases = {
      {"S1:V2@0#0#16#0#60", {"64:16:0:60,"}},
      {"S1:V2#0#16#0#60", {"64:16:0:60,"}},                      // no "@": from 0
      {"S1:V2@0#0#16#0#60S2:V3@0#16#16#0#62", {"64:16:0:60,"}},  // one staff only
      {"S1:V2@0#0#16#0#60|200|62", {"64:16:0:60,62,"}},          // 200 is no pitch
      {"S1:V2@0#0#16#0#60#16#16", {"64:16:0:60,"}},              // cut short
      {"S1:V2@0#0#16#0#60#x#16#0#62", {"64:16:0:60,"}},          // a number without digits
      {"S1:V2@0#0#16#0#60#" + big + "#16#0#62", {"64:16:0:60,"}},
      {"S1:V2@" + big + "#0#16#0#60", {}},
      {"S1:V2@0#0#0#0#60#16#300#0#62#32#16#0#" + big, {}},
      {"S1:V2@200#0#16#0#60#160#16#0#62", {"24:16:0:62,"}},  // 0 + 64 - 200 < 0: left out
      {"S1:V2@0#16777200#16#0#60", {}},                      // past the file's limit
      {"S1:V2@0#0#16#99999#60", {}},
      {"S1:V2@0#0#16#0#", {}},
      {"S1:V2", {}},
      {"1S:V2@0#0#16#0#60", {}},
      {"SA:V2@0#0#16#0#60", {}},
      {"S1V2@0#0#16#0#60", {}},
      {"", {}},
      {std::string("S1:V2@0#0#16#0#6\0"
                   "0",
                   17),
       {"64:16:0:6,"}},
      {"S1:" + std::string(10000, '#'), {}},
      {"S1:" + std::string(10000, '|'), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    VoiceOf(2, 2)->ResetNotes(Internal{});
    Target(2, 2, 2);
    platform.SetClipboardText(c.text);
    score.SetChanged(false);
    EXPECT_NO_THROW(score.GetClipboard());
    EXPECT_EQ(Describe(2, 2), c.added);
    EXPECT_EQ(score.Changed(), !c.added.empty());
  }
}

TEST_F(Clipboard, PasteNeedsASelectedStaffAndAVoiceItHas) {
  platform.SetClipboardText("S1:V2@0#0#16#0#60");
  for (const auto& s : score.AllStaffs()) s->SetSelected(false);
  score.GetClipboard();
  EXPECT_EQ(Describe(1).size(), 8u);
  EXPECT_EQ(Describe(2).size(), 8u);
  // Voice 3 on a staff of one voice: its first voice.
  Target(1, 3, 2);
  score.GetClipboard();
  EXPECT_EQ(std::vector<int>(NoteAt(1, 64)->Values().begin(), NoteAt(1, 64)->Values().end()),
            (std::vector<int>{60, 67}));
}

TEST(ClipboardNotation, WriterRepeatsIdsOnlyWhenTheyChange) {
  ClipboardWriter w;
  w.AddNote("S7", "V8", 128, 128, 16, 0, {60, 64, 67});
  w.AddNote("S7", "V8", 128, 144, 16, 0, {62});
  w.AddNote("S7", "V9", 128, 160, 8, 2, {});
  w.AddNote("S3", "V9", 128, 168, 8, 0, {70});
  EXPECT_EQ(w.Text(), "S7:V8@128#128#16#0#60|64|67#144#16#0#62:V9#160#8#2#S3#168#8#0#70");
  // The reader stops at the second staff.
  const ClipContent c = ReadClipboardNotation(w.Text());
  ASSERT_TRUE(c.Accepted);
  EXPECT_EQ(c.SourceStart, 128);
  ASSERT_EQ(c.Notes.size(), 3u);
  EXPECT_EQ(c.Notes[2].Time, 160);
  EXPECT_TRUE(c.Notes[2].Pitches.empty());
  EXPECT_EQ(ReadClipboardNotation("S1:V2@" + std::to_string(std::numeric_limits<int>::max()) +
                                  "#0#16#0#60")
                .SourceStart,
            std::numeric_limits<int>::max());
}

}  // namespace
}  // namespace notecraft
