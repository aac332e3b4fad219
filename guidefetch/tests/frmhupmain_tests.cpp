// The "Update Help from Internet" window on Qt's offscreen platform: what it shows, OK to the
// result message and the end of the window, and Cancel before and during an update.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "guidefetch/frmhupmain.h"
#include "helprig.h"
#include "resultboxpicture.h"

namespace guidefetch {
namespace {

using testing::Docs;
using testing::HelpRig;
using webupdate::testing::Fault;
using webupdate::testing::Route;

template <class T = QWidget>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class HelpWindowTest : public ::testing::Test, public HelpRig {
protected:
  void Open() {
    m_window.reset();
    m_updater = std::make_unique<HelpUpdater>(Line(), m_server.BaseUrl());
    m_updater->SetTransferLimits({.idleMs = 2000});
    m_window = std::make_unique<frmHUPMain>(Line(), *m_updater);
    m_window->SetPrompter(
        [this](const QString& title, const QString& text, QMessageBox::Icon icon) {
          m_prompts.append(title + u':' + text);
          m_icons.append(icon);
          m_statusAtPrompt = Child<QStatusBar>(*m_window, "sbrMain")->currentMessage();
        });
    m_window->show();
  }

  QPushButton* Button(const char* name) { return Child<QPushButton>(*m_window, name); }

  std::unique_ptr<HelpUpdater> m_updater;
  std::unique_ptr<frmHUPMain> m_window;
  QStringList m_prompts;
  QList<QMessageBox::Icon> m_icons;
  QString m_statusAtPrompt;
};

TEST_F(HelpWindowTest, ShowsTheCommandLineValues) {
  Open();
  EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Update Help from Internet"));
  EXPECT_EQ(Child<QLineEdit>(*m_window, "txtPath")->text(), m_help);
  EXPECT_EQ(Child<QLineEdit>(*m_window, "txtName")->text(), QStringLiteral("Veltrimond"));
  EXPECT_EQ(Child<QLineEdit>(*m_window, "txtProduct")->text(), QStringLiteral("T482615"));
  QStringList captions;
  for (const QLabel* label : m_window->findChildren<QLabel*>(QStringLiteral("lblLabel"))) {
    captions.append(label->text());
  }
  EXPECT_TRUE(captions.contains(QStringLiteral("Path to Help Files")));
  EXPECT_TRUE(captions.contains(QStringLiteral("Product")));
  EXPECT_TRUE(captions.contains(
      QStringLiteral("Press OK to continue or Cancel to keep your current files.")));
  EXPECT_EQ(Button("cmdOk")->text(), QStringLiteral("OK"));
  EXPECT_EQ(Button("cmdCancel")->text(), QStringLiteral("Cancel"));
  m_window->grab().save(QStringLiteral(TEST_OUTPUT "/frmhupmain.png"));
}

TEST_F(HelpWindowTest, OkUpdatesReportsAndCloses) {
  Open();
  QTest::mouseClick(Button("cmdOk"), Qt::LeftButton);
  EXPECT_FALSE(Button("cmdOk")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([this] { return !m_prompts.isEmpty(); }, 10000));
  EXPECT_EQ(m_prompts, QStringList{"Update:Update completed successfully."});
  EXPECT_EQ(m_icons, QList<QMessageBox::Icon>{QMessageBox::Information});
  EXPECT_TRUE(m_statusAtPrompt.isEmpty());
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_EQ(testing::ReadFile(Local(QStringLiteral("logo.gif"))), Picture);
}

TEST_F(HelpWindowTest, CancelBeforeOkClosesAtOnce) {
  Open();
  QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_TRUE(m_prompts.isEmpty());
  EXPECT_TRUE(m_server.Requested().isEmpty());
}

TEST_F(HelpWindowTest, CancelOrClosingWhileBusyStopsAtOnce) {
  for (const bool byClosing : {false, true}) {
    SCOPED_TRACE(byClosing ? "closing the window" : "Cancel");
    QFile::remove(Local(QStringLiteral("index.htm")));
    m_prompts.clear();
    // The page would drip for seconds.
    m_server.Set(Docs + QStringLiteral("index.htm"), Route{200, Page, Fault::Drip, 200});
    Open();
    QTest::mouseClick(Button("cmdOk"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
          return Child<QStatusBar>(*m_window, "sbrMain")->currentMessage() ==
                 QStringLiteral("Downloading index.htm...");
        },
        5000));
    EXPECT_TRUE(Button("cmdCancel")->isEnabled());
    if (byClosing) {
      m_window->close();
    } else {
      QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_prompts.isEmpty(); }, 1000));
    EXPECT_EQ(m_prompts, QStringList{"Update:Update cancelled."});
    EXPECT_FALSE(QFileInfo::exists(Local(QStringLiteral("index.htm"))));
    EXPECT_FALSE(QFileInfo::exists(Local(QStringLiteral("logo.gif"))));
    EXPECT_FALSE(m_window->isVisible());
  }
}

