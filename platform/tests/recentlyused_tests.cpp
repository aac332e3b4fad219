#include <gtest/gtest.h>

#include <QDomDocument>
#include <QFile>

#include "platform/recentlyused.h"
#include "xdgsandbox.h"

namespace platform {
namespace {

class RecentlyUsedTest : public ::testing::Test {
protected:
  static QByteArray ReadList() {
    QFile file(RecentlyUsedFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  static void WriteList(const QByteArray& text) {
    QFile file(RecentlyUsedFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  // The bookmarks by href, each with its application's use count.
  static QMap<QString, int> Bookmarks() {
    QDomDocument doc;
    EXPECT_TRUE(doc.setContent(ReadList()));
    QMap<QString, int> result;
    for (QDomElement b = doc.documentElement().firstChildElement("bookmark"); !b.isNull();
         b = b.nextSiblingElement("bookmark")) {
      const QDomElement app = b.firstChildElement("info")
                                  .firstChildElement("metadata")
                                  .firstChildElement("bookmark:applications")
                                  .firstChildElement("bookmark:application");
      result[b.attribute("href")] = app.attribute("count").toInt();
    }
    return result;
  }

  testing::XdgSandbox sandbox_;
};

TEST_F(RecentlyUsedTest, AddsAFileAndCountsItsUses) {
  EXPECT_EQ(RecentlyUsedFilePath(), sandbox_.DataHome() + "/recently-used.xbel");
  AddToRecentDocuments("/scores/My Song.sco");
  AddToRecentDocuments("/scores/Other.mid");
  AddToRecentDocuments("/scores/My Song.sco");
  const QMap<QString, int> expected{{"file:///scores/My%20Song.sco", 2},
                                    {"file:///scores/Other.mid", 1}};
  EXPECT_EQ(Bookmarks(), expected);

  const QByteArray list = ReadList();
  EXPECT_TRUE(
      list.contains("xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""));
  EXPECT_TRUE(list.contains("<mime:mime-type type=\"audio/midi\"/>")) << list.constData();
}

TEST_F(RecentlyUsedTest, KeepsOtherProgramsEntries) {
  WriteList(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<xbel version=\"1.0\" "
      "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""
      " xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      "  <bookmark href=\"file:///home/u/notes.txt\" added=\"2020-01-01T00:00:00Z\""
      " modified=\"2020-01-01T00:00:00Z\" visited=\"2020-01-01T00:00:00Z\">\n"
      "    <info><metadata owner=\"http://freedesktop.org\">"
      "<mime:mime-type type=\"text/plain\"/><bookmark:groups><bookmark:group>Editors"
      "</bookmark:group></bookmark:groups><bookmark:applications>"
      "<bookmark:application name=\"gedit\" exec=\"'gedit %u'\" modified=\"2020-01-01T00:00:00Z\""
      " count=\"7\"/></bookmark:applications></metadata></info>\n"
      "  </bookmark>\n</xbel>\n");
  AddToRecentDocuments("/home/u/notes.txt");
  AddToRecentDocuments("/home/u/song.sco");
  const QByteArray list = ReadList();
  EXPECT_TRUE(list.contains("<bookmark:group>Editors</bookmark:group>"));
  EXPECT_TRUE(list.contains("added=\"2020-01-01T00:00:00Z\""));
  EXPECT_TRUE(list.contains("name=\"gedit\""));
  EXPECT_TRUE(list.contains("count=\"7\""));
  // The same file now also counts this program's use.
  EXPECT_EQ(list.count("<bookmark:application "), 3);
  EXPECT_EQ(list.count("<bookmark "), 2);
}

TEST_F(RecentlyUsedTest, LeavesAnUnreadableListAlone) {
  const QByteArray broken = "<xbel version=\"1.0\"><bookmark href=\"file:///a\">";
  WriteList(broken);
  AddToRecentDocuments("/scores/a.sco");
  EXPECT_EQ(ReadList(), broken);

  WriteList("<html><body>not a list</body></html>");
  AddToRecentDocuments("/scores/a.sco");
  EXPECT_EQ(ReadList(), "<html><body>not a list</body></html>");
}

TEST_F(RecentlyUsedTest, SkipsSilentlyWhenTheFolderCannotBeWritten) {
  // The data folder's name is taken by a plain file.
  QFile::remove(sandbox_.DataHome());
  QDir(sandbox_.DataHome()).removeRecursively();
  QFile blocker(sandbox_.DataHome());
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  AddToRecentDocuments("/scores/a.sco");
  EXPECT_FALSE(QFile::exists(RecentlyUsedFilePath()));
}

}  // namespace
}  // namespace platform
