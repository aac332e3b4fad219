#include "notecraft/core/platform.h"

#include <cstdlib>
#include <iostream>
#include <system_error>

namespace notecraft {

namespace {

Platform g_defaultPlatform;
Platform* g_platform = nullptr;

bool HasConfig(const std::filesystem::path& root) {
  std::error_code ec;
  return std::filesystem::is_directory(root / "Common" / "Config", ec);
}

}  // namespace

std::filesystem::path Platform::DataRoot() const { return InstallRoot(); }

void Platform::ShowMessage(const std::string& title, const std::string& text) {
  std::cerr << title << ": " << text << '\n';
}

Platform& CurrentPlatform() { return g_platform ? *g_platform : g_defaultPlatform; }

void SetPlatform(Platform* platform) { g_platform = platform; }

std::filesystem::path InstallRoot() {
  if (const char* env = std::getenv("VELTRIMOND_HOME"); env && *env) return env;
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  auto dir = exe.parent_path();
  for (const auto& candidate : {dir, dir.parent_path(), dir.parent_path() / "share" / "veltrimond"})
    if (HasConfig(candidate)) return candidate;
  return dir.parent_path();
}

}  // namespace notecraft
