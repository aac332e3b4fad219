// Score::PlayScore with a recording player in place of a real one: when the playback file
// is written, what the player is asked to do, and how failures leave it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/io/fileops.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/scoreplayer.h"
#include "playback_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::kPiano;
using testing::ManualTimers;
using testing::PlaybackScore;

// What the player was asked, as "open", "play", "close"; failures on request.
struct PlayerScript {
  std::vector<std::string> calls;
  std::vector<std::vector<std::uint8_t>> opened;  // the file as each open found it
  bool failOpen = false;
  bool failPlay = false;
  bool finished = false;
};

class RecordingPlayer : public ScorePlayer {
public:
  explicit RecordingPlayer(PlayerScript& script) : m_script(script) {}
  Result<Done> Open(const std::string& path) override {
    m_script.calls.push_back("open");
    m_script.opened.push_back(testing::ReadAll(path));
    if (m_script.failOpen) return MakeFileError(FileErrorCode::NotSupported, "no audio device");
    return Done{};
  }
  Result<Done> Play() override {
    m_script.calls.push_back("play");
    if (m_script.failPlay) return MakeFileError(FileErrorCode::NotSupported, "cannot play");
    return Done{};
  }
  bool Finished() const override { return m_script.finished; }
  void Close() noexcept override { m_script.calls.push_back("close"); }

private:
  PlayerScript& m_script;
};

// Counts the files written; can make writing fail.
class CountingFileOps : public PosixFileOps {
public:
  CountingFileOps() { SetFileOps(this); }
  ~CountingFileOps() override { SetFileOps(nullptr); }
  int MakeTemp(std::string& pathTemplate) override {
    ++files;
    return PosixFileOps::MakeTemp(pathTemplate);
  }
  long Write(int fd, const void* data, std::size_t size) override {
    if (failWrites) {
      errno = ENOSPC;
      return -1;
    }
    return PosixFileOps::Write(fd, data, size);
  }
  int files = 0;
  bool failWrites = false;
};

class PlayScore : public ::testing::Test {
protected:
  void SetUp() override {
    SetScorePlayerFactory([this] { return std::make_unique<RecordingPlayer>(script); });
    PlaybackScore::Note(s.AddVoice(kPiano), 0, {60});
  }
  void TearDown() override { SetScorePlayerFactory({}); }
  std::string Calls() {
    std::string out;
    for (const auto& c : script.calls) out += (out.empty() ? "" : " ") + c;
    script.calls.clear();
    return out;
  }

  PlayerScript script;
  CountingFileOps ops;
  PlaybackScore s;
};

TEST_F(PlayScore, PlaysTheScoreFromAPrivatePlaybackFile) {
  EXPECT_TRUE(s.score.PlayScore());
  EXPECT_EQ(Calls(), "open play");
  EXPECT_TRUE(s.score.Playing());
  EXPECT_TRUE(s.score.LastPlayError().empty());

  const std::filesystem::path file = s.score.PlaybackFile(Internal{});
  EXPECT_EQ(file.filename(), "$VM$.mid");
  const std::filesystem::path folder = file.parent_path();
  EXPECT_EQ(folder.parent_path(), std::filesystem::temp_directory_path());
  EXPECT_EQ(folder.filename().string().rfind("$VM$", 0), 0u);
  EXPECT_GT(folder.filename().string().size(), 4u) << "a unique name, not a shared one";
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(script.opened.size(), 1u);
  EXPECT_EQ(script.opened[0], MidiFileWriter::Write(s.score, true));
}

TEST_F(PlayScore, TheFileIsRewrittenOnlyAfterAChange) {
  EXPECT_TRUE(s.score.PlayScore());
  EXPECT_TRUE(s.score.PlayScore());  // closes the running play first
  EXPECT_EQ(Calls(), "open play close open play");
  EXPECT_EQ(ops.files, 1);
  s.score.SetTitle("Edited");  // any change marks the file out of date
  EXPECT_TRUE(s.score.PlayScore());
  EXPECT_EQ(ops.files, 2);
  EXPECT_TRUE(s.score.PlayScore(true));
  EXPECT_EQ(Calls(), "close open play close");
  EXPECT_FALSE(s.score.Playing());
}

// Undo changes the music without the changed flag's help: the next play writes the file
// again, and the note taken back is not in it.
TEST_F(PlayScore, AfterAnUndoTheFileIsWrittenAgainWithoutTheNoteTakenBack) {
  auto voice = s.score.Staff(1)->Voice(1);
  voice->Notes().Add(16, 64, durQuarter, 0);
  s.score.PushUndo(Internal{}, 1, 16, 1, 1, 0, 0, "");
  EXPECT_TRUE(s.score.PlayScore());
  ASSERT_EQ(script.opened.size(), 1u);
  const auto withNote = script.opened.back();
  EXPECT_TRUE(s.score.PlayScore(true));
  s.score.SetChanged(false);  // a host that saved: undo must not depend on the flag
  s.score.Undo();
  ASSERT_EQ(voice->Notes().Count(), 1);
  EXPECT_TRUE(s.score.PlaybackStale(Internal{}));
  EXPECT_TRUE(s.score.PlayScore());
  EXPECT_EQ(ops.files, 2);
  ASSERT_EQ(script.opened.size(), 2u);
  EXPECT_NE(script.opened.back(), withNote);
  EXPECT_EQ(script.opened.back(), MidiFileWriter::Write(s.score, true));
}

