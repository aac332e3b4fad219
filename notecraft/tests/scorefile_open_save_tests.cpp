// Score::OpenFile, SaveFile, Reload and FileTitle: what hosts see of score files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <random>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/timer.h"
#include "notecraft/core/voice.h"
#include "notecraft/io/fileops.h"
#include "notecraft/io/midifilehooks.h"
#include "notecraft/io/tempfiles.h"
#include "notecraft/view/recordingsurface.h"
#include "model_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::Describe;
using testing::FixedClock;
using testing::MessageRecorder;
using testing::ReadAll;
using testing::TempDir;
using testing::WriteAll;

// The model log plus the open events.
class FileEventLog : public testing::EventLog {
public:
  void BeforeOpenSave(int size) override { log.push_back("BeforeOpenSave(" + std::to_string(size) + ")"); }
  void ProgressReport(int) override {
    if (log.empty() || log.back() != "ProgressReport") log.push_back("ProgressReport");
  }
  void AfterOpenSave() override { log.push_back("AfterOpenSave"); }
};

class ScoreFiles : public ::testing::Test {
protected:
  // Opens `path` into a score of its own, which must refuse it and stay as it was, path
  // included; returns the one message shown.
  std::string OpenRefused(const std::string& path) {
    Score score;
    score.CreateDefault();
    score.SetTitle("Mine");
    score.SetFilePath(Internal{}, "/mine.sco");
    const std::string before = Describe(score);
    host.messages.clear();
    EXPECT_FALSE(score.OpenFile(path));
    EXPECT_EQ(Describe(score), before);
    EXPECT_EQ(score.FileName(), "/mine.sco");
    EXPECT_TRUE(score.Changed());
    EXPECT_EQ(host.messages.size(), 1u);
    if (host.messages.empty()) return {};
    EXPECT_EQ(host.messages[0], "Open: " + score.LastFileError());
    return host.messages[0];
  }

  FixedClock clock{11 * 3600};
  MessageRecorder host;
  TempDir dir;
};

// Keeps the MIDI hooks a test replaces, and puts them back.
class HooksGuard {
public:
  HooksGuard() : m_saved(TheMidiFileHooks()) {}
  ~HooksGuard() { TheMidiFileHooks() = m_saved; }

private:
  MidiFileHooks m_saved;
};

TEST(ScoreFileTitle, IsTheFileNameWithoutFolderAndExtension) {
  struct Case {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Scores\\Song.sco", "Song"}, {"C:\\Scores\\my.song.sco", "my.song"},
      {"D:Song.sco", "Song"},           {"Song", "Song"},
      {"/home/ann/Song.sco", "Song"},   {"/home/ann.b/Song", "Song"},
      {"", "New Score"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    Score score;
    score.SetFilePath(Internal{}, c.path);
    EXPECT_EQ(score.FileTitle(), c.title);
    EXPECT_EQ(score.FileName(), c.path);
  }
}

TEST_F(ScoreFiles, ASavedScoreOpensWithItsEvents) {
  Score original;
  testing::BuildEveryFeatureScore(original);
  original.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, "");
  FileEventLog saveLog;
  original.AddListener(&saveLog);
  const std::string path = dir.File("Sonatina.sco");
  ASSERT_TRUE(original.SaveFile(path)) << original.LastFileError();
  // Saving clears Changed and the history, each told once.
  EXPECT_EQ(saveLog.log, (std::vector<std::string>{"ChangeNotify(0)", "HistoryChanged(0)"}));
  EXPECT_EQ(original.FileName(), path);
  EXPECT_EQ(original.FileType(Internal{}), fmtVeltrimond);
  EXPECT_FALSE(original.CanUndo());
  original.RemoveListener(&saveLog);

  Score opened;
  opened.CreateDefault();
  opened.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, "");
  FileEventLog log;
  opened.AddListener(&log);
  ASSERT_TRUE(opened.OpenFile(path));
  opened.RemoveListener(&log);
  const auto size = std::to_string(ReadAll(path).size());
  EXPECT_EQ(log.log, (std::vector<std::string>{"BeforeOpenSave(" + size + ")", "HistoryChanged(0)",
                                               "ProgressReport", "AfterOpenSave", "ActiveVoice(1)",
                                               "ActiveStaff(1)"}));
  EXPECT_EQ(Describe(opened), Describe(original));
  EXPECT_EQ(opened.FileName(), path);
  EXPECT_EQ(opened.FileTitle(), "Sonatina");
  EXPECT_FALSE(opened.Changed());
  EXPECT_FALSE(opened.CanUndo());  // the old content's records are gone
  EXPECT_EQ(host.recent, std::vector<std::string>{path});
  EXPECT_TRUE(host.messages.empty());

  // A second save writes the very same bytes.
  const ByteVector first = ReadAll(path);
  ASSERT_TRUE(opened.SaveFile());
  EXPECT_EQ(ReadAll(path), first);
}

