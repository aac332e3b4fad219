#pragma once
// Finds the next occurrence of one byte value in a span, remembering the last answer, so
// that a parser whose positions only move forward scans every byte at most once however
// often it asks (a reader re-synchronising 4 bytes at a time over a long section would
// otherwise rescan the rest of the section at every step).

#include <cstdint>
#include <cstring>
#include <span>

namespace notecraft {

class ByteFinder {
public:
  ByteFinder(std::span<const std::uint8_t> data, std::uint8_t value)
      : m_data(data), m_value(value) {}

  // Position of the first occurrence at or after `from`; the span's size when none.
  std::size_t Next(std::size_t from) {
    if (from >= m_data.size()) return m_data.size();
    if (m_valid && from >= m_from && from <= m_found) return m_found;
    const void* hit = std::memchr(m_data.data() + from, m_value, m_data.size() - from);
    m_found = hit ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - m_data.data())
                  : m_data.size();
    m_from = from;
    m_valid = true;
    return m_found;
  }

  // Position of the first occurrence in [from, limit); limit when none.
  std::size_t Next(std::size_t from, std::size_t limit) {
    const std::size_t at = Next(from);
    return at < limit ? at : limit;
  }

private:
  std::span<const std::uint8_t> m_data;
  std::uint8_t m_value;
  bool m_valid = false;
  std::size_t m_from = 0;
  std::size_t m_found = 0;
};

}  // namespace notecraft
