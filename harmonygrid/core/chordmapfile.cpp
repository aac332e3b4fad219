#include "harmonygrid/core/chordmapfile.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <vector>

#include "harmonygrid/core/textutil.h"

namespace harmonygrid {

namespace {

constexpr long long kSaturate = 1'000'000'000;  // far beyond any 16-bit value; stops overflow

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The leading number of a field, rounded half to even and saturated at +-kSaturate: leading
// blanks, an optional sign, digits and an optional '.' with more digits; the rest is ignored.
// A field without digits reads 0.
long long ReadNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  long long whole = 0;
  while (i < s.size() && IsDigit(s[i])) {
    whole = std::min(kSaturate, whole * 10 + (s[i++] - '0'));
  }
  int firstFraction = 0;     // the digit after the point decides the rounding ...
  bool restNonZero = false;  // ... unless it is 5: then any later non-zero digit rounds up
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (i < s.size() && IsDigit(s[i])) firstFraction = s[i++] - '0';
    for (; i < s.size() && IsDigit(s[i]); ++i)
      if (s[i] != '0') restNonZero = true;
  }
  bool up = firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1));
  if (up) whole = std::min(kSaturate, whole + 1);
  return negative ? -whole : whole;
}

class LineParser {
public:
  LineParser(ChordFileReport& report, const ChordMapFile::Sink& sink)
      : m_report(report), m_sink(sink) {}

  // One line without its line end.
  void Parse(std::string_view line) {
    const int lineNo = ++m_report.Lines;
    std::size_t sep1 = line.find(';');
    if (sep1 == std::string_view::npos) {
      if (line.find_first_not_of(" \t") != std::string_view::npos)
        Skip(lineNo, ChordFileFault::NoSeparator);
      return;
    }
    // Fields are present when at least one character stands between their separators.
    std::string_view rest = line.substr(sep1 + 1);
    std::size_t sep2 = rest.find(';');
    std::string_view textField = rest.substr(0, sep2);
    if (textField.empty()) return Skip(lineNo, ChordFileFault::MissingText);
    if (sep2 == std::string_view::npos) return Skip(lineNo, ChordFileFault::MissingIndex);
    rest = rest.substr(sep2 + 1);
    std::size_t sep3 = rest.find(';');
    std::string_view indexField = rest.substr(0, sep3);
    if (indexField.empty()) return Skip(lineNo, ChordFileFault::MissingIndex);
    long long index = ReadNumber(indexField);
    if (index < 0) return Skip(lineNo, ChordFileFault::NegativeIndex);
    // Above 32767 the 16-bit id would overflow, and a huge index would also grow the table
    // by that many empty shapes.
    if (index > ChordMapFile::kMaxIndex) return Skip(lineNo, ChordFileFault::IndexTooLarge);

    m_line.Key = Cp1252ToUtf8(TrimSpaces(line.substr(0, sep1)));
    m_line.Text = Cp1252ToUtf8(TrimSpaces(textField));
    m_line.Index = static_cast<int>(index);
    m_line.Pairs.clear();
    rest = sep3 == std::string_view::npos ? std::string_view{} : rest.substr(sep3 + 1);
    bool more = sep3 != std::string_view::npos;
    while (more) {
      std::size_t sep = rest.find(';');
      std::string_view field = rest.substr(0, sep);
      more = sep != std::string_view::npos;
      if (more) rest = rest.substr(sep + 1);
      ParsePair(lineNo, field);
    }
    ++m_report.Accepted;
    m_sink(m_line);
  }

  // A line dropped for its length.
  void TooLong() { Skip(++m_report.Lines, ChordFileFault::LineTooLong); }

  void Note(int lineNo, ChordFileFault fault) {
    if (m_report.Notes.size() < ChordMapFile::kMaxNotes) m_report.Notes.push_back({lineNo, fault});
  }

private:
  void Skip(int lineNo, ChordFileFault fault) {
    ++m_report.Skipped;
    Note(lineNo, fault);
  }

  void ParsePair(int lineNo, std::string_view field) {
    std::size_t comma = field.find(',');
    if (comma == std::string_view::npos) {
      // An empty field (a trailing ';') is no fault worth a note.
      if (!TrimSpaces(field).empty()) Note(lineNo, ChordFileFault::PairWithoutComma);
      return;
    }
    long long string = ReadNumber(field.substr(0, comma));
    long long fret = ReadNumber(field.substr(comma + 1));
    long long s = std::clamp(string, 1LL, 6LL);
    long long f = std::clamp(fret, -1LL, 27LL);
    if (s != string || f != fret) Note(lineNo, ChordFileFault::PairOutOfRange);
    m_line.Pairs.emplace_back(static_cast<int>(s), static_cast<int>(f));
  }

  ChordFileReport& m_report;
  const ChordMapFile::Sink& m_sink;
  ChordMapLine m_line;  // reused from line to line
};