TEST_F(ScoreFiles, FilesThatCannotBeOpenedLeaveTheScoreAndSayWhy) {
  const std::string fifo = dir.File("pipe.sco");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  WriteAll(dir.File("short.sco"), ByteVector{'V', 'm', '0'});
  WriteAll(dir.File("text.sco"), ByteVector{'h', 'e', 'l', 'l', 'o'});
  WriteAll(dir.File("damaged.sco"), ByteVector{'V', 'm', '0', '0', 0, 11, 0});
  WriteAll(dir.File("song.mid"), ByteVector{'M', 'T', 'h', 'd', 0, 0, 0, 6});
  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      {dir.File("none.sco"), dir.File("none.sco") + ": No such file or directory."},
      {dir.Path().string(), dir.Path().string() + ": Is a directory."},
      {fifo, fifo + ": Not a regular file."},
      {dir.File("short.sco"), "File contains an unrecognised format."},
      {dir.File("text.sco"), "File contains an unrecognised format."},
      {dir.File("damaged.sco"), "The score file is damaged: its directory is empty."},
      {dir.File("song.mid"), "Standard MIDI Files cannot be opened: MIDI import is not available."},
  };
  HooksGuard guard;
  TheMidiFileHooks().Read = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(OpenRefused(c.path), "Open: " + c.message);
  }
  EXPECT_TRUE(host.recent.empty());
}

TEST_F(ScoreFiles, RandomBytesAfterTheMagicAreReportedAsDamaged) {
  // The magic, or the whole head of a directory of four entries, then noise: no directory
  // entry names a section, and nothing of the score may be lost to an empty one.
  std::mt19937 random(7);
  for (const ByteVector& head :
       {ByteVector{'V', 'm', '0', '0'}, ByteVector{'V', 'm', '0', '0', 4, 11}}) {
    for (int n = 0; n < 20; ++n) {
      SCOPED_TRACE(std::to_string(head.size()) + " bytes of head, noise " + std::to_string(n));
      ByteVector bytes = head;
      for (int i = 0; i < 65536; ++i) bytes.push_back(static_cast<std::uint8_t>(random()));
      const std::string path = dir.File("noise.sco");
      WriteAll(path, bytes);
      const std::string message = OpenRefused(path);
      EXPECT_EQ(message.rfind("Open: The score file is damaged", 0), 0u) << message;
    }
  }
}

TEST_F(ScoreFiles, MidiFilesGoThroughTheirHooks) {
  HooksGuard guard;
  static std::vector<std::string> calls;
  calls.clear();
  TheMidiFileHooks().Read = [](Score& s, std::span<const std::uint8_t> bytes, const std::string& path) {
    calls.push_back("read " + std::to_string(bytes.size()) + " " + path);
    s.ClearContents(Internal{}, path);
    s.SetFileType(Internal{}, fmtMIDI);
    return true;
  };
  TheMidiFileHooks().Write = [](Score&) -> Result<std::vector<std::uint8_t>> {
    calls.push_back("write");
    return std::vector<std::uint8_t>{'M', 'T', 'h', 'd'};
  };
  const std::string midi = dir.File("song.mid");
  WriteAll(midi, ByteVector{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 96});
  Score score;
  EXPECT_TRUE(score.OpenFile(midi));
  EXPECT_EQ(score.FileName(), midi);
  // Saving without a path after a MIDI open or save writes MIDI again, to the same file.
  EXPECT_TRUE(score.SaveFile());
  EXPECT_EQ(ReadAll(midi), (ByteVector{'M', 'T', 'h', 'd'}));
  const std::string other = dir.File("other.mid");
  EXPECT_TRUE(score.SaveFile(other, fmtMIDI));
  EXPECT_TRUE(score.SaveFile());
  EXPECT_EQ(calls, (std::vector<std::string>{"read 14 " + midi, "write", "write", "write"}));
  EXPECT_EQ(score.FileName(), other);
  TheMidiFileHooks().Write = nullptr;

  EXPECT_FALSE(score.SaveFile());
  EXPECT_EQ(score.LastFileError(), "Standard MIDI Files cannot be saved: MIDI export is not available.");
}

