// The player's window offscreen: it plays when first shown, its slider follows, and every
// button stops first.
#include "listenbox/app/frmplymain.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <memory>

#include "listenbox/app/listenplayer.h"
#include "notecraft/player/playbackclock.h"
#include "notecraft/player/tests/timedrecording.h"
#include "scorefixture.h"
#include "tonegen/soundmaster.h"

namespace listenbox {
namespace {

using notecraft::testing::TimedMessage;

class WindowTest : public ::testing::Test {
protected:
  WindowTest() { m_sound.OpenOutput(); }
  ~WindowTest() override { m_sound.CloseOutput(); }

  std::vector<int> Checked(const frmPLYMain& window) {
    std::vector<int> down;
    for (int i = 0; i < 5; ++i)
      if (window.Button(i)->isChecked()) down.push_back(i);
    return down;
  }
  std::size_t NoteOns() const {
    std::size_t count = 0;
    for (const TimedMessage& m : m_system->Sent) count += m.NoteOn() ? 1 : 0;
    return count;
  }

  notecraft::SteadyPlaybackClock m_clock;
  std::shared_ptr<notecraft::testing::TimedRecordingSystem> m_system =
      std::make_shared<notecraft::testing::TimedRecordingSystem>(m_clock);
  tonegen::SoundMaster m_sound{m_system};
  notecraft::Score m_score;
};

TEST_F(WindowTest, PlaysWhenFirstShownWithTheSliderFollowing) {
  testing::FillBeats(m_score, 2, 240);  // eight beats in two seconds
  frmPLYMain window(m_score, m_sound);
  const QStringList captions = {"Rewind", "Beginning", "Play", "Stop", "Fast Forward"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(window.Button(i)->text(), captions[i]);
  EXPECT_EQ(window.SliderMaximum(), m_score.HighTime() / 16);
  EXPECT_GT(window.SliderMaximum(), 0);
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Player().Playing(); }, 2000));
  EXPECT_EQ(Checked(window), std::vector<int>{frmPLYMain::kPlay});
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.SliderLeft() >= 2000; }, 3000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Player().Playing(); }, 5000));
  EXPECT_TRUE(Checked(window).empty());
  EXPECT_EQ(window.SliderLeft(), 0);
  EXPECT_EQ(NoteOns(), 8U);
  // The player's rules: volume 112 with the program, the notes' own velocity (112), as in
  // the editor.
  bool volume112 = false;
  for (const TimedMessage& m : m_system->Sent) {
    volume112 = volume112 || (m.Status() == 0xB0 && m.Data1() == 7 && m.Data2() == 112);
    if (m.NoteOn()) {
      EXPECT_EQ(m.Data2(), 112);
    }
  }
  EXPECT_TRUE(volume112);
}

TEST_F(WindowTest, EveryButtonStopsFirstAndPlayStartsOver) {
  testing::FillBeats(m_score, 8, 240);
  frmPLYMain window(m_score, m_sound);
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Player().Playing(); }, 2000));
  window.Button(frmPLYMain::kPlay)->click();  // Play again while playing: stops
  EXPECT_FALSE(window.Player().Playing());
  for (int index : {frmPLYMain::kStop, frmPLYMain::kRewind, frmPLYMain::kBeginning,
                    frmPLYMain::kFastForward}) {
    SCOPED_TRACE(index);
    window.Button(frmPLYMain::kPlay)->click();  // from the top
    ASSERT_TRUE(window.Player().Playing());
    EXPECT_LE(window.Player().NextEventTime(), 16);  // the first beat has sounded
    QTest::qWait(30);
    window.Button(index)->click();
    EXPECT_FALSE(window.Player().Playing());
    EXPECT_TRUE(Checked(window).empty());
    // Silenced at once: all sound off went to every channel last.
    ASSERT_GE(m_system->Sent.size(), 32U);
    EXPECT_EQ(m_system->Sent.back().Message, 0xBFu | (120u << 8));
  }
}

TEST_F(WindowTest, AnEmptyScoreShowsWithoutPlaying) {
  m_score.CreateDefault();
  frmPLYMain window(m_score, m_sound);
  window.show();
  QTest::qWait(50);
  EXPECT_FALSE(window.Player().Playing());
  EXPECT_EQ(window.SliderMaximum(), 0);
  EXPECT_EQ(window.SliderLeft(), 0);
  EXPECT_TRUE(Checked(window).empty());
}

}  // namespace
}  // namespace listenbox