// Cuts a byte stream, fed in chunks, into lines for the parser. A line longer than
// kMaxLineBytes is dropped as it arrives, so memory stays bounded whatever the input.
class LineCutter {
public:
  explicit LineCutter(LineParser& parser) : m_parser(parser) {}

  void Feed(std::string_view chunk) {
    std::size_t pos = 0;
    while (pos < chunk.size()) {
      if (m_afterCr) {  // the '\n' of a CRLF pair ends no second line
        m_afterCr = false;
        if (chunk[pos] == '\n') {
          ++pos;
          continue;
        }
      }
      std::size_t end = chunk.find_first_of("\r\n", pos);
      Append(chunk.substr(pos, end == std::string_view::npos ? end : end - pos));
      if (end == std::string_view::npos) break;
      m_afterCr = chunk[end] == '\r';
      EndLine();
      pos = end + 1;
    }
  }

  // The last line needs no line end.
  void Finish() {
    if (!m_line.empty() || m_tooLong) EndLine();
  }

private:
  void Append(std::string_view part) {
    if (m_tooLong) return;
    if (m_line.size() + part.size() > ChordMapFile::kMaxLineBytes) {
      m_tooLong = true;
      std::string().swap(m_line);
      return;
    }
    m_line.append(part);
  }

  void EndLine() {
    if (m_tooLong)
      m_parser.TooLong();
    else
      m_parser.Parse(m_line);
    m_tooLong = false;
    m_line.clear();
  }

  LineParser& m_parser;
  std::string m_line;
  bool m_afterCr = false;
  bool m_tooLong = false;
};

// Feeds bytes through the cutter and grades how the reading ended.
class Reading {
public:
  Reading(ChordFileReport& report, const ChordMapFile::Sink& sink)
      : m_report(report), m_parser(report, sink), m_cutter(m_parser) {
    m_report.Opened = true;
  }

  // False once the size limit is reached; the rest of the input is not read.
  bool Feed(std::string_view chunk) {
    if (m_total + chunk.size() > ChordMapFile::kMaxFileBytes) {
      chunk = chunk.substr(0, static_cast<std::size_t>(ChordMapFile::kMaxFileBytes - m_total));
      m_report.Stopped = true;
    }
    m_total += chunk.size();
    m_cutter.Feed(chunk);
    return !m_report.Stopped;
  }

  void Finish(bool readError) {
    if (readError) {
      m_report.Stopped = true;
      m_parser.Note(0, ChordFileFault::ReadError);
    } else if (m_report.Stopped) {
      m_parser.Note(0, ChordFileFault::FileTooLarge);
    } else {
      m_cutter.Finish();  // a line cut off by a stop is dropped, not read half
    }
  }

private:
  ChordFileReport& m_report;
  LineParser m_parser;
  LineCutter m_cutter;
  std::uintmax_t m_total = 0;
};

void NoteFailure(ChordFileReport& report) {
  report.Stopped = true;
  if (report.Notes.size() < ChordMapFile::kMaxNotes)
    report.Notes.push_back({0, ChordFileFault::ReadError});
}

}  // namespace

std::filesystem::path ChordMapFile::Locate(const std::filesystem::path& folder) noexcept {
  try {
    if (folder.empty()) return {};
    std::error_code ec;
    std::filesystem::path exact = folder / kFileName;
    if (std::filesystem::is_regular_file(exact, ec)) return exact;
    auto lower = [](std::string s) {
      for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      return s;
    };
    const std::string wanted = lower(std::string(kFileName));
    std::filesystem::directory_iterator it(folder, ec);
    // A bounded look: a configuration folder holds a handful of files.
    for (int seen = 0; !ec && it != std::filesystem::directory_iterator() && seen < 10000;
         it.increment(ec), ++seen) {
      if (lower(it->path().filename().string()) == wanted && it->is_regular_file(ec))
        return it->path();
    }
  } catch (...) {  // allocation failures: behave as if there were no file
  }
  return {};
}

ChordFileReport ChordMapFile::ReadText(std::string_view bytes, const Sink& sink) noexcept {
  ChordFileReport report;
  try {
    Reading reading(report, sink);
    reading.Feed(bytes);
    reading.Finish(false);
  } catch (...) {  // allocation failure or a throwing sink: keep what was read
    NoteFailure(report);
  }
  return report;
}

ChordFileReport ChordMapFile::Read(const std::filesystem::path& file, const Sink& sink) noexcept {
  ChordFileReport report;
  try {
    std::ifstream in(file, std::ios::binary);
    if (!in) return report;
    Reading reading(report, sink);
    std::vector<char> buffer(64 * 1024);
    while (in) {
      in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      auto got = static_cast<std::size_t>(in.gcount());
      if (got == 0 || !reading.Feed(std::string_view(buffer.data(), got))) break;
    }
    reading.Finish(in.bad());
  } catch (...) {
    NoteFailure(report);
  }
  return report;
}

}  // namespace harmonygrid