TEST_F(ScoreFiles, SaveFileChoosesItsTargetAndFormat) {
  Score score;
  score.CreateDefault();
  EXPECT_FALSE(score.SaveFile());  // no path given, none stored
  EXPECT_EQ(score.LastFileError(), "The score has no file name yet.");
  EXPECT_FALSE(score.SaveFile(dir.File("x.sco"), 7));
  EXPECT_EQ(score.LastFileError(), "Unknown file format 7.");
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_TRUE(score.SaveFile(dir.File("a.sco")));  // the format defaults to native
  EXPECT_EQ(ReadAll(dir.File("a.sco"))[0], 'V');
  // An empty history is not announced as emptied.
  FileEventLog log;
  score.AddListener(&log);
  score.SetTitle("Changed");
  EXPECT_TRUE(score.SaveFile());
  EXPECT_EQ(log.log, (std::vector<std::string>{"ChangeNotify(1)", "ChangeNotify(0)"}));
  score.RemoveListener(&log);
}

// Every write goes through here; the test decides which call fails.
class BrokenDisk : public PosixFileOps {
public:
  BrokenDisk() { SetFileOps(this); }
  ~BrokenDisk() override { SetFileOps(nullptr); }
  int error = ENOSPC;
  bool failMakeTemp = false;
  long Write(int fd, const void* data, std::size_t size) override {
    if (failMakeTemp) return PosixFileOps::Write(fd, data, size);
    errno = error;
    return -1;
  }
  int MakeTemp(std::string& pathTemplate) override {
    if (!failMakeTemp) return PosixFileOps::MakeTemp(pathTemplate);
    errno = error;
    return -1;
  }
};

TEST_F(ScoreFiles, AFailedSaveChangesNothing) {
  const std::string path = dir.File("Song.sco");
  const ByteVector old{'o', 'l', 'd'};
  struct Case {
    const char* name;
    bool failMakeTemp;
    int error;
    const char* reason;
  } cases[] = {
      {"full disk", false, ENOSPC, "No space left on device"},
      {"read-only folder", true, EROFS, "Read-only file system"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteAll(path, old);
    Score score;
    score.CreateDefault();
    score.SetFilePath(Internal{}, dir.File("elsewhere.sco"));
    score.SetTitle("Unsaved");
    score.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, "");
    FileEventLog log;
    score.AddListener(&log);
    bool saved = true;
    {
      BrokenDisk disk;
      disk.failMakeTemp = c.failMakeTemp;
      disk.error = c.error;
      saved = score.SaveFile(path);
    }
    score.RemoveListener(&log);
    EXPECT_FALSE(saved);
    EXPECT_NE(score.LastFileError().find(c.reason), std::string::npos) << score.LastFileError();
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
    EXPECT_EQ(score.FileName(), dir.File("elsewhere.sco"));
    EXPECT_TRUE(score.Changed());
    EXPECT_TRUE(score.CanUndo());
    EXPECT_TRUE(log.log.empty());
  }
}

TEST_F(ScoreFiles, AScoreTooBigForTheFormatIsRefusedWithoutWriting) {
  Score score;
  score.CreateDefault();
  for (int i = 0; i < 85; ++i) score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "x");
  EXPECT_FALSE(score.SaveFile(dir.File("big.sco")));
  EXPECT_EQ(score.LastFileError(), "The score has 86 staves; a score file holds at most 85.");
  EXPECT_TRUE(dir.Entries().empty());
}

