#pragma once
// Outcome of an operation that can fail: success, or a message a user can read.
// Returned by the outputs and the device system instead of throwing.

#include <string>
#include <utility>

namespace tonegen {

class [[nodiscard]] Status {
public:
  Status() = default;  // success
  static Status Ok() { return {}; }
  static Status Error(std::string message) {
    Status s;
    s.m_failed = true;
    s.m_message = std::move(message);
    return s;
  }

  bool IsOk() const { return !m_failed; }
  explicit operator bool() const { return !m_failed; }
  const std::string& Message() const { return m_message; }

private:
  bool m_failed = false;
  std::string m_message;
};

}  // namespace tonegen
