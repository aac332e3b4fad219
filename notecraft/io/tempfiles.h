#pragma once
// The temporary files a save makes beside its target, and their removal when a save was cut
// off (the program killed, the machine stopped) before it could remove them itself.
//
// A temporary file is named "$VM$", eight hex digits that stand for the target's file name,
// "." and six random characters ("$VM$3f0c81d2.Xa81Qz"), so that the temporary files of one
// score are known from those of another in the same folder. The save holds an exclusive
// flock on it while it writes; the lock ends with the process, however it ends.
//
// A temporary file counts as stale, and is removed, only when all of these hold: its name is
// exactly of that form for the target; it is a regular file of the user's own, not a link,
// with one name; it is empty or begins as a score or MIDI file does; and no one holds a lock
// on it (a save in progress, in this process or another). Anything else is left alone.

#include <string>

namespace notecraft {

// The mkostemp template of a temporary file for `target` (a path whose symbolic links are
// already followed): the target's folder, the name's stem, then "XXXXXX".
std::string TempFileTemplate(const std::string& target);

// Removes the stale temporary files of the file at `path` (its symbolic link followed, as a
// save would) and returns how many it removed. Failures are silent: what cannot be checked
// is kept.
int RemoveStaleTempFiles(const std::string& path) noexcept;

// The file a save to `path` replaces: the file a symbolic link names, else `path` itself.
std::string SaveTarget(const std::string& path);

}  // namespace notecraft
