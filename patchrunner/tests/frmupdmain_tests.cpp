// The "Check for Product Updates" window on Qt's offscreen platform: what it shows, and how
// Continue, the result message and Cancel/Close behave, against the loopback server.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "patchrunner/frmupdmain.h"
#include "resultboxpicture.h"
#include "updaterig.h"

namespace patchrunner {
namespace {

using patchrunner::testing::Rig;

template <class T = QWidget>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

struct Prompt {
  QString title;
  QString text;
  MessageIcon icon;
};

class WindowTest : public ::testing::Test, public Rig {
protected:
  void Open() {
    m_window.reset();
    m_updater = std::make_unique<ProductUpdater>(Product(), m_server.BaseUrl(), m_settings);
    m_updater->SetTransferLimits({.idleMs = 2000});
    m_window = std::make_unique<frmUPDMain>(Product(), *m_updater);
    m_window->SetPrompter([this](const QString& title, const QString& text, MessageIcon icon) {
      m_prompts.append({title, text, icon});
    });
    m_window->show();
  }

  // Clicks Continue and waits for the result message.
  void Continue() {
    QTest::mouseClick(Child<QPushButton>(*m_window, "cmdOk"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_prompts.isEmpty(); }, 10000));
  }

  QString Text(const char* name) { return Child<QLabel>(*m_window, name)->text(); }

  std::unique_ptr<ProductUpdater> m_updater;
  std::unique_ptr<frmUPDMain> m_window;
  QList<Prompt> m_prompts;
};

TEST_F(WindowTest, ShowsTheProductAndItsInstalledPack) {
  m_settings.Write(QStringLiteral("Main"), QStringLiteral("Build"), QStringLiteral("0412"));
  Open();
  EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Check for Product Updates"));
  EXPECT_EQ(Text("lblName"), QStringLiteral("Veltrimond"));
  EXPECT_EQ(Text("lblProduct"), QStringLiteral("T482615"));
  EXPECT_EQ(Text("lblBuild"), QStringLiteral("0412"));
  EXPECT_EQ(Text("lblVersion"), QStringLiteral("1.2.3 (SP2)"));
  QStringList captions;
  for (const QLabel* label : m_window->findChildren<QLabel*>(QStringLiteral("lblLabel"))) {
    captions.append(label->text());
  }
  EXPECT_EQ(captions, (QStringList{"Build:", "Version:"}));
  EXPECT_TRUE(Text("lblMessage").startsWith(QStringLiteral("You have chosen to search the")));
  EXPECT_EQ(Child<QPushButton>(*m_window, "cmdOk")->text(), QStringLiteral("Continue"));
  EXPECT_EQ(Child<QPushButton>(*m_window, "cmdCancel")->text(), QStringLiteral("Cancel"));
  m_window->grab().save(QStringLiteral(TEST_OUTPUT "/frmupdmain.png"));
}

TEST_F(WindowTest, DefaultsWhenTheProductRecordedLittle) {
  m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"), QString());
  Open();
  EXPECT_EQ(Text("lblBuild"), QStringLiteral("0000"));
  EXPECT_EQ(Text("lblVersion"), QStringLiteral("1.2.3"));
}

TEST_F(WindowTest, AtTheHighestLevelCancelBecomesClose) {
  m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"), QStringLiteral("SP3"));
  Open();
  Continue();
  ASSERT_EQ(m_prompts.size(), 1);
  EXPECT_EQ(m_prompts[0].title, QStringLiteral("Update"));
  EXPECT_EQ(m_prompts[0].icon, MessageIcon::Information);
  EXPECT_EQ(Text("lblMessage"), QStringLiteral("Done."));
  EXPECT_EQ(Child<QPushButton>(*m_window, "cmdCancel")->text(), QStringLiteral("Close"));
  EXPECT_FALSE(Child<QPushButton>(*m_window, "cmdOk")->isEnabled());
}

TEST_F(WindowTest, InstallsOnceAndThenCloses) {
  Open();
  Continue();
  ASSERT_EQ(m_prompts.size(), 1);
  EXPECT_EQ(m_prompts[0].text, QStringLiteral("Service pack SP3 installed."));
  EXPECT_EQ(Text("lblMessage"), QStringLiteral("Done."));
  EXPECT_EQ(Text("lblVersion"), QStringLiteral("1.2.3 (SP3)"));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Child<QPushButton>(*m_window, "cmdOk")->isEnabled());

  QTest::mouseClick(Child<QPushButton>(*m_window, "cmdCancel"), Qt::LeftButton);
  EXPECT_FALSE(m_window->isVisible());
}

TEST_F(WindowTest, CancelOrClosingDuringATransferEndsTheRunAndTheWindow) {
  // The program file drips for seconds; Cancel (or closing the window) must not wait for it.
  m_server.Set(testing::Pack + QStringLiteral("veltrimond"),
               webupdate::testing::Route{200, NewProgram, webupdate::testing::Fault::Drip, 300});
  const auto before = testing::Snapshot(m_root);
  for (const bool byClosing : {false, true}) {
    SCOPED_TRACE(byClosing ? "closing the window" : "Cancel");
    Open();
    QSignalSpy status(m_updater.get(), &ProductUpdater::Status);
    QSignalSpy finished(m_updater.get(), &ProductUpdater::Finished);
    QTest::mouseClick(Child<QPushButton>(*m_window, "cmdOk"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status.size() >= 2; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo::exists(m_root + u'/' + PackInstaller::StagingName()); }, 5000));
    EXPECT_TRUE(Child<QPushButton>(*m_window, "cmdCancel")->isEnabled());
    if (byClosing) {
      m_window->close();
    } else {
      QTest::mouseClick(Child<QPushButton>(*m_window, "cmdCancel"), Qt::LeftButton);
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->isVisible(); }, 1000));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.at(0).at(0).value<UpdateResult>().kind, UpdateResult::Kind::Cancelled);
    EXPECT_TRUE(m_prompts.isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(testing::Snapshot(m_root), before);
    EXPECT_EQ(Update(), QStringLiteral("SP2"));
  }
}