// The title bar's close button (or Alt+F4) during a transfer: the window system asks the window
// to close. The update is cancelled, the page keeping its old copy, and the program ends with its
// window: its event loop quits instead of running on with no window to end it.
TEST_F(HelpWindowTest, ClosingTheWindowDuringATransferEndsTheProgram) {
  testing::WriteFile(Local(QStringLiteral("index.htm")), "old page",
                     QDate(2020, 1, 1).startOfDay());
  m_server.Set(Docs + QStringLiteral("index.htm"), Route{200, Page, Fault::Drip, 500});
  const auto before = testing::Snapshot(m_dir.path());
  Open();
  QTest::mouseClick(Button("cmdOk"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor(
      [this] {
        return Child<QStatusBar>(*m_window, "sbrMain")->currentMessage() ==
               QStringLiteral("Downloading index.htm...");
      },
      5000));

  QTimer::singleShot(0, m_window.get(), [this] {
    QCloseEvent close;
    QCoreApplication::sendEvent(m_window->windowHandle(), &close);
  });
  QTimer runsOn;
  runsOn.setSingleShot(true);
  QObject::connect(&runsOn, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  runsOn.start(3000);
  EXPECT_EQ(QApplication::exec(), 0) << "the program runs on without its window";

  EXPECT_FALSE(m_window->isVisible());
  EXPECT_EQ(m_prompts, QStringList{"Update:Update cancelled."});
  EXPECT_EQ(testing::Snapshot(m_dir.path()), before);
}

TEST_F(HelpWindowTest, AFailureSaysWhyWithAStopIcon) {
  m_server.Set(Docs + QStringLiteral("logo.gif"), Route{500, "<html>Server Error</html>"});
  Open();
  QTest::mouseClick(Button("cmdOk"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !m_prompts.isEmpty(); }, 10000));
  EXPECT_EQ(m_prompts, QStringList{"Update:Update failed.  Not all files were updated.\n"
                                   "logo.gif: The server answered with status 500."});
  EXPECT_EQ(m_icons, QList<QMessageBox::Icon>{QMessageBox::Critical});
}

// The failure messages as the user sees them, pictures left beside the test for a person to look
// at: a hostile listing's 300-character name is shortened so the box fits a small screen.
TEST_F(HelpWindowTest, FailureMessagesFitTheScreen) {
  const QByteArray listing = "<pre>\nindex.htm | 1/1/2030\n</pre>";
  const struct {
    const char* picture;
    QByteArray listing;
    Route page;
  } cases[] = {
      {"message-long-name.png", "<pre>\n" + QByteArray(300, 'n') + ".htm | 1/1/2030\n</pre>",
       Route{200, Page}},
      {"message-cut-page.png", listing, webupdate::testing::Announcing(900, Page)},
      {"message-no-length.png", listing, webupdate::testing::Unannounced(Page, Fault::ShortBody)},
      {"message-bad-chunks.png", listing,
       webupdate::testing::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0x5\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    m_server.Set(Docs + QStringLiteral("Dir.htm"), c.listing);
    m_server.Set(Docs + QStringLiteral("index.htm"), c.page);
    const HelpResult result = RunUpdate();
    ASSERT_NE(result.kind, HelpResult::Kind::Completed);
    const QSize size = webupdate::testing::SaveResultBoxPicture(
        result.text, QMessageBox::Critical, QStringLiteral(TEST_OUTPUT "/") + c.picture);
    EXPECT_LE(size.width(), 800);
    EXPECT_LE(size.height(), 400);
  }
}

}  // namespace
}  // namespace guidefetch
