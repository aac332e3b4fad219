// The "Check for Product Updates" window on Qt's offscreen platform: what it shows, and how
// Continue, the result message and Cancel/Close behave, against the loopback server.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "patchrunner/frmupdmain.h"
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
    webupdate::ConfigureManager(m_manager, m_server.BaseUrl());
    m_updater =
        std::make_unique<ProductUpdater>(Product(), m_server.BaseUrl(), m_settings, m_manager);
    m_updater->SetTransferTimeout(2000);
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

TEST_F(WindowTest, StaysOpenWhileAnUpdateRuns) {
  m_server.Set(
      testing::Pack + QStringLiteral("veltrimond"),
      webupdate::testing::Route{200, NewProgram, webupdate::testing::Fault::SlowBody, 500});
  Open();
  QSignalSpy status(m_updater.get(), &ProductUpdater::Status);
  QTest::mouseClick(Child<QPushButton>(*m_window, "cmdOk"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return status.size() >= 2; }, 5000));
  EXPECT_FALSE(Child<QPushButton>(*m_window, "cmdCancel")->isEnabled());
  m_window->close();
  EXPECT_TRUE(m_window->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([this] { return !m_prompts.isEmpty(); }, 10000));
  EXPECT_EQ(m_prompts[0].text, QStringLiteral("Service pack SP3 installed."));
  m_window->close();
  EXPECT_FALSE(m_window->isVisible());
}

}  // namespace
}  // namespace patchrunner
