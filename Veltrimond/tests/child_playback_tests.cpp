// Playback of a real score window's score through the frame's transport: the window hands
// the score's repeat marks on, edits during play are safe, and closing the window stops play.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <vector>

#include "Veltrimond/child/chdvltmain.h"
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
#include "notecraft/qt/musicfontloader.h"
#include "tonegen/soundmaster.h"

namespace veltrimond::testing {
namespace {

using notecraft::testing::TimedMessage;

class WindowPlaybackTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    static const bool fontLoaded = notecraft::LoadMusicFont();
    (void)fontLoaded;
    Context.MakeSoundMaster = [this] { return std::make_unique<tonegen::SoundMaster>(m_system); };
    frame = StartReady();
    Context.NewScoreWindow = [this](AppContext& context, IFrame& parent) -> IScoreWindow* {
      auto* window = new chdVLTMain(context, parent);
      window->Prompts.AskSaveChanges = [](const QString&, const QString&) { return int(QMessageBox::No); };
      ScoreWindows.append(window);
      return window;
    };
  }

  // Bars of 2/4 at 240, two eighths each (pitch 50 + bar), |: bar 0 :| then the rest.
  chdVLTMain& OpenScore(int bars) {
    const QString path = m_dir.filePath(QStringLiteral("Song.sco"));
    notecraft::Score score;
    score.SetCount(240);
    score.AllGlobals().Add(0, notecraft::evtTimeChange, 2, 16);
    score.AllGlobals().Add(0, notecraft::evtRepeatEnd);
    auto staff = score.AllStaffs().AddStaff(notecraft::Internal{}, score.AllStaffs().NewID(),
                                            "Staff", std::nullopt, true);
    auto voice = staff->AddVoice(score.AllInstruments().Add(score.AllInstruments().NewID(), 0));
    for (int bar = 0; bar < bars; ++bar)
      for (int half : {0, 16}) voice->Notes().Add(bar * 32 + half, 50 + bar, notecraft::durEighth, 0);
    EXPECT_TRUE(score.SaveFile(path.toStdString()));
    EXPECT_TRUE(frame->OpenScoreFile(path, 0));
    QCoreApplication::processEvents();
    return *ScoreWindows.back();
  }
  std::vector<int> PitchesPlayed() const {
    std::vector<int> pitches;
    for (const TimedMessage& m : m_system->Sent)
      if (m.NoteOn()) pitches.push_back(m.Data1());
    return pitches;
  }

  notecraft::SteadyPlaybackClock m_clock;
  std::shared_ptr<notecraft::testing::TimedRecordingSystem> m_system =
      std::make_shared<notecraft::testing::TimedRecordingSystem>(m_clock);
  QTemporaryDir m_dir;
  QList<QPointer<chdVLTMain>> ScoreWindows;
  mdiVLTMain* frame = nullptr;
};

TEST_F(WindowPlaybackTest, TheWindowHandsTheRepeatOnAndShowsItPlays) {
  chdVLTMain& window = OpenScore(2);
  frame->ClickTransport(2);
  EXPECT_TRUE(window.Playing());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->PlayActive(); }, 10'000));
  EXPECT_EQ(PitchesPlayed(), (std::vector<int>{50, 50, 50, 50, 51, 51}));
  EXPECT_FALSE(window.Playing());
}

TEST_F(WindowPlaybackTest, EditsDuringPlayAndClosingTheWindowAreSafe) {
  chdVLTMain& window = OpenScore(8);
  frame->ClickTransport(2);
  QTest::qWait(150);
  // The score changes under the stream: play goes on and ends by itself.
  window.GetScore()->AllVoices().begin()->get()->Notes().RemoveRange(0, 200);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->PlayActive(); }, 10'000));

  frame->ClickTransport(2);
  QTest::qWait(100);
  ASSERT_TRUE(frame->PlayActive());
  window.close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(frame->PlayActive());
  const std::size_t sent = m_system->Sent.size();
  QTest::qWait(200);
  EXPECT_EQ(m_system->Sent.size(), sent);
}

}  // namespace
}  // namespace veltrimond::testing
