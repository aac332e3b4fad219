#include "notecraft/io/fileops.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace notecraft {

namespace {

PosixFileOps g_posix;
FileOps* g_ops = nullptr;

}  // namespace

int PosixFileOps::MakeTemp(std::string& pathTemplate) {
  return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}

int PosixFileOps::Lock(int fd) {
  return ::flock(fd, LOCK_EX | LOCK_NB);
}

long PosixFileOps::Write(int fd, const void* data, std::size_t size) {
  return static_cast<long>(::write(fd, data, size));
}

int PosixFileOps::Sync(int fd) { return ::fsync(fd); }

int PosixFileOps::SetMode(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }

int PosixFileOps::Close(int fd) { return ::close(fd); }

int PosixFileOps::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}

int PosixFileOps::Remove(const std::string& path) { return ::unlink(path.c_str()); }

int PosixFileOps::SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  const int rc = ::fsync(fd);
  const int saved = errno;
  ::close(fd);
  errno = saved;
  return rc;
}

FileOps& CurrentFileOps() { return g_ops ? *g_ops : g_posix; }

void SetFileOps(FileOps* ops) { g_ops = ops; }

Result<FileBytes> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  auto fail = [&](FileErrorCode code, int error) {
    return MakeFileError(code, std::strerror(error));
  };
  // Non-blocking, so that opening a pipe cannot hang; the type is checked on the open file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return fail(FileErrorCode::CannotOpen, errno);
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(FileErrorCode::CannotOpen, errno);
  if (S_ISDIR(st.st_mode)) return fail(FileErrorCode::CannotOpen, EISDIR);
  if (!S_ISREG(st.st_mode))
    return MakeFileError(FileErrorCode::CannotOpen, "Not a regular file");

  FileBytes result;
  result.Size = static_cast<std::uint64_t>(st.st_size);
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(result.Size, maxBytes));
  result.Data.reset(new std::uint8_t[want]);
  while (result.Length < want) {
    const ssize_t n = ::read(fd, result.Data.get() + result.Length, want - result.Length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(FileErrorCode::CannotRead, errno);
    }
    if (n == 0) break;  // the file shrank while it was read
    result.Length += static_cast<std::size_t>(n);
  }
  return result;
}

}  // namespace notecraft
