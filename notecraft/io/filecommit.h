#pragma once
// Replaces a file by new bytes so that the file is either the old one or the complete new
// one, whatever fails and whenever the machine stops.
//
// The bytes go to a new, uniquely named file in the target's folder (tempfiles.h: "$VM$",
// the target's stem and six random characters, made by mkostemp and locked while in use; a
// user's own file called "$VM$.sco" is never touched), every write is checked, the file
// gets the old file's permissions (a new file the usual ones of the process's umask) and is
// flushed to disk, then renamed over the target in one step and the folder flushed. The
// lock is held until the rename is done, so that another editor's clean-up never takes the
// finished file for a stale one. On any failure the temporary file is removed, the target
// is left as it was, and the error says why (also when a shared folder with the sticky bit,
// such as /tmp, refuses to replace a file of another user). A symbolic link is followed: the file
// it names is replaced and the link stays. A read-only target is refused before anything is
// written. Stale temporary files of the target, left by a save that was cut off, are removed first.

#include <cstdint>
#include <span>
#include <string>

#include "notecraft/io/result.h"

namespace notecraft {

inline constexpr const char* kTempFilePrefix = "$VM$";

// Through CurrentFileOps().
Result<Done> CommitFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace notecraft