TEST_F(PlayScore, StoppingWhatIsNotPlayingAsksNothing) {
  EXPECT_TRUE(s.score.PlayScore(true));
  EXPECT_TRUE(s.score.PlayScore());
  EXPECT_TRUE(s.score.PlayScore(true));
  EXPECT_TRUE(s.score.PlayScore(true));
  EXPECT_EQ(Calls(), "open play close");
}

TEST_F(PlayScore, AFailedWriteOpensNothingAndIsTriedAgain) {
  ops.failWrites = true;
  EXPECT_FALSE(s.score.PlayScore());
  EXPECT_EQ(Calls(), "");
  EXPECT_FALSE(s.score.Playing());
  EXPECT_NE(s.score.LastPlayError().find("No space left on device"), std::string::npos)
      << s.score.LastPlayError();
  EXPECT_TRUE(s.score.PlaybackStale(Internal{})) << "no file was written: it is still out of date";
  ops.failWrites = false;
  EXPECT_TRUE(s.score.PlayScore());
  EXPECT_EQ(Calls(), "open play");
  EXPECT_FALSE(s.score.PlaybackStale(Internal{}));
}

TEST_F(PlayScore, APlayerThatFailsIsClosedAndReportsWhy) {
  struct Case {
    bool failOpen, failPlay;
    const char* calls;
    const char* error;
  };
  const Case cases[] = {
      {true, false, "open close", "no audio device"},
      {false, true, "open play close", "cannot play"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.calls);
    script.failOpen = c.failOpen;
    script.failPlay = c.failPlay;
    EXPECT_FALSE(s.score.PlayScore());
    EXPECT_EQ(Calls(), c.calls);
    EXPECT_FALSE(s.score.Playing());
    EXPECT_EQ(s.score.LastPlayError(), c.error);
    // Nothing is held, so the next play does not close again.
    script.failOpen = script.failPlay = false;
    EXPECT_TRUE(s.score.PlayScore());
    EXPECT_EQ(Calls(), "open play");
    EXPECT_TRUE(s.score.PlayScore(true));
    Calls();
  }
}

TEST_F(PlayScore, WithoutAPlayerNothingPlays) {
  SetScorePlayerFactory({});
  Score score;
  EXPECT_FALSE(score.PlayScore());
  EXPECT_FALSE(score.Playing());
  EXPECT_NE(score.LastPlayError().find("no MIDI player is installed"), std::string::npos);
}

TEST_F(PlayScore, TheEndIsToldOnceWhenAsked) {
  struct Target : Score::PlayEndTarget {
    void PlayEnded() override { ++ends; }
    int ends = 0;
  } target;
  ManualTimers timers;
  EXPECT_TRUE(s.score.PlayScore(false, true, &target));
  timers.factory.Advance(1000);
  EXPECT_EQ(target.ends, 0);
  script.finished = true;
  timers.factory.Advance(100);
  EXPECT_EQ(target.ends, 1);
  timers.factory.Advance(1000);
  EXPECT_EQ(target.ends, 1);

  // Without SendEvents, or once stopped, nothing is told.
  script.finished = false;
  EXPECT_TRUE(s.score.PlayScore(false, false, &target));
  EXPECT_TRUE(s.score.PlayScore(false, true, &target));
  EXPECT_TRUE(s.score.PlayScore(true));
  script.finished = true;
  timers.factory.Advance(1000);
  EXPECT_EQ(target.ends, 1);
}

TEST_F(PlayScore, ThePlaybackFolderGoesWithTheScore) {
  EXPECT_TRUE(s.score.PlayScore());
  std::filesystem::path folder;
  {
    PlaybackScore other;
    PlaybackScore::Note(other.AddVoice(kPiano), 0, {64});
    EXPECT_TRUE(other.score.PlayScore());
    folder = std::filesystem::path(other.score.PlaybackFile(Internal{})).parent_path();
    EXPECT_TRUE(std::filesystem::exists(folder));
    EXPECT_NE(folder, std::filesystem::path(s.score.PlaybackFile(Internal{})).parent_path());
  }
  EXPECT_EQ(Calls(), "open play open play close");
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(std::filesystem::exists(s.score.PlaybackFile(Internal{})));
}

}  // namespace
}  // namespace notecraft
