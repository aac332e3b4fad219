#pragma once
// Which link targets a help page may name. Pages can arrive from the network (the help
// updater), so a target is followed only when it is a relative file path that stays inside the
// help folder once "..", symbolic links and the like are resolved.

#include <filesystem>
#include <optional>
#include <string_view>

namespace guideview {

// True when the target begins with a URL scheme ("http:", "file:", "mailto:", and "C:").
bool HasUrlScheme(std::string_view target);

// The target's path inside `helpFolder` (an absolute, canonical folder), or nothing when the
// target is empty, absolute, has a scheme, or leads outside the folder. The file need not exist.
std::optional<std::filesystem::path> ResolveHelpTarget(const std::filesystem::path& helpFolder,
                                                       std::string_view target);

// True when `path` (absolute) lies inside `folder` (absolute, canonical) after resolution.
bool IsInsideFolder(const std::filesystem::path& folder, const std::filesystem::path& path);

}  // namespace guideview
