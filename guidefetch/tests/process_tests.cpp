// The program itself: a command line missing a value ends it at once, without a window and
// without a request.
#include <gtest/gtest.h>

#include <QProcess>

#include "loopbackserver.h"

namespace guidefetch {
namespace {

TEST(GuidefetchProgram, EndsWithoutAWindowWhenAValueIsMissing) {
  webupdate::testing::LoopbackServer server;
  const QStringList cases[] = {
      {},
      {"/tmp/help", "/P", "T482615"},
      {"/tmp/help", "/K", "Veltrimond"},
      {"/tmp/help", "/P", "../T1", "/K", "Veltrimond"},
  };
  for (const QStringList& arguments : cases) {
    SCOPED_TRACE(arguments.join(u' ').toStdString());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELTRIMOND_UPDATE_URL"), server.BaseUrl().toString());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PROGRAM_PATH), arguments);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
  }
  EXPECT_TRUE(server.Requested().isEmpty());
}

}  // namespace
}  // namespace guidefetch
