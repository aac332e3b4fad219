// The frame's transport on the offscreen platform: the pane, playing the active window's
// score (repeats followed) into a recording sound backend, the stop paths, note preview, and
// windows closed, destroyed or switched while a score plays.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <memory>
#include <optional>

#include "editor_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/player/playbackclock.h"
#include "notecraft/player/tests/timedrecording.h"
#include "qstring_printer.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {
namespace {

using notecraft::testing::TimedMessage;

// Bars of 2/4 at tempo 240, two eighth notes each (pitch 50 + bar): a bar every 500 ms.
void FillScore(notecraft::Score& score, int bars) {
  score.SetCount(240);
  score.AllGlobals().Add(0, notecraft::evtTimeChange, 2, 16);
  auto staff = score.AllStaffs().AddStaff(notecraft::Internal{}, score.AllStaffs().NewID(),
                                          "Staff", std::nullopt, true);
  auto voice = staff->AddVoice(score.AllInstruments().Add(score.AllInstruments().NewID(), 0));
  for (int bar = 0; bar < bars; ++bar)
    for (int half : {0, 16}) voice->Notes().Add(bar * 32 + half, 50 + bar, notecraft::durEighth, 0);
}

class TransportTest : public testing::EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Context.MakeSoundMaster = [this] { return std::make_unique<tonegen::SoundMaster>(m_system); };
    frame = StartReady();
  }

  testing::FakeScoreWindow& NewWindow(int bars) {
    frame->DoFunction("NEW");
    QCoreApplication::processEvents();
    testing::FakeScoreWindow& window = *Windows.back();
    if (bars > 0) FillScore(window.OwnScore(), bars);
    return window;
  }
  QToolButton* Button(int index) { return frame->TransportButton(index); }
  std::vector<int> Checked() {
    std::vector<int> down;
    for (int i = 0; i < 6; ++i)
      if (Button(i)->isChecked()) down.push_back(i);
    return down;
  }
  std::vector<int> PitchesPlayed() const {
    std::vector<int> pitches;
    for (const TimedMessage& m : m_system->Sent)
      if (m.NoteOn()) pitches.push_back(m.Data1());
    return pitches;
  }
  bool WaitForEnd(int ms = 10'000) {
    return QTest::qWaitFor([&] { return !frame->PlayActive(); }, ms);
  }
  // The last 32 messages are all-notes-off and all-sound-off on every channel.
  bool EndsInSilence() const {
    if (m_system->Sent.size() < 32) return false;
    for (int channel = 0; channel < 16; ++channel) {
      const auto& off = m_system->Sent[m_system->Sent.size() - 32 + 2 * channel];
      if (off.Status() != 0xB0 + channel || off.Data1() != 123) return false;
    }
    return true;
  }

  notecraft::SteadyPlaybackClock m_clock;
  std::shared_ptr<notecraft::testing::TimedRecordingSystem> m_system =
      std::make_shared<notecraft::testing::TimedRecordingSystem>(m_clock);
  mdiVLTMain* frame = nullptr;
};

TEST_F(TransportTest, ThePaneHoldsSixButtonsInOrderShownWhileAWindowIs) {
  auto* pctPlay = frame->findChild<QWidget*>("pctPlay");
  ASSERT_NE(pctPlay, nullptr);
  EXPECT_FALSE(pctPlay->isVisible());
  NewWindow(0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return pctPlay->isVisible(); }, 1000));
  const QStringList tips = {"Beginning", "Rewind", "Play", "Stop", "Fast Forward", "End"};
  std::vector<std::pair<int, int>> byX;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Button(i)->toolTip(), tips[i]);
    EXPECT_TRUE(Button(i)->isCheckable());
    byX.push_back({Button(i)->x(), i});
  }
  std::sort(byX.begin(), byX.end());
  std::vector<int> order;
  for (const auto& [x, index] : byX) order.push_back(index);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 3, 2, 4, 5}));
  EXPECT_EQ(Button(1)->x() - Button(0)->x(), 18);  // 270 twips apart
}

TEST_F(TransportTest, PlayFollowsTheRepeatAndEndsInSilenceWithEverythingReleased) {
  testing::FakeScoreWindow& window = NewWindow(2);
  window.OwnScore().AllGlobals().Add(0, notecraft::evtRepeatEnd);  // |: bar 0 :| bar 1
  Button(2)->click();
  EXPECT_TRUE(frame->PlayActive());
  EXPECT_TRUE(window.Playing());
  EXPECT_EQ(Checked(), std::vector<int>{2});
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(PitchesPlayed(), (std::vector<int>{50, 50, 50, 50, 51, 51}));
  // Each note-on a quarter of a second after the one before.
  std::optional<double> previous;
  for (const TimedMessage& m : m_system->Sent) {
    if (!m.NoteOn()) continue;
    if (previous) {
      EXPECT_NEAR(m.Ms() - *previous, 250.0, 20.0);
    }
    previous = m.Ms();
  }
  EXPECT_TRUE(EndsInSilence());
  EXPECT_TRUE(Checked().empty());
  EXPECT_EQ(window.PlayingChanges, (QList<bool>{true, false}));
}

