// Saves of one file by several editors at once, and a save refused by a shared (sticky)
// folder: the temporary file stays locked until it has its final name, so no editor's
// clean-up of stale temporary files takes it away, and a refusal says why.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "notecraft/io/filecommit.h"
#include "notecraft/io/fileops.h"
#include "notecraft/io/tempfiles.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::ReadAll;
using testing::TempDir;
using testing::WriteAll;

// What a save writes: the temporary file must begin as a score does to count as stale.
ByteVector ScoreLike(std::size_t size, std::uint8_t fill) {
  ByteVector bytes(size, fill);
  bytes[0] = 'V', bytes[1] = 'm', bytes[2] = '0', bytes[3] = '0';
  return bytes;
}

// Another editor's save of the same file starts, and so cleans up, right before this one
// renames its finished temporary file into place: the worst moment.
class CleanupBeforeRename : public PosixFileOps {
public:
  int Rename(const std::string& from, const std::string& to) override {
    removedBefore += RemoveStaleTempFiles(to);
    return PosixFileOps::Rename(from, to);
  }
  int removedBefore = 0;
};

TEST(FileCommitSharing, ACleanupRightBeforeTheRenameLeavesTheFinishedFile) {
  TempDir dir;
  CleanupBeforeRename ops;
  SetFileOps(&ops);
  const std::string path = dir.File("Song.sco");
  const ByteVector bytes = ScoreLike(5000, 'n');
  auto done = CommitFile(path, bytes);
  SetFileOps(nullptr);
  ASSERT_TRUE(done) << done.Error().Message;
  EXPECT_EQ(ops.removedBefore, 0);
  EXPECT_EQ(ReadAll(path), bytes);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});

  // A temporary file really left by a killed save is still cleaned up.
  std::string stale = TempFileTemplate(path);
  const int fd = ::mkstemp(stale.data());
  ASSERT_GE(fd, 0);
  ::close(fd);
  ASSERT_TRUE(CommitFile(path, bytes));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
}

TEST(FileCommitSharing, ConcurrentSavesOfOneFileFromSeveralProcessesAllSucceed) {
  // Every process is an editor of its own (its own temporary files and locks) saving the
  // same score over and over; each save cleans up stale temporary files first.
  TempDir dir;
  const std::string path = dir.File("Shared.sco");
  constexpr int kEditors = 6;
  constexpr int kSavesEach = 400;
  std::vector<pid_t> editors;
  for (int e = 0; e < kEditors; ++e) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const ByteVector bytes =
          ScoreLike(2000 + 100 * static_cast<std::size_t>(e), static_cast<std::uint8_t>('a' + e));
      int failures = 0;
      for (int i = 0; i < kSavesEach; ++i)
        if (!CommitFile(path, bytes)) ++failures;
      ::_exit(failures > 100 ? 100 : failures);
    }
    editors.push_back(pid);
  }
  int failures = 0;
  for (const pid_t pid : editors) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    failures += WEXITSTATUS(status);
  }
  EXPECT_EQ(failures, 0) << "of " << kEditors * kSavesEach << " saves";
  // The file is one editor's complete bytes, and no temporary file is left.
  const ByteVector last = ReadAll(path);
  ASSERT_GE(last.size(), 2000u);
  EXPECT_EQ(last, ScoreLike(last.size(), last.back()));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Shared.sco"});
}

// The rename refused as a shared folder refuses it to a file of another user.
class RenameRefused : public PosixFileOps {
public:
  int Rename(const std::string&, const std::string&) override {
    errno = error;
    return -1;
  }
  int error = EPERM;
};

TEST(FileCommitSharing, ASaveRefusedByASharedFolderSaysWhy) {
  // Only the superuser can give a file to another user; and it is never refused itself, so
  // the refusal is simulated.
  if (::geteuid() != 0) GTEST_SKIP() << "needs a file of another user";
  TempDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 01777), 0);
  const std::string path = dir.File("Theirs.sco");
  WriteAll(path, ByteVector{'o', 'l', 'd'});
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chown(path.c_str(), 54321, 54321), 0);
  ASSERT_EQ(::chown(dir.Path().c_str(), 54321, 54321), 0);

  RenameRefused ops;
  SetFileOps(&ops);
  struct Case {
    int error;
    bool sticky;
    const char* expected;
  } cases[] = {
      {EPERM, true, "the file belongs to another user and the folder "},
      {EACCES, true, "the file belongs to another user and the folder "},
      {EPERM, false, "Operation not permitted"},
      {EXDEV, true, "Invalid cross-device link"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    ASSERT_EQ(::chmod(dir.Path().c_str(), c.sticky ? 01777 : 0777), 0);
    ops.error = c.error;
    auto done = CommitFile(path, ScoreLike(100, 'n'));
    ASSERT_FALSE(done);
    const std::string& message = done.Error().Message;
    EXPECT_EQ(message.rfind("Could not save " + path + ": ", 0), 0u) << message;
    EXPECT_NE(message.find(c.expected), std::string::npos) << message;
    EXPECT_EQ(ReadAll(path), (ByteVector{'o', 'l', 'd'}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Theirs.sco"});
  }
  SetFileOps(nullptr);

  // The user's own file in the same folder is not explained that way.
  ASSERT_EQ(::chown(path.c_str(), 0, 0), 0);
  SetFileOps(&ops);
  ops.error = EPERM;
  auto own = CommitFile(path, ScoreLike(100, 'n'));
  SetFileOps(nullptr);
  ASSERT_FALSE(own);
  EXPECT_NE(own.Error().Message.find("Operation not permitted"), std::string::npos);
}

}  // namespace
}  // namespace notecraft