TEST_F(ScoreFiles, AUsersDollarVMFileSurvivesASaveBesideIt) {
  const std::string mine = dir.File("$VM$.sco");
  WriteAll(mine, ByteVector{'m', 'i', 'n', 'e'});
  Score score;
  score.CreateDefault();
  ASSERT_TRUE(score.SaveFile(dir.File("Song.sco")));
  EXPECT_EQ(ReadAll(mine), (ByteVector{'m', 'i', 'n', 'e'}));
  EXPECT_EQ(dir.Entries().size(), 2u);
}

// --- Temporary files left by a save that was cut off ---

// Makes `score` a new score with that title and saves it to `path`.
bool SaveNewScore(Score& score, const std::string& path, const std::string& title) {
  score.CreateDefault();
  score.SetTitle(title);
  return score.SaveFile(path);
}

// A save in a child process whose file layer stops it inside its first write: killed there,
// or held until the parent lets it go on.
class ChildSave {
public:
  enum class Mode { Killed, Held };

  ChildSave(Mode mode, const std::string& path, const std::string& title) {
    EXPECT_EQ(::pipe(m_ready), 0);
    EXPECT_EQ(::pipe(m_go), 0);
    m_pid = ::fork();
    if (m_pid != 0) return;
    Layer layer(mode, m_ready[1], m_go[0]);
    Score score;
    ::_exit(SaveNewScore(score, path, title) ? 0 : 1);
  }
  ~ChildSave() {
    if (m_pid > 0 && !m_reaped) {
      ::kill(m_pid, SIGKILL);
      Wait();
    }
    for (int fd : {m_ready[0], m_ready[1], m_go[0], m_go[1]}) ::close(fd);
  }

  // Returns once the child is inside its write.
  void AwaitWrite() {
    char c = 0;
    EXPECT_EQ(::read(m_ready[0], &c, 1), 1);
  }
  void LetGo() { EXPECT_EQ(::write(m_go[1], "g", 1), 1); }
  // The child's wait status.
  int Wait() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_reaped = true;
    return status;
  }

private:
  class Layer : public PosixFileOps {
  public:
    Layer(Mode mode, int ready, int go) : m_mode(mode), m_readyFd(ready), m_goFd(go) {
      SetFileOps(this);
    }
    long Write(int fd, const void* data, std::size_t size) override {
      const long n = PosixFileOps::Write(fd, data, size / 2 + 1);
      if (m_mode == Mode::Killed) ::raise(SIGKILL);
      if (!m_held) {
        m_held = true;
        char c = 0;
        (void)::write(m_readyFd, "r", 1);
        (void)::read(m_goFd, &c, 1);
      }
      return n;
    }

  private:
    Mode m_mode;
    bool m_held = false;
    int m_readyFd, m_goFd;
  };

  int m_ready[2] = {-1, -1};
  int m_go[2] = {-1, -1};
  pid_t m_pid = -1;
  bool m_reaped = false;
};

