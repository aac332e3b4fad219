#include "filetypeprobe.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <cstring>

namespace platform::testing {

namespace {

const char kSwitch[] = "--file-type";

}  // namespace

FileTypeAnswer AskFileType(const QString& program) {
  QProcess probe;
  QStringList arguments{QString::fromLatin1(kSwitch)};
  if (!program.isEmpty()) arguments << program;
  probe.start(QCoreApplication::applicationFilePath(), arguments);
  FileTypeAnswer answer;
  if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit ||
      probe.exitCode() != 0)
    return answer;
  const QStringList lines = QString::fromLatin1(probe.readAllStandardOutput()).split('\n');
  if (lines.size() < 2) return answer;
  answer.State = static_cast<FileTypeState>(lines[0].toInt());
  answer.Registered = lines[1] == QLatin1String("1");
  answer.Ran = true;
  return answer;
}

int RunFileTypeProbe(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], kSwitch) != 0) return -1;
  QCoreApplication app(argc, argv);
  const FileTypeState state = ScoreFileTypeState();
  const bool registered = argc > 2 && RegisterFileType(QString::fromLocal8Bit(argv[2]));
  std::printf("%d\n%d\n", static_cast<int>(state), registered ? 1 : 0);
  return 0;
}

}  // namespace platform::testing
