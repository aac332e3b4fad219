#include "notecraft/io/filecommit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "notecraft/io/fileops.h"
#include "notecraft/io/tempfiles.h"

namespace notecraft {

namespace {

// The process's umask without changing it (umask(2) can only be read by setting it).
unsigned CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// A new temporary file for `target`, locked as in use. A lock held by someone else means
// another program's clean-up took the file for stale between its making and the lock, and
// a file without a name has been removed that way: both are given up for a fresh one. A
// file system without locks leaves the file unlocked (and so never taken for stale).
int MakeLockedTemp(FileOps& ops, const std::string& target, std::string& temp) {
  constexpr int kAttempts = 8;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    temp = TempFileTemplate(target);
    const int fd = ops.MakeTemp(temp);
    if (fd < 0) return -1;
    if (ops.Lock(fd) != 0) {
      if (errno != EWOULDBLOCK) return fd;
      ops.Close(fd);  // the clean-up that holds it removes it
      continue;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_nlink > 0) return fd;
    ops.Close(fd);
  }
  errno = EEXIST;
  return -1;
}

// Why a rename over `target` was refused when a shared folder's sticky bit is the cause:
// in such a folder (/tmp, say) only the owner of a file, or of the folder, may replace or
// remove it, so a file of another user cannot be saved over even when it is writable.
// Empty when the refusal has another cause.
std::string StickyFolderRefusal(int error, const std::filesystem::path& folder,
                                const std::string& target) {
  if (error != EPERM && error != EACCES) return {};
  struct stat dir {};
  struct stat file {};
  if (::stat(folder.c_str(), &dir) != 0 || (dir.st_mode & S_ISVTX) == 0) return {};
  if (::lstat(target.c_str(), &file) != 0) return {};
  const uid_t me = ::geteuid();
  if (file.st_uid == me || dir.st_uid == me) return {};
  return "the file belongs to another user and the folder " + folder.string() +
         " lets only a file's owner replace it. Save it under another name or in another "
         "folder.";
}

}  // namespace

Result<Done> CommitFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  namespace fs = std::filesystem;
  FileOps& ops = CurrentFileOps();
  auto error = [&](const std::string& what, int code) {
    return MakeFileError(FileErrorCode::CannotWrite,
                         "Could not save " + path + ": " + what + std::strerror(code) + ".");
  };

  const std::string target = SaveTarget(path);

  unsigned mode = 0666 & ~CurrentUmask();
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return error("", EISDIR);
    // The rename would replace a file its owner protected from writing, as long as the
    // folder is writable: refuse it as a write into the file itself would be refused.
    // Without any write bit the file counts as read-only even for the superuser.
    const bool noWriteBits = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (noWriteBits || ::access(target.c_str(), W_OK) != 0) {
      return MakeFileError(FileErrorCode::CannotWrite,
                           "Could not save " + path + ": the file is read-only.");
    }
    mode = st.st_mode & 07777;
  }

  fs::path folder = fs::path(target).parent_path();
  if (folder.empty()) folder = ".";
  RemoveStaleTempFiles(target);  // left by an earlier save that was cut off
  std::string temp;
  int fd = MakeLockedTemp(ops, target, temp);
  if (fd < 0) return error("a temporary file cannot be made in " + folder.string() + ": ", errno);

  auto discard = [&] {
    if (fd >= 0) ops.Close(fd);
    ops.Remove(temp);
  };
  auto abandon = [&](const std::string& what, int code) {
    discard();
    return error(what, code);
  };

  std::size_t written = 0;
  while (written < bytes.size()) {
    const long n = ops.Write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return abandon("", errno);
    if (n == 0) return abandon("", ENOSPC);
    written += static_cast<std::size_t>(n);
  }
  if (ops.SetMode(fd, mode) != 0) return abandon("", errno);
  if (ops.Sync(fd) != 0) return abandon("", errno);
  // The lock marks the file as in use until it has its final name: another editor's
  // clean-up of stale temporary files would otherwise take the finished file for one of
  // them between the close and the rename. A second descriptor of the same open file keeps
  // the lock while the first is closed (and its close checked) before the rename.
  const int lockHolder = ::dup(fd);
  if (lockHolder < 0) return abandon("", errno);
  const int closed = ops.Close(fd);
  const int closeError = errno;
  fd = lockHolder;  // closed by abandon, or once the rename is done
  if (closed != 0) return abandon("", closeError);
  if (ops.Rename(temp, target) != 0) {
    const int renameError = errno;
    if (const std::string why = StickyFolderRefusal(renameError, folder, target); !why.empty()) {
      discard();
      return MakeFileError(FileErrorCode::CannotWrite, "Could not save " + path + ": " + why);
    }
    return abandon("", renameError);
  }
  ::close(lockHolder);
  // The new file is in place; a failure to flush the folder cannot be undone and does not
  // make the save untrue, so it is not reported.
  ops.SyncFolder(folder.string());
  return Done{};
}

}  // namespace notecraft
