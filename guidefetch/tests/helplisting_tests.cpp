// The help listing's rules: what is listed, how dates read, which files are fetched.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "guidefetch/helplisting.h"

namespace guidefetch {
namespace {

QStringList Names(const QList<HelpEntry>& entries) {
  QStringList names;
  for (const HelpEntry& entry : entries) names.append(entry.name + u'=' + entry.date);
  return names;
}

TEST(ParseHelpListing, ReadsTheLinesBetweenThePreTags) {
  const struct {
    const char* name;
    QByteArray page;
    QStringList entries;
  } cases[] = {
      {"CRLF",
       "<html><PRE>skipped | 1/1/2000\r\n a.htm | 3/5/2024 \r\nb.gif|2024-03-05\r\n"
       "</PRE></html>",
       {"a.htm=3/5/2024", "b.gif=2024-03-05"}},
      {"LF only, lower case",
       "<pre>\na.htm | 3/5/2024\nb.htm | 3/6/2024\n</pre>",
       {"a.htm=3/5/2024", "b.htm=3/6/2024"}},
      {"CR only", "<Pre>\ra.htm | x\r</pRe>", {"a.htm=x"}},
      {"lines without a bar or name skipped",
       "<pre>\nheading\n| 1/1/2000\na.htm | d\n</pre>",
       {"a.htm=d"}},
      {"text after the list ignored", "<pre>\na | 1\n</pre>\nb | 2\n", {"a=1"}},
      {"no closing tag", "<pre>\na | 1\nb | 2", {"a=1", "b=2"}},
      {"no list", "<html><body>a | 1</body></html>", {}},
      {"the first bar splits", "<pre>\na|b | c\n</pre>", {"a=b | c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Names(ParseHelpListing(c.page)), c.entries);
  }
}

TEST(ParseListedDate, FixedFormatsInLocalTime) {
  const QDateTime afternoon(QDate(2024, 3, 5), QTime(14, 30));
  const struct {
    const char* text;
    QDateTime value;
  } cases[] = {
      {"2024-03-05", QDate(2024, 3, 5).startOfDay()},
      {"2024-03-05T14:30:00", afternoon},
      {"2024-03-05 14:30", afternoon},
      {"3/5/2024", QDate(2024, 3, 5).startOfDay()},
      {"03/05/2024 2:30:00 PM", afternoon},
      {"3/5/2024 2:30 PM", afternoon},
      {"3/5/2024 14:30:00", afternoon},
      {" 3/5/2024   14:30 ", afternoon},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto value = ParseListedDate(QString::fromLatin1(c.text));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, c.value);
  }
  for (const char* bad : {"", "yesterday", "13/45/2024", "5.3.2024", "2024-02-30"}) {
    EXPECT_FALSE(ParseListedDate(QString::fromLatin1(bad)).has_value()) << bad;
  }
}

TEST(NeedsFetch, MissingOlderOrUnreadableDatesAreFetched) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("page.htm"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const QDateTime local(QDate(2024, 3, 5), QTime(12, 0));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(local, QFileDevice::FileModificationTime));
  file.close();

  const struct {
    const char* name;
    const char* listed;
    bool fetch;
  } cases[] = {
      {"listed later", "2024-03-05 12:01", true},
      {"listed at the same time", "2024-03-05 12:00", false},
      {"listed earlier", "3/4/2024", false},
      {"unreadable date", "soon", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NeedsFetch(QFileInfo(path), QString::fromLatin1(c.listed)), c.fetch);
  }
  EXPECT_TRUE(NeedsFetch(QFileInfo(dir.filePath(QStringLiteral("missing.htm"))), "1/1/1990"));
}

}  // namespace
}  // namespace guidefetch
