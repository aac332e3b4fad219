#include "fakeframe.h"

namespace veltrimond::testing {

void FakeFrame::CancelPlay(bool keepPlayButton) {
  Calls << QStringLiteral("CancelPlay %1").arg(keepPlayButton ? 1 : 0);
}

void FakeFrame::DoFunction(const QString& command, const QString& path) {
  Calls << QStringLiteral("DoFunction %1 %2").arg(command, path);
}

void FakeFrame::Ending1(long curTime, long nextTime) {
  Calls << QStringLiteral("Ending1 %1 %2").arg(curTime).arg(nextTime);
}

void FakeFrame::GotMidi(const notecraft::MIDIEvent&) { Calls << QStringLiteral("GotMidi"); }

void FakeFrame::PlayNote(int value, bool stopNote, int instrument, int channel) {
  Calls << QStringLiteral("PlayNote %1 %2 %3 %4")
               .arg(value)
               .arg(stopNote ? 1 : 0)
               .arg(instrument)
               .arg(channel);
}

bool FakeFrame::InitStatus(long size, const QString& caption) {
  Calls << QStringLiteral("InitStatus %1 %2").arg(size).arg(caption);
  return StatusShown;
}

void FakeFrame::UpdateStatus(long position) {
  Calls << QStringLiteral("UpdateStatus %1").arg(position);
}

QStringList FakeFrame::CallsStartingWith(const QString& prefix) const {
  QStringList found;
  for (const QString& call : Calls)
    if (call.startsWith(prefix)) found << call;
  return found;
}

}  // namespace veltrimond::testing
