#pragma once
// The outcome of a file operation: a value, or an error code with a message the user can
// read ("Could not write /home/ann/Song.sco: No space left on device").

#include <string>
#include <utility>
#include <variant>

namespace notecraft {

enum class FileErrorCode {
  CannotOpen,     // the file could not be opened or is not a regular file
  CannotRead,     // reading failed part-way
  CannotWrite,    // creating, writing, flushing or renaming the new file failed
  Unrecognised,   // neither a score file nor a Standard MIDI File
  Damaged,        // a score file whose structure cannot be read
  NotSupported,   // a format or feature this build cannot handle
  NotStorable,    // the score holds something the file format cannot describe
  Busy,           // the score is being opened
};

struct FileError {
  FileErrorCode Code;
  std::string Message;
};

template <typename T>
class [[nodiscard]] Result {
public:
  Result(T value) : m_state(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(FileError error) : m_state(std::move(error)) {}  // NOLINT

  explicit operator bool() const { return m_state.index() == 0; }
  bool Ok() const { return m_state.index() == 0; }
  T& Value() { return std::get<0>(m_state); }
  const T& Value() const { return std::get<0>(m_state); }
  const FileError& Error() const { return std::get<1>(m_state); }

private:
  std::variant<T, FileError> m_state;
};

// For operations that give nothing but success.
struct Done {};

inline FileError MakeFileError(FileErrorCode code, std::string message) {
  return FileError{code, std::move(message)};
}

}  // namespace notecraft
