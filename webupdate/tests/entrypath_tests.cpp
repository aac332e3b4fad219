// Names from a server listing: which become paths, and that a path never leaves its folder,
// not even through a symbolic link inside it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "webupdate/entrypath.h"

namespace webupdate {
namespace {

TEST(CheckEntryName, AcceptsPlainRelativeNamesInEitherSlashForm) {
  const struct {
    const char* name;
    const char* path;
  } cases[] = {
      {"setup.dll", "setup.dll"},
      {"Common/Config/Instrument.txt", "Common/Config/Instrument.txt"},
      {"Common\\Config\\Instrument.txt", "Common/Config/Instrument.txt"},
      {"..hidden", "..hidden"},  // dots inside a name are no folder step
      {"a.b.c", "a.b.c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = CheckEntryName(QString::fromUtf8(c.name));
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, QString::fromUtf8(c.path));
  }
}

TEST(CheckEntryName, RefusesNamesThatCouldLeaveTheFolder) {
  const QString cases[] = {
      QStringLiteral("../x"),
      QStringLiteral("..\\x"),
      QStringLiteral("/abs"),
      QStringLiteral("\\abs"),
      QStringLiteral("C:\\x"),
      QStringLiteral("c:x"),
      QStringLiteral("a/../../b"),
      QStringLiteral(""),
      QStringLiteral("."),
      QStringLiteral(".."),
      QStringLiteral("a//b"),
      QStringLiteral("a/"),
      QStringLiteral("a/./b"),
      QStringLiteral("a\tb"),
      QStringLiteral("a\nb"),
      QString(QChar(0)) + QStringLiteral("x"),
      QString(2000, u'a'),
      QString(256, u'a'),
      QStringLiteral("a/") + QString(130, QChar(0x00e9)),  // 260 bytes in one part
  };
  for (const QString& name : cases) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(CheckEntryName(name).has_value());
  }
}

TEST(ResolveInside, StaysInsideTheFolderThroughSymbolicLinks) {
  QTemporaryDir root;
  QTemporaryDir outside;
  const QString folder = root.path() + QStringLiteral("/install");
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Common")));
  ASSERT_TRUE(QFile::link(outside.path(), folder + QStringLiteral("/escape")));
  ASSERT_TRUE(QFile::link(outside.path() + QStringLiteral("/profile"),
                          folder + QStringLiteral("/dangling")));
  ASSERT_TRUE(QFile::link(folder + QStringLiteral("/Common"), folder + QStringLiteral("/inner")));

  const QString canonical = QDir(folder).canonicalPath();
  EXPECT_EQ(ResolveInside(folder, QStringLiteral("Common/new/file.txt")),
            canonical + QStringLiteral("/Common/new/file.txt"));
  EXPECT_EQ(ResolveInside(folder, QStringLiteral("Common\\x.txt")),
            canonical + QStringLiteral("/Common/x.txt"));
  EXPECT_TRUE(ResolveInside(folder, QStringLiteral("inner/x.txt")).has_value());

  EXPECT_FALSE(ResolveInside(folder, QStringLiteral("escape/x.txt")).has_value());
  EXPECT_FALSE(ResolveInside(folder, QStringLiteral("dangling")).has_value());
  EXPECT_FALSE(ResolveInside(folder, QStringLiteral("Common")).has_value());  // a folder
  EXPECT_FALSE(ResolveInside(folder, QStringLiteral("../install/x")).has_value());
  EXPECT_FALSE(
      ResolveInside(root.path() + QStringLiteral("/missing"), QStringLiteral("x")).has_value());
}

TEST(ResolveInside, SaysWhyANameIsRefused) {
  QTemporaryDir root;
  QTemporaryDir outside;
  const QString folder = root.path();
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Common/Config")));
  QFile file(folder + QStringLiteral("/readme"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  ASSERT_TRUE(QFile::link(outside.path(), folder + QStringLiteral("/escape")));
  const struct {
    QString name;
    const char* reason;
  } cases[] = {
      {QString(300, u'n') + QStringLiteral(".htm"), "it is too long for the file system"},
      {QStringLiteral("Common/") + QString(1000, u'n'), "it is too long for the file system"},
      {QStringLiteral("Common/Config"), "it names a folder, not a file"},
      {QStringLiteral("readme/x.txt"), "a part of it is a file, not a folder"},
      {QStringLiteral("escape/x.txt"), "it leads outside the folder"},
      {QStringLiteral("../x.txt"), "it holds an empty, \".\" or \"..\" step"},
      {QStringLiteral("/etc/passwd"), "it is not a relative name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    QString why;
    EXPECT_FALSE(ResolveInside(folder, c.name, &why).has_value());
    EXPECT_TRUE(why.startsWith(QString::fromUtf8(c.reason))) << why.toStdString();
  }
}

}  // namespace
}  // namespace webupdate
