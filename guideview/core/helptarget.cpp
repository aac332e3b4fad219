#include "guideview/core/helptarget.h"

#include <system_error>

namespace guideview {

namespace fs = std::filesystem;

bool HasUrlScheme(std::string_view target) {
  std::size_t colon = target.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (!letter(target[0])) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    char c = target[i];
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

bool IsInsideFolder(const fs::path& folder, const fs::path& path) {
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(path, ec);
  if (ec) return false;
  auto f = folder.begin();
  auto p = resolved.begin();
  for (; f != folder.end(); ++f, ++p) {
    if (f->empty()) continue;  // a trailing separator on the folder
    if (p == resolved.end() || *f != *p) return false;
  }
  return true;
}

std::optional<fs::path> ResolveHelpTarget(const fs::path& helpFolder, std::string_view target) {
  if (target.empty() || target.front() == '/' || HasUrlScheme(target)) return std::nullopt;
  if (target.find('\0') != std::string_view::npos) return std::nullopt;
  fs::path path = (helpFolder / fs::path(target)).lexically_normal();
  if (!IsInsideFolder(helpFolder, path)) return std::nullopt;
  return path;
}

}  // namespace guideview
