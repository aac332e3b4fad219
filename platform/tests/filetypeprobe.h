#pragma once
// The file-type questions asked in a process of their own. Qt reads the desktop's MIME
// folders once and then trusts them for seconds, longer than a test lasts, so a test that
// prepares its own folders asks a fresh process: the test program itself, started with
// --file-type (it inherits the test's environment, sandbox included).

#include <QString>

#include "platform/filetype.h"

namespace platform::testing {

struct FileTypeAnswer {
  FileTypeState State = FileTypeState::Missing;  // before any registering
  bool Registered = false;                       // what RegisterFileType answered
  bool Ran = false;                              // the probe started and answered
};

// The state, then, with a program given, RegisterFileType(program).
FileTypeAnswer AskFileType(const QString& program = {});

// The probe's side: handles "--file-type [program]" and returns its exit code, or -1 when
// the arguments ask for something else.
int RunFileTypeProbe(int argc, char** argv);

}  // namespace platform::testing
