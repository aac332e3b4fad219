// The update lists' rules: version folders, pack numbers and the highest pack, backup names,
// and the checked file list of a pack (a hostile name refuses the whole list).
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "patchrunner/packlist.h"
#include "updatefixture.h"

namespace patchrunner {
namespace {

TEST(VersionDigits, TwoDigitsPerPart) {
  const struct {
    const char* version;
    const char* digits;
  } cases[] = {
      {"1.2.3", "010203"}, {"2.10.3", "021003"},
      {"12.5", "1205"},    {"1.100.2", "010002"},  // a part of three digits keeps its last two
      {"7", ""},                                   // no dot, no digits
      {"1..2", "010002"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    EXPECT_EQ(VersionDigits(QString::fromLatin1(c.version)), QString::fromLatin1(c.digits));
  }
  EXPECT_EQ(UpdateFolder(QStringLiteral("T482615"), QStringLiteral("1.2.3")),
            QStringLiteral("Common/Updates/T482615/V010203/"));
}

TEST(PackNumber, ReadsTheNumberAfterTwoCharacters) {
  EXPECT_EQ(PackNumber(QStringLiteral("SP3")), 3);
  EXPECT_EQ(PackNumber(QStringLiteral("SP3A")), 3);
  EXPECT_EQ(PackNumber(QStringLiteral("SP12")), 12);
  EXPECT_EQ(PackNumber(QStringLiteral("SP")), 0);
  EXPECT_EQ(PackNumber(QStringLiteral("SP2.5")), 2);  // half to even
  EXPECT_EQ(PackNumber(QStringLiteral("SP3.5")), 4);
  EXPECT_EQ(PackNumber(QStringLiteral("SPx")), 0);
}

TEST(HighestPack, FirstOfTheHighestValidEntries) {
  const struct {
    const char* name;
    QByteArray list;
    const char* highest;  // "" for none
  } cases[] = {
      {"first of equals", "Packs\r\nSP1\r\nSP3\r\nSP3A\r\n", "SP3"},
      {"later higher", "Packs\nSP3A\nSP4 notes\n", "SP4"},
      {"header only", "Packs\r\n", ""},
      {"invalid names skipped", "Packs\n../SP9\nSP9/x\nSP%39\nSP2\n", "SP2"},
      {"an HTML page yields nothing", "<html>\n<body>Not found</body>\n</html>\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HighestPack(c.list).value_or(QString()), QString::fromLatin1(c.highest));
  }
}

TEST(BackupName, PositionInThreeDigitsAndThePartFromTheFirstDot) {
  EXPECT_EQ(BackupName(QStringLiteral("setup.dll"), 2), QStringLiteral("UP002.dll"));
  EXPECT_EQ(BackupName(QStringLiteral("README"), 5), QStringLiteral("UP005"));
  EXPECT_EQ(BackupName(QStringLiteral("a.b.c"), 1), QStringLiteral("UP001.b.c"));
  EXPECT_EQ(BackupName(QStringLiteral("Common/Config/x.txt"), 12), QStringLiteral("UP012.txt"));
}

class ReadPackFilesTest : public ::testing::Test {
protected:
  PackFileList Read(const QByteArray& text, bool requireHashes = false) {
    return ReadPackFiles(text, m_dir.path(), QStringLiteral(".staging"), requireHashes);
  }
  QTemporaryDir m_dir;
};

TEST_F(ReadPackFilesTest, ReadsNamesPathsAndOptionalHashes) {
  const QByteArray hash(64, 'A');
  const PackFileList list =
      Read("Files\r\nsetup.dll " + hash + "\r\nCommon\\Config\\Instrument.txt\nREADME new\n");
  ASSERT_TRUE(list.refused.isEmpty());
  ASSERT_EQ(list.files.size(), 3);
  EXPECT_EQ(list.files[0].sha256, QByteArray(64, 'a'));
  EXPECT_EQ(list.files[1].listed, QStringLiteral("Common\\Config\\Instrument.txt"));
  EXPECT_EQ(list.files[1].relativePath, QStringLiteral("Common/Config/Instrument.txt"));
  EXPECT_TRUE(list.files[1].target.endsWith(QStringLiteral("/Common/Config/Instrument.txt")));
  EXPECT_TRUE(list.files[2].sha256.isEmpty());  // a second word that is no hash is ignored
}

TEST_F(ReadPackFilesTest, OneBadNameRefusesTheWholeList) {
  const struct {
    const char* name;
    QByteArray list;
    const char* refused;
  } cases[] = {
      {"parent step", "Files\na.txt\n../x\nb.txt\n", "../x"},
      {"absolute", "Files\na.txt\n/etc/passwd\n", "/etc/passwd"},
      {"drive", "Files\nC:\\x.dll\n", "C:\\x.dll"},
      {"hidden climb", "Files\na/../../b\n", "a/../../b"},
      {"staging folder", "Files\n.staging/new000\n", ".staging/new000"},
      {"twice", "Files\na.txt\na.txt\n", "a.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PackFileList list = Read(c.list);
    EXPECT_EQ(list.refused, QString::fromLatin1(c.refused));
    EXPECT_FALSE(list.reason.isEmpty());
    EXPECT_TRUE(list.files.isEmpty());
  }
}

TEST_F(ReadPackFilesTest, RequiredHashesRefuseAFileWithoutOne) {
  EXPECT_EQ(Read("Files\na.txt\n", true).refused, QStringLiteral("a.txt"));
  EXPECT_TRUE(Read("Files\na.txt " + QByteArray(64, '0') + "\n", true).refused.isEmpty());
}

}  // namespace
}  // namespace patchrunner