TEST_F(TransportTest, ANoteTiedOverTheBarLineIsStruckOnce) {
  testing::FakeScoreWindow& window = NewWindow(0);
  notecraft::Score& score = window.OwnScore();
  FillScore(score, 0);  // 2/4 at 240: a 64th lasts 15.625 ms
  auto staff = score.Staff(score.Staffs());
  auto& notes = staff->Voice(1)->Notes();
  notes.Add(0, 50, notecraft::durQuarter, 0);
  notes.Add(16, 60, notecraft::durQuarter, 0);  // the second beat, tied into the next bar
  notes.Add(32, 60, notecraft::durQuarter, 0);
  notes.Add(48, 52, notecraft::durQuarter, 0);
  staff->GlobalEvents().Add(16, notecraft::evtTie, 0, 32, "1");
  Button(2)->click();
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(PitchesPlayed(), (std::vector<int>{50, 60, 52}));
  // The held note sounds both quarters: it stops half a second after it started.
  std::optional<double> on, off;
  for (const TimedMessage& m : m_system->Sent) {
    if (m.NoteOn() && m.Data1() == 60) on = m.Ms();
    if (m.NoteOff() && m.Data1() == 60 && !off) off = m.Ms();
  }
  ASSERT_TRUE(on && off);
  EXPECT_NEAR(*off - *on, 500.0, 30.0);
}

TEST_F(TransportTest, EveryOtherButtonStopsAtOnce) {
  testing::FakeScoreWindow& window = NewWindow(8);
  // Stop: silence now, every button up.
  Button(2)->click();
  QTest::qWait(100);
  frame->ClickTransport(3);
  EXPECT_FALSE(frame->PlayActive());
  EXPECT_FALSE(window.Playing());
  EXPECT_TRUE(EndsInSilence());
  EXPECT_TRUE(Checked().empty());
  const std::size_t sent = m_system->Sent.size();
  QTest::qWait(300);
  EXPECT_EQ(m_system->Sent.size(), sent);  // nothing after the stop

  // Play while playing stops and leaves every button up; the others stop and spring back,
  // and only spring back when idle.
  for (int index : {2, 0, 1, 3, 4, 5}) {
    SCOPED_TRACE(index);
    frame->ClickTransport(2);
    ASSERT_TRUE(frame->PlayActive());
    frame->ClickTransport(index);
    EXPECT_FALSE(frame->PlayActive());
    EXPECT_TRUE(Checked().empty());
    if (index == 2) continue;
    frame->ClickTransport(index);
    EXPECT_FALSE(frame->PlayActive());
    EXPECT_TRUE(Checked().empty());
  }
}

TEST_F(TransportTest, APreviewNoteStopsPlaybackAndSoundsAtFullLoudness) {
  NewWindow(8);
  frame->ClickTransport(2);
  QTest::qWait(50);
  m_system->Sent.clear();
  frame->PlayNote(72, false, 40, 3);
  EXPECT_FALSE(frame->PlayActive());
  EXPECT_TRUE(Checked().empty());
  // Silence, then volume 112, bank and program 40 on channel 3, and the note at 112.
  ASSERT_GE(m_system->Sent.size(), 36U);
  const auto tail = std::vector<TimedMessage>(m_system->Sent.end() - 4, m_system->Sent.end());
  EXPECT_EQ(tail[0].Message, 0xB3u | (7u << 8) | (112u << 16));
  EXPECT_EQ(tail[2].Message, 0xC3u | (40u << 8));
  EXPECT_EQ(tail[3].Message, 0x93u | (72u << 8) | (112u << 16));
  frame->PlayNote(72, true, 40, 0);  // the stop goes to the channel the note sounds on
  EXPECT_EQ(m_system->Sent.back().Message, 0x93u | (72u << 8));
}

TEST_F(TransportTest, PlayOutlivesNeitherItsWindowNorItsScore) {
  // Closed while playing: play stops first.
  testing::FakeScoreWindow& first = NewWindow(8);
  frame->ClickTransport(2);
  QTest::qWait(50);
  first.parentWidget()->close();
  EXPECT_FALSE(frame->PlayActive());
  EXPECT_TRUE(EndsInSilence());

  // Destroyed without closing (its score goes first, as a score window's does): play ends
  // without reading the score again.
  QPointer<testing::FakeScoreWindow> second = &NewWindow(8);
  frame->ClickTransport(2);
  QTest::qWait(50);
  delete second->parentWidget();
  EXPECT_FALSE(frame->PlayActive());
  EXPECT_TRUE(EndsInSilence());
  QTest::qWait(100);  // no timer left behind

  // Another window activated: the first one's score plays on to its end.
  testing::FakeScoreWindow& third = NewWindow(2);
  frame->ClickTransport(2);
  testing::FakeScoreWindow& fourth = NewWindow(2);
  EXPECT_EQ(frame->ActiveScoreWindow(), &fourth);
  EXPECT_TRUE(frame->PlayActive());
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(third.PlayingChanges, (QList<bool>{true, false}));
  EXPECT_TRUE(fourth.PlayingChanges.isEmpty());
}

TEST_F(TransportTest, AWindowWithoutAScoreOrNotesReleasesPlay) {
  NewWindow(0);  // GetScore gives null
  frame->ClickTransport(2);
  EXPECT_FALSE(frame->PlayActive());
  EXPECT_TRUE(Checked().empty());
  testing::FakeScoreWindow& empty = NewWindow(0);
  empty.OwnScore();  // a score with nothing to play ends at once
  frame->ClickTransport(2);
  EXPECT_FALSE(frame->PlayActive());
  EXPECT_TRUE(Checked().empty());
  EXPECT_EQ(empty.PlayingChanges, (QList<bool>{true, false}));
}

}  // namespace
}  // namespace veltrimond
