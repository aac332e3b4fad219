// The byte layer of the native score file and the atomic commit of a saved file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>

#include "notecraft/io/filebytes.h"
#include "notecraft/io/filecommit.h"
#include "notecraft/io/fileops.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::ReadAll;
using testing::TempDir;
using testing::WriteAll;

std::span<const std::uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(ScoreFileBytes, N4IsBigEndianAndReadsItsLowThreeBytes) {
  EXPECT_EQ(LongToBytes(51), std::string("\0\0\0\x33", 4));
  EXPECT_EQ(LongToBytes(0x01020304), "\x01\x02\x03\x04");
  EXPECT_EQ(BytesToLong(std::string_view("\x00\x01\x00\x00", 4)), 65536);
  EXPECT_EQ(BytesToLong(std::string_view("\x00\xFF\xFF\xFF", 4)), 16777215);
  // 2^24 and above come back reduced modulo 2^24: the first byte is never read.
  EXPECT_EQ(BytesToLong(LongToBytes(16777216)), 0);
  EXPECT_EQ(BytesToLong(LongToBytes(16777216 + 70)), 70);
  EXPECT_EQ(BytesToLong(std::string_view("\x7F\x00\x00\x05", 4)), 5);
  // Anything but exactly four bytes reads as 0.
  EXPECT_EQ(BytesToLong(std::string_view("\x00\x00\x05", 3)), 0);
  EXPECT_EQ(BytesToLong(std::string_view("\x00\x00\x00\x05\x00", 5)), 0);
}

TEST(ScoreFileBytes, DecimalsAreShortFixedAndInTheCLocale) {
  struct Case {
    float value;
    const char* text;
  } cases[] = {
      {0.4f, "0.4"},   {0.65f, "0.65"},   {10.5f, "10.5"}, {14.0f, "14"},
      {8.25f, "8.25"}, {-0.75f, "-0.75"}, {0.0f, "0"},
      {1e-5f, "0.00001"},         // never "1e-05", which a reader takes as 1
      {1.5e7f, "15000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatDecimal(c.value), c.text);
    // Read back straight into a single: the same value.
    EXPECT_EQ(ParseDecimalFloat(AsBytes(c.text)), c.value);
  }
  EXPECT_EQ(FormatDecimal(120), "120");
  EXPECT_EQ(FormatDecimal(-12), "-12");
  EXPECT_EQ(FormatDecimal(std::nanf("")), "0");
}

TEST(ScoreFileBytes, ReadersTakeTheLongestLeadingNumber) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"120", 120},      {"  -12", -12},    {"0.75\xFE", 0.75}, {".5", 0.5},
      {"5.", 5},         {"14abc", 14},     {"", 0},            {"abc", 0},
      {"-", 0},          {"1E-05", 1e-5},   {"2e3x", 2000},     {"3e", 3},
      {"1,5", 1},        // the C locale: a comma ends the number
      {"1e999", HUGE_VAL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDecimal(AsBytes(c.text)), c.value);
  }
}

TEST(ScoreFileBytes, TextsCannotBreakTheirRecords) {
  // Separator bytes (0, 254 = thorn, 255 = y-diaeresis) and characters without a byte.
  EXPECT_EQ(FileText("a\xC3\xBE" "b\xC3\xBF" "c", TextKind::Free), "a?b?c");
  EXPECT_EQ(FileText(std::string("x\0y", 3), TextKind::Free), "x?y");
  EXPECT_EQ(FileText("\xE2\x99\xAF", TextKind::Free), "?");  // a sharp sign
  EXPECT_EQ(FileText("caf\xC3\xA9", TextKind::Free), "caf\xE9");
  // Lyrics keep the carriage returns between their verses; other controls go.
  EXPECT_EQ(FileText("la\rlo\nx\ty\x01", TextKind::Free), "la\rlo\nx?y?");
  // A description is ended by the control byte after it: no byte below 32 at all.
  EXPECT_EQ(FileText("Fl\rute\x1F", TextKind::Description), "Fl?ute?");
  EXPECT_EQ(TextFromFile(AsBytes("caf\xE9 \x80")), "caf\xC3\xA9 \xE2\x82\xAC");
}

