#pragma once
// First-run values of section Main that the companion programs read: the product code, the
// build, the version and the styles folder. A value already there is never replaced.

#include <QString>

namespace veltrimond {

inline constexpr char kProductId[] = "T482615";
inline constexpr char kBuildNumber[] = "1101";
// What Main/Styles reads as before anything chose a folder.
inline constexpr char kNoStylesFolder[] = "%NONE";

// `version` is major.minor.revision; `stylesFolder` the user's writable styles folder.
void SeedMainSettings(const QString& version, const QString& stylesFolder);

}  // namespace veltrimond