// The title bar's close button (or Alt+F4) during a transfer: the window system asks the window
// to close. The run is cancelled with the product as it was, and the program ends with its
// window: its event loop quits instead of running on with no window to end it.
TEST_F(WindowTest, ClosingTheWindowDuringATransferEndsTheProgram) {
  m_server.Set(testing::Pack + QStringLiteral("veltrimond"),
               webupdate::testing::Route{200, NewProgram, webupdate::testing::Fault::Drip, 500});
  const auto before = testing::Snapshot(m_root);
  Open();
  QSignalSpy finished(m_updater.get(), &ProductUpdater::Finished);
  QTest::mouseClick(Child<QPushButton>(*m_window, "cmdOk"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QFileInfo::exists(m_root + u'/' + PackInstaller::StagingName()); }, 5000));

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
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.at(0).at(0).value<UpdateResult>().kind, UpdateResult::Kind::Cancelled);
  EXPECT_EQ(testing::Snapshot(m_root), before);
  EXPECT_EQ(Update(), QStringLiteral("SP2"));
}

TEST_F(WindowTest, OpeningUndoesASwapThatWasCutOff) {
  const auto before = testing::Snapshot(m_root);
  // A run that wrote its journal and moved the program aside, then was killed.
  const QString staging = m_root + u'/' + PackInstaller::StagingName();
  testing::WriteFile(staging + QStringLiteral("/journal"), "0 replace veltrimond\n");
  QFile::rename(m_root + QStringLiteral("/veltrimond"), staging + QStringLiteral("/UP000"));
  testing::WriteFile(m_root + QStringLiteral("/veltrimond"), "half-installed program");
  Open();
  EXPECT_EQ(testing::Snapshot(m_root), before);
  EXPECT_EQ(Text("lblMessage"), QStringLiteral("An earlier update was cut off; its files have "
                                               "been put back as they were before it."));
  m_window->grab().save(QStringLiteral(TEST_OUTPUT "/frmupdmain-recovered.png"));
}

// The result messages as the user sees them: a failure's reason on its own line, never an
// information icon, a long hostile name shortened so the box fits a small screen, and a name
// holding markup shown as text. Pictures are left beside the test for a person to look at.
TEST_F(WindowTest, ResultMessagesFitTheScreenAndSayWhy) {
  using webupdate::testing::Fault;
  using webupdate::testing::Route;
  QByteArray interim;
  for (int i = 0; i < 40000; ++i) interim += "HTTP/1.1 100 Continue\r\n\r\n";
  const struct {
    const char* picture;
    QByteArray fileList;
    Route veltrimond;
    webupdate::TransferLimits limits = {.idleMs = 500, .deadlineFloorMs = 3000};
  } cases[] = {
      {"message-long-name.png",
       "Files\nCommon/" + QByteArray(300, 'n') + ".txt\n",
       {200, NewProgram}},
      {"message-markup-name.png", "Files\n<b>bold</b>/<img src=x>\n", {200, NewProgram}},
      {"message-truncated.png", "Files\nveltrimond\n",
       webupdate::testing::Announcing(100000, NewProgram)},
      {"message-no-length.png", "Files\nveltrimond\n",
       webupdate::testing::Unannounced(NewProgram, Fault::ShortBody)},
      {"message-partial.png", "Files\nveltrimond\n", Route{206, NewProgram.left(9)}},
      {"message-interim.png", "Files\nveltrimond\n",
       webupdate::testing::Raw(interim + "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")},
      {"message-too-slow.png",
       "Files\nveltrimond\n",
       {200, NewProgram, Fault::Drip, 50},
       {.idleMs = 500, .deadlineFloorMs = 3000, .rateWindowMs = 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    m_limits = c.limits;
    m_server.Set(testing::Pack + QStringLiteral("Files.txt"), c.fileList);
    m_server.Set(testing::Pack + QStringLiteral("veltrimond"), c.veltrimond);
    const UpdateResult result = RunUpdate();
    ASSERT_NE(result.icon, MessageIcon::Information) << result.text.toStdString();
    const QSize size = webupdate::testing::SaveResultBoxPicture(
        result.text, QMessageBox::Critical, QStringLiteral(TEST_OUTPUT "/") + c.picture);
    EXPECT_LE(size.width(), 800);
    EXPECT_LE(size.height(), 400);
    EXPECT_GE(result.text.count(u'\n'), 1);
  }
}

// A journal line naming a product file that the pack cannot be shown to have placed: the file
// stays, and the window says so as it opens.
TEST_F(WindowTest, OpeningSaysWhichFileARecoveryLeft) {
  const auto before = testing::Snapshot(m_root);
  testing::WriteFile(m_root + u'/' + PackInstaller::StagingName() + QStringLiteral("/journal"),
                     "0 new veltrimond\n");
  Open();
  EXPECT_EQ(testing::Snapshot(m_root), before);
  EXPECT_TRUE(Text("lblMessage").contains(QStringLiteral("except veltrimond")));
  m_window->grab().save(QStringLiteral(TEST_OUTPUT "/frmupdmain-recovered-kept.png"));
}

}  // namespace
}  // namespace patchrunner
