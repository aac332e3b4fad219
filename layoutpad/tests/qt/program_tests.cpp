// The program: no styles folder ends it at once; one running copy, which a second start or
// the editor brings to the front through the channel named after its caption.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/tests/xdgsandbox.h"

namespace layoutpad {
namespace {

const QString kCaption = QStringLiteral("Veltrimond Style Editor");

// A runtime folder of its own for each test, so that programs other tests start (or a
// style editor the user runs) do not answer under the same caption.
class PrivateRuntime {
public:
  PrivateRuntime() : m_old(qgetenv("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
  }
  ~PrivateRuntime() { qputenv("XDG_RUNTIME_DIR", m_old); }
  PrivateRuntime(const PrivateRuntime&) = delete;
  PrivateRuntime& operator=(const PrivateRuntime&) = delete;

private:
  QTemporaryDir m_dir;
  QByteArray m_old;
};

TEST(LayoutpadProgram, EndsAtOnceWithoutAStylesFolder) {
  platform::testing::XdgSandbox sandbox;
  PrivateRuntime runtime;
  for (const char* setting : {static_cast<const char*>(nullptr), "(None)"}) {
    if (setting) platform::WriteSetting("Main", "Styles", QString::fromLatin1(setting));
    QProcess program;
    program.start(QStringLiteral(LAYOUTPAD_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(10000)) << "it would wait with a window";
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(platform::SendInstanceCommand(kCaption, "show"));
  }
}

TEST(LayoutpadProgram, OneRunningCopyIsBroughtToTheFront) {
  platform::testing::XdgSandbox sandbox;
  PrivateRuntime runtime;
  platform::WriteSetting("Main", "Styles", sandbox.Root() + "/Styles");
  QProcess first;
  first.start(QStringLiteral(LAYOUTPAD_PROGRAM), {});
  ASSERT_TRUE(first.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(platform::SendInstanceCommand(kCaption, "show"), 10000);
  EXPECT_TRUE(QDir(sandbox.Root() + "/Styles").exists());

  QProcess second;
  second.start(QStringLiteral(LAYOUTPAD_PROGRAM), {});
  ASSERT_TRUE(second.waitForFinished(10000)) << "the second start hands over and ends";
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  EXPECT_TRUE(platform::SendInstanceCommand(kCaption, "close"));
  EXPECT_TRUE(first.waitForFinished(10000));
  if (first.state() != QProcess::NotRunning) first.kill();
}

}  // namespace
}  // namespace layoutpad