// --- Committing a file ---

// A file layer that fails one call with an errno, the rest going to the system.
class FailingOps : public PosixFileOps {
public:
  enum class Step { None, MakeTemp, Write, Sync, Close, Rename };
  Step failAt = Step::None;
  int error = ENOSPC;
  std::size_t writeLimit = 0;  // with Step::Write: bytes accepted before the failure
  std::string temp;            // the temporary file made

  int MakeTemp(std::string& pathTemplate) override {
    if (failAt == Step::MakeTemp) return Fail();
    const int fd = PosixFileOps::MakeTemp(pathTemplate);
    temp = pathTemplate;
    return fd;
  }
  long Write(int fd, const void* data, std::size_t size) override {
    if (failAt != Step::Write) return PosixFileOps::Write(fd, data, size);
    if (m_written >= writeLimit) return Fail();
    const std::size_t n = std::min(size, writeLimit - m_written);
    m_written += n;
    return PosixFileOps::Write(fd, data, n);  // a short write, then the failure
  }
  int Sync(int fd) override { return failAt == Step::Sync ? Fail() : PosixFileOps::Sync(fd); }
  int Close(int fd) override {
    const int rc = PosixFileOps::Close(fd);
    return failAt == Step::Close ? Fail() : rc;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return failAt == Step::Rename ? Fail() : PosixFileOps::Rename(from, to);
  }

private:
  int Fail() {
    errno = error;
    return -1;
  }
  std::size_t m_written = 0;
};

class ScoreFileCommit : public ::testing::Test {
protected:
  void SetUp() override { SetFileOps(&ops); }
  void TearDown() override { SetFileOps(nullptr); }
  FailingOps ops;
  TempDir dir;
  const ByteVector oldBytes = ByteVector{'o', 'l', 'd'};
  const ByteVector newBytes = ByteVector(100000, 'n');
};

TEST_F(ScoreFileCommit, ReplacesTheFileAndKeepsItsPermissions) {
  const std::string path = dir.File("Song.sco");
  WriteAll(path, oldBytes);
  ::chmod(path.c_str(), 0640);
  auto done = CommitFile(path, newBytes);
  ASSERT_TRUE(done) << done.Error().Message;
  EXPECT_EQ(ReadAll(path), newBytes);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});  // no temporary file left
  EXPECT_EQ(ops.temp.rfind(dir.File("$VM$"), 0), 0u) << ops.temp;
}

