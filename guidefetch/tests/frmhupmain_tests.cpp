// The "Update Help from Internet" window on Qt's offscreen platform: what it shows, OK to the
// result message and the end of the window, and Cancel before and during an update.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "guidefetch/frmhupmain.h"
#include "helprig.h"

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
    webupdate::ConfigureManager(m_manager, m_server.BaseUrl());
    m_updater = std::make_unique<HelpUpdater>(Line(), m_server.BaseUrl(), m_manager);
    m_updater->SetTransferTimeout(2000);
    m_window = std::make_unique<frmHUPMain>(Line(), *m_updater);
    m_window->SetPrompter([this](const QString& title, const QString& text) {
      m_prompts.append(title + u':' + text);
      m_statusAtPrompt = Child<QStatusBar>(*m_window, "sbrMain")->currentMessage();
    });
    m_window->show();
  }

  QPushButton* Button(const char* name) { return Child<QPushButton>(*m_window, name); }

  std::unique_ptr<HelpUpdater> m_updater;
  std::unique_ptr<frmHUPMain> m_window;
  QStringList m_prompts;
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

TEST_F(HelpWindowTest, CancelOrClosingWhileBusyStopsAfterTheCurrentFile) {
  for (const bool byClosing : {false, true}) {
    SCOPED_TRACE(byClosing ? "closing the window" : "Cancel");
    QFile::remove(Local(QStringLiteral("index.htm")));
    m_prompts.clear();
    m_server.Set(Docs + QStringLiteral("index.htm"), Route{200, Page, Fault::SlowBody, 400});
    Open();
    QTest::mouseClick(Button("cmdOk"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
          return Child<QStatusBar>(*m_window, "sbrMain")->currentMessage() ==
                 QStringLiteral("Downloading index.htm...");
        },
        5000));
    if (byClosing) {
      m_window->close();
    } else {
      QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
    }
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(Button("cmdCancel")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_prompts.isEmpty(); }, 10000));
    EXPECT_EQ(m_prompts, QStringList{"Update:Update cancelled."});
    EXPECT_EQ(testing::ReadFile(Local(QStringLiteral("index.htm"))), Page);
    EXPECT_FALSE(QFileInfo::exists(Local(QStringLiteral("logo.gif"))));
    EXPECT_FALSE(m_window->isVisible());
  }
}

}  // namespace
}  // namespace guidefetch