TEST_F(ScoreFiles, TheNextOpenOrSaveRemovesWhatAKilledSaveLeft) {
  const std::string path = dir.File("Song.sco");
  Score saved;
  ASSERT_TRUE(SaveNewScore(saved, path, "Whole"));
  const ByteVector whole = ReadAll(path);
  for (const bool byOpen : {true, false}) {
    SCOPED_TRACE(byOpen ? "open" : "save");
    {
      ChildSave child(ChildSave::Mode::Killed, path, "Cut off");
      const int status = child.Wait();
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }
    EXPECT_EQ(ReadAll(path), whole);  // the file itself is untouched
    ASSERT_EQ(dir.Entries().size(), 2u) << "the killed save leaves its temporary file";
    Score score;
    if (byOpen) {
      ASSERT_TRUE(score.OpenFile(path));
      EXPECT_EQ(score.Title(), "Whole");
    } else {
      ASSERT_TRUE(SaveNewScore(score, path, "Whole"));
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
  }
}

TEST_F(ScoreFiles, ASaveInProgressElsewhereKeepsItsTemporaryFile) {
  const std::string path = dir.File("Song.sco");
  Score mine;
  ASSERT_TRUE(SaveNewScore(mine, path, "Mine"));

  ChildSave child(ChildSave::Mode::Held, path, "Theirs");
  child.AwaitWrite();
  ASSERT_EQ(dir.Entries().size(), 2u);
  Score opened;
  ASSERT_TRUE(opened.OpenFile(path));
  ASSERT_TRUE(mine.SaveFile());
  EXPECT_EQ(dir.Entries().size(), 2u) << "the other save's file is in use";

  child.LetGo();
  const int status = child.Wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  ASSERT_TRUE(opened.OpenFile(path));
  EXPECT_EQ(opened.Title(), "Theirs");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
}

TEST_F(ScoreFiles, OnlyCertainlyStaleTemporaryFilesOfTheFileAreRemoved) {
  const std::string path = dir.File("Song.sco");
  Score score;
  score.CreateDefault();
  ASSERT_TRUE(score.SaveFile(path));
  // The name a save of Song.sco gives its temporary file, with these random characters.
  auto tempOf = [&](const std::string& file, const std::string& random) {
    std::string name = TempFileTemplate(dir.File(file));
    return name.replace(name.size() - 6, 6, random);
  };
  const ByteVector scoreStart{'V', 'm', '0', '0', 4, 11, 'H'};
  struct Case {
    std::string path;
    bool removed;
  };
  std::vector<Case> cases = {
      {tempOf("Song.sco", "aB3dE9"), true},    // a native file cut short
      {tempOf("Song.sco", "Zz0000"), true},    // made, nothing written yet
      {tempOf("Song.sco", "midi01"), true},    // a MIDI save cut short
      {tempOf("Song.sco", "locked"), false},   // a save in progress holds it
      {tempOf("Song.sco", "notour"), false},   // not what a save writes
      {tempOf("Song.sco", "linked"), false},   // a symbolic link
      {tempOf("Song.sco", "folder"), false},   // a folder
      {tempOf("Song.sco", "2names"), false},   // a file with a second name
      {tempOf("Song.sco", "ab.def"), false},   // not mkostemp's characters
      {tempOf("Other.sco", "aB3dE9"), false},  // another score's
      {dir.File("$VM$.sco"), false},
      {dir.File("$VM$aB3dE9"), false},
  };
  WriteAll(cases[0].path, scoreStart);
  WriteAll(cases[1].path, {});
  WriteAll(cases[2].path, ByteVector{'M', 'T', 'h', 'd', 0, 0});
  WriteAll(cases[3].path, scoreStart);
  const int held = ::open(cases[3].path.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  WriteAll(cases[4].path, ByteVector{'h', 'e', 'l', 'l', 'o'});
  WriteAll(dir.File("target"), scoreStart);
  std::filesystem::create_symlink(dir.File("target"), cases[5].path);
  std::filesystem::create_directory(cases[6].path);
  WriteAll(cases[7].path, scoreStart);
  std::filesystem::create_hard_link(cases[7].path, dir.File("second name"));
  for (std::size_t i = 8; i < cases.size(); ++i) WriteAll(cases[i].path, scoreStart);

  Score opened;
  ASSERT_TRUE(opened.OpenFile(path));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::error_code ec;
    EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(c.path, ec)), !c.removed);
  }
  ::close(held);
  // Its save has ended: the next open takes it for stale.
  ASSERT_TRUE(opened.OpenFile(path));
  EXPECT_FALSE(std::filesystem::exists(cases[3].path));
}

TEST_F(ScoreFiles, ReloadDiscardsTheChanges) {
  Score score;
  score.CreateDefault();
  score.SetTitle("Saved title");
  const std::string path = dir.File("r.sco");
  ASSERT_TRUE(score.SaveFile(path));
  score.SetTitle("Edited");
  score.Staff(1)->Voice(1)->Notes().Add(0, 60, 16, 0);
  score.Reload();
  EXPECT_EQ(score.Title(), "Saved title");
  EXPECT_EQ(score.Staff(1)->Voice(1)->Notes().Count(), 0);
  EXPECT_FALSE(score.Changed());

  // A score never saved becomes a new default score.
  Score fresh;
  fresh.CreateDefault();
  fresh.SetTitle("Scratch");
  fresh.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, "");
  fresh.Reload();
  EXPECT_EQ(fresh.Title(), "New Score");
  EXPECT_FALSE(fresh.CanUndo());
}

