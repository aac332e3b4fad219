// The page view: which links it follows, and that page titles decode as the builder decodes
// node texts.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "guideview/app/helpbrowser.h"
#include "guideview/core/helpcontents.h"
#include "guideview/core/pagetext.h"

namespace guideview {
namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class HelpBrowserTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    help = QDir(root.path()).absoluteFilePath("help");
    WriteFile(help + "/a.htm",
              "<TITLE>A</TITLE><A HREF=\"sub/b.htm\">b</A> <A HREF=\"../secret.htm\">s</A>"
              " <A HREF=\"http://example.org/x\">web</A> <A HREF=\"mailto:x@y\">mail</A>");
    WriteFile(help + "/sub/b.htm", "<TITLE>B</TITLE><A HREF=\"../a.htm#end\">back</A>");
    WriteFile(root.path() + "/secret.htm", "<TITLE>Secret</TITLE>");
    browser.SetHelpFolder(QDir(help).canonicalPath());
    browser.openExternal = [this](const QUrl& url) { opened.append(url); };
    browser.setSource(QUrl::fromLocalFile(help + "/a.htm"));
  }

  QTemporaryDir root;
  QString help;
  HelpBrowser browser;
  QList<QUrl> opened;
};

TEST_F(HelpBrowserTest, FollowsOnlyLinksInsideTheHelpFolder) {
  EXPECT_EQ(browser.documentTitle(), "A");
  EXPECT_FALSE(browser.FollowLink(QUrl("../secret.htm")));
  EXPECT_FALSE(browser.FollowLink(QUrl::fromLocalFile(root.path() + "/secret.htm")));
  EXPECT_FALSE(browser.FollowLink(QUrl("file:///etc/hosts")));
  EXPECT_FALSE(browser.FollowLink(QUrl("mailto:x@y")));
  EXPECT_FALSE(browser.FollowLink(QUrl("ftp://example.org/x")));
  EXPECT_FALSE(browser.FollowLink(QUrl("missing.htm")));
  EXPECT_EQ(browser.documentTitle(), "A");
  EXPECT_TRUE(opened.isEmpty());

  EXPECT_TRUE(browser.FollowLink(QUrl("http://example.org/x")));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened.first(), QUrl("http://example.org/x"));

  // Relative links are read against the page on show.
  EXPECT_TRUE(browser.FollowLink(QUrl("sub/b.htm")));
  EXPECT_EQ(browser.documentTitle(), "B");
  EXPECT_TRUE(browser.FollowLink(QUrl("../a.htm#end")));
  EXPECT_EQ(browser.documentTitle(), "A");
}

TEST_F(HelpBrowserTest, ResourcesOutsideTheFolderAreNotRead) {
  EXPECT_FALSE(browser
                   .loadResource(QTextDocument::HtmlResource,
                                 QUrl::fromLocalFile(root.path() + "/secret.htm"))
                   .isValid());
  EXPECT_FALSE(browser.loadResource(QTextDocument::ImageResource, QUrl("../secret.htm")).isValid());
  EXPECT_FALSE(
      browser.loadResource(QTextDocument::HtmlResource, QUrl("http://example.org/")).isValid());
  EXPECT_TRUE(browser.loadResource(QTextDocument::HtmlResource, QUrl("sub/b.htm")).isValid());
}

TEST_F(HelpBrowserTest, APageTooCostlyToLayOutShowsANoticeAtOnce) {
  // 20,000 list items nested in one another held the window up for a quarter of a minute.
  QByteArray deep = "<HTML><HEAD><TITLE>Deep list</TITLE></HEAD><BODY>";
  for (int i = 0; i < 20000; ++i) deep += "<UL><LI>item ";
  WriteFile(help + "/deep.htm", deep);
  QElapsedTimer timer;
  timer.start();
  ASSERT_TRUE(browser.FollowLink(QUrl("deep.htm")));
  EXPECT_LT(timer.elapsed(), 2000);
  EXPECT_EQ(browser.documentTitle(), "Deep list");  // the contents still find the page
  EXPECT_TRUE(browser.toPlainText().contains("This help page cannot be shown."))
      << browser.toPlainText().toStdString();
  EXPECT_FALSE(browser.toPlainText().contains("item"));

  // An ordinary page after it shows as it is.
  EXPECT_TRUE(browser.FollowLink(QUrl("sub/b.htm")));
  EXPECT_EQ(browser.documentTitle(), "B");
  EXPECT_TRUE(browser.toPlainText().contains("back"));
}

TEST_F(HelpBrowserTest, AHugePageIsRefusedWithItsOwnSize) {
  // 600 MB, most of it a hole in the file: only its start is read.
  WriteFile(help + "/huge.htm", "<HTML><HEAD><TITLE>Huge</TITLE></HEAD><BODY>");
  {
    QFile huge(help + "/huge.htm");
    ASSERT_TRUE(huge.resize(qint64(600) << 20));
  }
  ASSERT_TRUE(browser.FollowLink(QUrl("huge.htm")));
  EXPECT_EQ(browser.documentTitle(), "Huge");
  EXPECT_TRUE(browser.toPlainText().contains(
      "This page is too large to show: 614,400 KB, where a help page may take 512 KB."))
      << browser.toPlainText().toStdString();
}

TEST_F(HelpBrowserTest, PageTitlesDecodeAsNodeTexts) {
  // Each title as a page would hold it; the browser's title and the builder's node text must be
  // the same string, or Prev and Next lose their place.
  const QByteArray titles[] = {
      "Fixture Help &amp; Guide",
      "Rests &#8211; silence&nbsp;too",
      "&eacute;t&eacute; &#xE9; &lt;b&gt; &quot;q&quot; &apos;a&apos; &copy; &euro;",
      "Getting\r\n   Started",
      "  padded  title  ",
      "caf\xE9 \x93quoted\x94",          // Windows-1252 page
      "caf\xC3\xA9 \xE2\x80\x93 UTF-8",  // UTF-8 page
  };
  int n = 0;
  for (const QByteArray& title : titles) {
    SCOPED_TRACE(title.toStdString());
    const QString name = QString("/t%1.htm").arg(n++);
    WriteFile(help + name, "<HTML><HEAD><TITLE>" + title + "</TITLE></HEAD><BODY>x</BODY></HTML>");
    HelpContents contents = LoadContents((help + name).toStdString());
    ASSERT_EQ(contents.nodes.size(), 1u);
    browser.setSource(QUrl::fromLocalFile(help + name));
    EXPECT_EQ(FoldBlanks(browser.documentTitle().toStdString()), contents.nodes[0].text);
  }
}

}  // namespace
}  // namespace guideview
