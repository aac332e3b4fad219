#include "notecraft/core/instrumenttable.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

#include "notecraft/core/cp1252.h"
#include "notecraft/core/platform.h"

namespace notecraft {

namespace {

// Reads comma-separated fields, as a stream: a line end separates fields like a comma,
// so a record may run over several lines (and a short line shifts every later record).
// Double quotes around a field are optional and let it hold commas. Blank lines hold no
// fields.
class FieldReader {
public:
  explicit FieldReader(std::string_view text) : m_text(text) {}

  // Called between records only.
  bool AtEnd() {
    if (m_afterComma) return false;
    SkipBlankLines();
    return m_pos >= m_text.size();
  }

  std::optional<std::string> Next() {
    if (m_pos >= m_text.size() && !m_afterComma) return std::nullopt;
    m_afterComma = false;
    SkipSpaces();
    std::string field;
    if (m_pos < m_text.size() && m_text[m_pos] == '"') {
      std::size_t close = m_text.find('"', m_pos + 1);
      if (close == std::string_view::npos) close = m_text.size();
      field = std::string(m_text.substr(m_pos + 1, close - m_pos - 1));
      m_pos = std::min(close + 1, m_text.size());
      while (m_pos < m_text.size() && !IsSeparator(m_text[m_pos])) ++m_pos;
    } else {
      std::size_t start = m_pos;
      while (m_pos < m_text.size() && !IsSeparator(m_text[m_pos])) ++m_pos;
      field = Trim(m_text.substr(start, m_pos - start));
    }
    if (m_pos < m_text.size()) {  // consume the separator; "\r\n" counts as one
      m_afterComma = m_text[m_pos] == ',';
      if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n') ++m_pos;
      ++m_pos;
    }
    return field;
  }

private:
  static bool IsSeparator(char c) { return c == ',' || c == '\n' || c == '\r'; }
  static std::string Trim(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
  }
  void SkipSpaces() {
    while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;
  }
  // Between records, whitespace-only lines are not fields.
  void SkipBlankLines() {
    std::size_t p = m_pos;
    while (p < m_text.size() && (m_text[p] == ' ' || m_text[p] == '\t' || m_text[p] == '\r' ||
                                 m_text[p] == '\n')) {
      if (m_text[p] == '\n' || m_text[p] == '\r') m_pos = p + 1;
      ++p;
    }
    if (p >= m_text.size()) m_pos = m_text.size();
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
  bool m_afterComma = false;  // a comma promises one more (maybe empty) field
};

// A 16-bit integer field; empty reads 0; anything else fails.
std::optional<int> ParseInt16(const std::string& field) {
  if (field.empty()) return 0;
  std::string_view s = field;
  if (s.front() == '+') s.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
  if (value < -32768 || value > 32767) return std::nullopt;
  return value;
}

}  // namespace

int InstrumentTable::LoadFromText(std::string_view bytes) {
  m_rows = {};
  FieldReader reader(bytes);
  int records = 0;
  // At most 175 records are read; skipped records use up the budget too.
  for (; records < kRows && !reader.AtEnd(); ++records) {
    std::array<std::string, 8> f;
    for (auto& field : f) {
      auto next = reader.Next();
      if (!next) return records;  // the file ends inside a record
      field = std::move(*next);
    }
    std::array<int, 8> n{};
    for (std::size_t i : {0u, 1u, 3u, 4u, 5u, 6u, 7u}) {
      auto value = ParseInt16(f[i]);
      if (!value) return records;  // a field that is not a number ends the loading
      n[i] = *value;
    }
    const int number = n[1];
    if (number < 1 || number > kRows) continue;
    InstrumentRow& row = m_rows[static_cast<std::size_t>(number - 1)];
    row = InstrumentRow{};
    row.Category = n[0];
    row.Value = number - 1;
    row.Description = Cp1252ToUtf8(f[2]);
    row.DefaultClef = n[3];
    row.Low = n[4];
    row.High = n[5];
    row.Pitch = n[6];
    row.Offset = n[7];
  }
  return records;
}

int InstrumentTable::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    m_rows = {};
    return 0;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return LoadFromText(bytes);
}

const InstrumentRow& InstrumentTable::Row(int index) const {
  static const InstrumentRow kEmpty{};
  if (index < 0 || index >= kRows) return kEmpty;
  return m_rows[static_cast<std::size_t>(index)];
}

std::string InstrumentTable::InsDesc(int insCode) const { return Row(insCode).Description; }

int InstrumentTable::InstrumentFromCode(int code) const {
  for (const auto& row : m_rows)
    if (row.Value == code) return row.Category;
  return 0;
}

std::filesystem::path InstrumentFile() {
  return CurrentPlatform().DataRoot() / "Common" / "Config" / "Instrument.txt";
}

}  // namespace notecraft
