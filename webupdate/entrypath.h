#pragma once
// Names read from a server listing ("Common\Config\Instrument.txt", "images/logo.gif") become
// local paths only through these checks: a listing is untrusted input, and a name such as
// "../.profile" or "/usr/bin/x" must never reach the file system.

#include <QString>
#include <optional>

namespace webupdate {

// The name with "\" read as "/", when it is a plain relative path: not empty, no leading "/",
// no drive form ("C:"), no empty, "." or ".." parts, no control characters, at most 1024
// characters. Otherwise nothing.
std::optional<QString> CheckEntryName(const QString& name);

// The absolute path of the checked relative name inside folder, when that path stays inside
// folder once every existing part is resolved (symbolic links included) and does not name a
// folder. Nothing when folder does not exist or the path leaves it.
std::optional<QString> ResolveInside(const QString& folder, const QString& relativeName);

}  // namespace webupdate
