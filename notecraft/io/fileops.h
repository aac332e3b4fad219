#pragma once
// The few file-system calls the engine's file writers make, behind one small interface so
// that tests can make any of them fail (a full disk, a failing rename) without a special
// file system. Calls follow POSIX: -1 with errno set on failure.
//
// The installed object is not owned and must outlive its use; without one, PosixFileOps
// applies. Single-threaded, like the rest of the engine.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "notecraft/io/result.h"

namespace notecraft {

class FileOps {
public:
  virtual ~FileOps() = default;

  // mkostemp: replaces the trailing "XXXXXX" of pathTemplate and creates the file (0600).
  virtual int MakeTemp(std::string& pathTemplate) = 0;
  // flock(LOCK_EX | LOCK_NB): marks a temporary file as in use for as long as the process
  // holds it open.
  virtual int Lock(int fd) = 0;
  virtual long Write(int fd, const void* data, std::size_t size) = 0;
  virtual int Sync(int fd) = 0;
  virtual int SetMode(int fd, unsigned mode) = 0;
  virtual int Close(int fd) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int Remove(const std::string& path) = 0;
  // Flushes a folder's entries (after a rename into it).
  virtual int SyncFolder(const std::string& folder) = 0;
};

class PosixFileOps : public FileOps {
public:
  int MakeTemp(std::string& pathTemplate) override;
  int Lock(int fd) override;
  long Write(int fd, const void* data, std::size_t size) override;
  int Sync(int fd) override;
  int SetMode(int fd, unsigned mode) override;
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Remove(const std::string& path) override;
  int SyncFolder(const std::string& folder) override;
};

FileOps& CurrentFileOps();
// Installs a test's file layer; null restores PosixFileOps.
void SetFileOps(FileOps* ops);

struct FileBytes {
  // At most the limit asked for; held without being cleared first (files are large).
  std::unique_ptr<std::uint8_t[]> Data;
  std::size_t Length = 0;
  std::uint64_t Size = 0;  // the file's whole length
  std::span<const std::uint8_t> Bytes() const { return {Data.get(), Length}; }
};

// Reads a regular file, at most maxBytes of it. Directories, pipes and devices are refused
// (a pipe would block the reader forever).
Result<FileBytes> ReadFileBytes(const std::string& path, std::size_t maxBytes);

}  // namespace notecraft