// The start of every measure drawn on the page, from its bands.
std::vector<int> MeasuresDrawn(Score& score) {
  std::vector<int> starts;
  for (const auto& band : score.Bands(Internal{}))
    for (int i = 0; i < band->Measures(); ++i) starts.push_back(band->Measure(i)->High());
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  return starts;
}

TEST_F(ScoreFiles, AnOpenedSongEndsWithItsLastNoteWholeAndShowsIt) {
  // Twelve bars: quarters, then a whole note in the twelfth (704..768); a second staff ends
  // earlier, so the end is the latest of all voices.
  Score song;
  song.CreateDefault();
  auto& notes = song.Staff(1)->Voice(1)->Notes();
  for (int t = 0; t < 704; t += 16) notes.Add(t, 67, durQuarter, 0);
  notes.Add(704, 67, durWhole, 0);
  auto lower = song.AllStaffs().AddStaff(Internal{}, song.AllStaffs().NewID(), "Bass");
  lower->Voice(1)->Notes().Add(640, 43, durHalf, nteDot);
  const std::string path = dir.File("Song.sco");
  ASSERT_TRUE(song.SaveFile(path));

  Score closed;
  ASSERT_TRUE(closed.OpenFile(path));
  EXPECT_EQ(closed.EndTime(), 768);
  // A final bar after the music ends the score with its measure (the fourteenth).
  song.AllGlobals().Add(13 * 64, evtScoreEnd);
  const std::string marked = dir.File("Marked.sco");
  ASSERT_TRUE(song.SaveFile(marked));
  ASSERT_TRUE(closed.OpenFile(marked));
  EXPECT_EQ(closed.EndTime(), 14 * 64);

  // A window's score is still paginating what it held when the file comes (as a new
  // window's is): the page painted while opening already holds the last measure.
  ManualTimerFactory timers;
  SetTimerFactory(&timers);
  RecordingSurface surface;
  Score shown;
  shown.CreateDefault();
  shown.SetWindow(&surface);
  shown.RestartPagination(1);
  ASSERT_TRUE(shown.Paginating());
  shown.SetSelectedMeasure(Internal{}, 7);  // worked in before: the new song starts at 1
  ASSERT_TRUE(shown.OpenFile(path));
  EXPECT_EQ(shown.EndTime(), 768);
  EXPECT_EQ(shown.SelectedMeasure(), 1);
  const std::vector<int> drawn = MeasuresDrawn(shown);
  EXPECT_TRUE(std::find(drawn.begin(), drawn.end(), 704) != drawn.end());
  shown.SetWindow(nullptr);
  SetTimerFactory(nullptr);
}

// Opens another file from inside the open events, and saves from there.
class ReenteringHost : public ScoreEvents {
public:
  Score* score = nullptr;
  std::string other;
  std::vector<bool> results;
  void ProgressReport(int) override {
    if (!results.empty()) return;
    results.push_back(score->OpenFile(other));
    results.push_back(score->SaveFile(other));
  }
};

TEST_F(ScoreFiles, OpeningCannotBeReenteredFromItsEvents) {
  Score score;
  score.CreateDefault();
  const std::string path = dir.File("a.sco");
  ASSERT_TRUE(score.SaveFile(path));
  ReenteringHost host2;
  host2.score = &score;
  host2.other = dir.File("b.sco");
  score.AddListener(&host2);
  EXPECT_TRUE(score.OpenFile(path));
  score.RemoveListener(&host2);
  EXPECT_EQ(host2.results, (std::vector<bool>{false, false}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.sco"});
  EXPECT_TRUE(score.OpenFile(path));  // and the flag is down again
}

}  // namespace
}  // namespace notecraft