TEST_F(ScoreFileCommit, ANewFileGetsTheUsualPermissionsNotThoseOfATemporaryFile) {
  const mode_t mask = ::umask(022);
  const std::string path = dir.File("New.sco");
  auto done = CommitFile(path, newBytes);
  ::umask(mask);
  ASSERT_TRUE(done) << done.Error().Message;
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(ScoreFileCommit, AnyFailureLeavesTheOldFileAndNoTemporaryFile) {
  struct Case {
    const char* name;
    FailingOps::Step step;
    int error;
    const char* reason;
  } cases[] = {
      {"full disk on the first write", FailingOps::Step::Write, ENOSPC, "No space left on device"},
      {"read-only folder", FailingOps::Step::MakeTemp, EACCES, "Permission denied"},
      {"flush fails", FailingOps::Step::Sync, EIO, "Input/output error"},
      {"close reports a lost write", FailingOps::Step::Close, EIO, "Input/output error"},
      {"rename fails", FailingOps::Step::Rename, EXDEV, "Invalid cross-device link"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("Song.sco");
    WriteAll(path, oldBytes);
    ops = FailingOps{};
    ops.failAt = c.step;
    ops.error = c.error;
    auto done = CommitFile(path, newBytes);
    ASSERT_FALSE(done);
    EXPECT_EQ(done.Error().Code, FileErrorCode::CannotWrite);
    EXPECT_NE(done.Error().Message.find(c.reason), std::string::npos) << done.Error().Message;
    EXPECT_NE(done.Error().Message.find(path), std::string::npos);
    EXPECT_EQ(ReadAll(path), oldBytes);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
  }
}

TEST_F(ScoreFileCommit, ADiskThatFillsPartWayLeavesTheOldFile) {
  const std::string path = dir.File("Song.sco");
  WriteAll(path, oldBytes);
  ops.failAt = FailingOps::Step::Write;
  ops.writeLimit = 4096;  // the first write is short, the next fails
  EXPECT_FALSE(CommitFile(path, newBytes));
  EXPECT_EQ(ReadAll(path), oldBytes);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
}

TEST_F(ScoreFileCommit, AReadOnlyFolderRefusesTheSave) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string path = dir.File("Song.sco");
  WriteAll(path, oldBytes);
  ::chmod(dir.Path().c_str(), 0555);
  auto done = CommitFile(path, newBytes);
  ::chmod(dir.Path().c_str(), 0755);
  ASSERT_FALSE(done);
  EXPECT_NE(done.Error().Message.find("Permission denied"), std::string::npos);
  EXPECT_EQ(ReadAll(path), oldBytes);
}

TEST_F(ScoreFileCommit, AReadOnlyFileIsRefusedAndKept) {
  const std::string path = dir.File("Song.sco");
  WriteAll(path, oldBytes);
  ::chmod(path.c_str(), 0444);
  auto done = CommitFile(path, newBytes);
  ASSERT_FALSE(done);
  EXPECT_EQ(done.Error().Message, "Could not save " + path + ": the file is read-only.");
  EXPECT_EQ(ReadAll(path), oldBytes);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Song.sco"});
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  ::chmod(path.c_str(), 0644);
  EXPECT_TRUE(CommitFile(path, newBytes)) << "writable again, it saves";
  EXPECT_EQ(ReadAll(path), newBytes);
}

TEST_F(ScoreFileCommit, AUsersOwnDollarVMFileSurvivesASaveBesideIt) {
  const std::string mine = dir.File("$VM$.sco");
  WriteAll(mine, oldBytes);
  ASSERT_TRUE(CommitFile(dir.File("Song.sco"), newBytes));
  EXPECT_EQ(ReadAll(mine), oldBytes);
  // And saving onto a file of that very name replaces it like any other.
  ASSERT_TRUE(CommitFile(mine, newBytes));
  EXPECT_EQ(ReadAll(mine), newBytes);
  EXPECT_EQ(dir.Entries().size(), 2u);
}

TEST_F(ScoreFileCommit, ASymbolicLinkStaysAndItsFileIsReplaced) {
  const std::string real = dir.File("real.sco");
  const std::string link = dir.File("link.sco");
  WriteAll(real, oldBytes);
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(CommitFile(link, newBytes));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(real), newBytes);
}

TEST_F(ScoreFileCommit, AFolderCannotBeReplaced) {
  std::filesystem::create_directory(dir.File("Song.sco"));
  auto done = CommitFile(dir.File("Song.sco"), newBytes);
  ASSERT_FALSE(done);
  EXPECT_NE(done.Error().Message.find("Is a directory"), std::string::npos);
}

TEST(ScoreFileRead, RefusesWhatIsNotARegularFile) {
  TempDir dir;
  auto folder = ReadFileBytes(dir.Path().string(), 100);
  ASSERT_FALSE(folder);
  EXPECT_NE(folder.Error().Message.find("Is a directory"), std::string::npos);

  // A pipe would block a plain reader forever.
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto pipe = ReadFileBytes(fifo, 100);
  ASSERT_FALSE(pipe);
  EXPECT_EQ(pipe.Error().Code, FileErrorCode::CannotOpen);

  auto missing = ReadFileBytes(dir.File("none.sco"), 100);
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.Error().Message.find("No such file"), std::string::npos);

  WriteAll(dir.File("big"), ByteVector(300, 7));
  auto capped = ReadFileBytes(dir.File("big"), 100);
  ASSERT_TRUE(capped);
  EXPECT_EQ(capped.Value().Bytes().size(), 100u);
  EXPECT_EQ(capped.Value().Size, 300u);
}

}  // namespace
}  // namespace notecraft
