#pragma once
// The two ways the score player runs, each inside an application object main() made.

#include <string>

namespace listenbox {

// Exit codes of an unattended run.
inline constexpr int kExitPlayed = 0;
inline constexpr int kExitNoFile = 2;    // the file could not be opened
inline constexpr int kExitNoOutput = 3;  // no sound output could be opened

// Plays `file` at once without a window and returns when the last note has sounded, or at
// once with a message on stderr when the file or the sound output cannot be opened.
// Needs a QCoreApplication.
int PlayUnattended(const std::string& file);

// Shows the window for `file` (an empty default score when there is none or it cannot be
// opened, after saying why) and runs until it is closed. Needs a QApplication.
int RunWindow(const std::string& file);

}  // namespace listenbox
