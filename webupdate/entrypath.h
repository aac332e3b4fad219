#pragma once
// Names read from a server listing ("Common\Config\Instrument.txt", "images/logo.gif") become
// local paths only through these checks: a listing is untrusted input, and a name such as
// "../.profile" or "/usr/bin/x" must never reach the file system. Each check can say why it
// refused a name, as a clause for a person ("it names a folder, not a file").

#include <QString>
#include <optional>

namespace webupdate {

// The name with "\" read as "/", when it is a plain relative path: not empty, no leading "/",
// no drive form ("C:"), no empty, "." or ".." parts, no control characters, at most 1024
// characters, and no part longer than a file name may be (255 bytes). Otherwise nothing, and
// the reason in why.
std::optional<QString> CheckEntryName(const QString& name, QString* why = nullptr);

// The absolute path of the checked relative name inside folder, when that path stays inside
// folder once every existing part is resolved (symbolic links included), does not name a
// folder and is not too long for the file system. Nothing when folder does not exist or the
// path fails, with the reason in why.
std::optional<QString> ResolveInside(const QString& folder, const QString& relativeName,
                                     QString* why = nullptr);

// The same for a name that stands for a folder: its last part may be an existing folder, not
// a file.
std::optional<QString> ResolveFolderInside(const QString& folder, const QString& relativeName,
                                           QString* why = nullptr);

}  // namespace webupdate
