#include "notecraft/io/tempfiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "notecraft/io/filecommit.h"

namespace notecraft {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRandomLength = 6;  // mkostemp's "XXXXXX"

// FNV-1a of the file name: short, fixed-length and the same in every run, so the stem fits
// any file name and a later run finds the temporary files of an earlier one.
std::string Stem(const fs::path& target) {
  std::uint32_t hash = 2166136261u;
  for (const char c : target.filename().string()) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 16777619u;
  }
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return std::string(kTempFilePrefix) + hex + ".";
}

fs::path Folder(const fs::path& target) {
  fs::path folder = target.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

bool IsRandomPart(std::string_view s) {
  if (s.size() != kRandomLength) return false;
  for (const char c : s) {
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!alnum) return false;
  }
  return true;
}

// Empty, or the start of a native score file or a Standard MIDI File: what a save writes.
bool BeginsAsAScore(int fd, off_t size) {
  if (size == 0) return true;
  char head[4] = {};
  const ssize_t n = ::pread(fd, head, sizeof head, 0);
  if (n <= 0) return false;
  const std::string_view got(head, static_cast<std::size_t>(n));
  return std::string_view("Vm00").starts_with(got) || std::string_view("MThd").starts_with(got);
}

// Removes one candidate when it is certainly a stale temporary file of ours.
bool RemoveIfStale(const fs::path& file) {
  struct stat named {};
  if (::lstat(file.c_str(), &named) != 0) return false;
  if (!S_ISREG(named.st_mode) || named.st_uid != ::geteuid() || named.st_nlink != 1) return false;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat opened {};
  // The lock is taken only when no save holds it, and kept until the name is gone, so that
  // no save can start writing into the file meanwhile.
  if (::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && BeginsAsAScore(fd, opened.st_size)) {
    struct stat again {};
    removed = ::lstat(file.c_str(), &again) == 0 && again.st_dev == opened.st_dev &&
              again.st_ino == opened.st_ino && ::unlink(file.c_str()) == 0;
  }
  ::close(fd);
  return removed;
}

}  // namespace

std::string SaveTarget(const std::string& path) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path resolved = fs::canonical(path, ec);
    if (!ec) return resolved.string();
  }
  return path;
}

std::string TempFileTemplate(const std::string& target) {
  const fs::path t(target);
  return (Folder(t) / (Stem(t) + std::string(kRandomLength, 'X'))).string();
}

int RemoveStaleTempFiles(const std::string& path) noexcept {
  try {
    const fs::path target(SaveTarget(path));
    const std::string stem = Stem(target);
    std::error_code ec;
    fs::directory_iterator it(Folder(target), ec);
    int removed = 0;
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.size() != stem.size() + kRandomLength || !name.starts_with(stem)) continue;
      if (!IsRandomPart(std::string_view(name).substr(stem.size()))) continue;
      if (RemoveIfStale(it->path())) ++removed;
    }
    return removed;
  } catch (...) {
    return 0;
  }
}

}  // namespace notecraft
