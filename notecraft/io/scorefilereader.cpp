#include "notecraft/io/scorefilereader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/instrumenttable.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/staff.h"
#include "notecraft/io/bytefinder.h"
#include "notecraft/io/filebytes.h"

namespace notecraft {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kHeadSize = 6;    // magic, entry count, entry size
constexpr std::size_t kEntrySize = 11;  // tag, N4 start, N4 length
constexpr std::size_t kEventSize = 7;   // N4 time, type, value 1, value 2
constexpr std::size_t kNoteSize = 13;   // N4 time, N4 duration, N4 flags, pitch count
constexpr std::size_t kMaxInsFields = 4 + 2 * 8;  // offset, pitch, low, high, eight drum pairs
constexpr std::size_t kSectionBudget = 4;  // sections may add up to this many times the file
constexpr char kCutShort[] = "it ends before the sections its directory names";

FileError Damaged(const std::string& why) {
  return MakeFileError(FileErrorCode::Damaged, "The score file is damaged: " + why + ".");
}

// Sections and records that do not fill the room their directory gives them, or rooms
// that do not fill the file: the file holds something other than what it says.
FileError DoesNotAddUp(const std::string& what) {
  return Damaged("its sections do not add up (" + what + ")");
}

// Whether the spans [begin, end) (0-based) lie end to end from `from` up to `to`.
bool Tiles(std::vector<std::pair<std::size_t, std::size_t>> spans, std::size_t from,
           std::size_t to) {
  std::sort(spans.begin(), spans.end());
  for (const auto& [begin, end] : spans) {
    if (begin != from) return false;
    from = end;
  }
  return from == to;
}

// A double as a whole number the way a 32-bit field takes it; nothing when it does not fit.
std::optional<int> ToInt(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  if (v < static_cast<double>(std::numeric_limits<int>::min()) - 0.5 ||
      v >= static_cast<double>(std::numeric_limits<int>::max()) + 0.5)
    return std::nullopt;
  return static_cast<int>(RoundHalfEven(v));
}

std::optional<int> IntField(Bytes field) { return ToInt(ParseDecimal(field)); }

struct Entry {
  std::string Tag;
  int Start = 0;  // 1-based
  int Length = 0;
};

Entry ReadEntry(Bytes entry) {
  Entry e;
  e.Tag.assign(reinterpret_cast<const char*>(entry.data()), 3);
  e.Start = BytesToLong(entry.subspan(3, 4));
  e.Length = BytesToLong(entry.subspan(7, 4));
  return e;
}

// What Instruments::Add will answer when the parsed file is replayed into a score that
// ClearContents emptied: an instrument with the same ID or table row is shared, a new one is
// made from table rows 0..174 only, and at most 16 exist.
// IDs the score makes itself (Instruments::NewID) are new by construction.
class InstrumentLimits {
public:
  bool Add(const std::string* id, int row) {
    if (row < 0 || row >= InstrumentTable::kRows) return false;
    for (const auto& ins : m_items)
      if ((id && ins.id && *ins.id == *id) || ins.row == row) return true;
    if (static_cast<int>(m_items.size()) >= Instruments::kMaxInstruments) return false;
    m_items.push_back({id ? std::optional<std::string>(*id) : std::nullopt, row});
    return true;
  }

private:
  struct Item {
    std::optional<std::string> id;
    int row;
  };
  std::vector<Item> m_items;
};

class Parser {
public:
  explicit Parser(Bytes file) : m_file(file) {}

  Result<ScoreImage> Run();

private:
  // The bytes of [start, start + length), charged against the budget of one pass over the
  // file, which only overlapping sections can exceed. Nothing, with m_pastEnd set, when
  // they reach past the end of the file.
  std::optional<Bytes> Section(int start, std::int64_t length);
  bool Inside(int start, std::int64_t length) const {
    const auto size = static_cast<std::int64_t>(m_file.size());
    return start >= 1 && length >= 0 && static_cast<std::int64_t>(start) - 1 + length <= size;
  }

  // Every section with something in it lies end to end after the directory up to the end
  // of the file; the Stf head names no more than its section holds.
  std::optional<FileError> CheckDirectory(std::size_t count, std::size_t size);
  std::optional<FileError> ParseHeader(Bytes d);
  std::optional<FileError> ParseEvents(Bytes d, bool ofStaff);
  std::optional<FileError> ParseInstruments(Bytes d);
  // d is the Stf head and staff directory; the section runs for sectionLength bytes.
  std::optional<FileError> ParseStaves(Bytes d, int start, int sectionLength);
  void ParseStaffHeader(Bytes d);
  std::optional<FileError> ParseVoices(Bytes d, int start);

  Bytes m_file;
  std::size_t m_charged = 0;
  bool m_overlap = false;
  bool m_pastEnd = false;
  ScoreImage m_image;
  InstrumentLimits m_instruments;
  int m_staves = 0;
  int m_voicesOnStaff = 0;
};

std::optional<Bytes> Parser::Section(int start, std::int64_t length) {
  if (start < 1 || length < 1) return std::nullopt;
  const auto first = static_cast<std::size_t>(start - 1);
  if (!Inside(start, length)) {
    m_pastEnd = true;
    return std::nullopt;
  }
  const auto size = static_cast<std::size_t>(length);
  // The sections of a sound file do not overlap, so together they are at most the file;
  // a length field gone wrong may stretch one to the file's end. More than a few times
  // the file means sections named again and again, which would only multiply the work.
  m_charged += size;
  if (m_charged > kSectionBudget * m_file.size()) {
    m_overlap = true;
    return std::nullopt;
  }
  return m_file.subspan(first, size);
}

Result<ScoreImage> Parser::Run() {
  if (m_file.size() < kHeadSize) return Damaged("it is too short to hold its directory");
  const std::size_t count = m_file[4];
  const std::size_t size = m_file[5];
  if (count == 0 || size == 0) return Damaged("its directory is empty");
  if (size < kEntrySize) return Damaged("its directory entries are too short");

  // A file cut short (a copy broken off, a disk that filled up) loses the sections at its
  // end: reading the rest would open a score with most of its music silently missing, and
  // a save would then write that over the file. So a directory or a section reaching past
  // the end makes the file damaged, and so do sections that do not add up to the file (the
  // head of a score followed by other bytes) or to their records.
  if (kHeadSize + count * size > m_file.size()) return Damaged(kCutShort);
  if (auto error = CheckDirectory(count, size)) return *error;
  // Every writer names the header and the staves; a directory that names no section at all
  // is not a score's (random bytes after the magic), and would open as an empty score.
  bool namesASection = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeadSize + i * size;
    Entry e = ReadEntry(m_file.subspan(at, kEntrySize));
    if (e.Start < 1 || e.Length < 1) continue;
    m_image.Steps.emplace_back(ScoreImage::Progress{e.Start});
    std::int64_t length = e.Length;
    if (e.Tag == "Stf") {
      // Only the Stf head and the staff directory; the sub-sections are read through it.
      if (!Inside(e.Start, std::max<std::int64_t>(e.Length, 4))) return Damaged(kCutShort);
      const auto first = static_cast<std::size_t>(e.Start - 1);
      length = static_cast<std::int64_t>(BytesToLong(m_file.subspan(first, 4))) + 4;
    } else if (e.Tag != "Hdr" && e.Tag != "Glb" && e.Tag != "Ins") {
      continue;
    }
    namesASection = true;
    auto d = Section(e.Start, length);
    if (m_overlap) return Damaged("its sections overlap");
    if (m_pastEnd) return Damaged(kCutShort);
    if (!d) continue;
    std::optional<FileError> error;
    if (e.Tag == "Hdr") {
      error = ParseHeader(*d);
    } else if (e.Tag == "Glb") {
      error = ParseEvents(*d, false);
    } else if (e.Tag == "Ins") {
      error = ParseInstruments(*d);
    } else {
      error = ParseStaves(*d, e.Start, e.Length);
    }
    if (error) return *error;
  }
  if (!namesASection) return Damaged("its directory names none of a score's sections");
  return std::move(m_image);
}

std::optional<FileError> Parser::CheckDirectory(std::size_t count, std::size_t size) {
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  for (std::size_t i = 0; i < count; ++i) {
    const Entry e = ReadEntry(m_file.subspan(kHeadSize + i * size, kEntrySize));
    if (e.Start < 1 || e.Length < 1) continue;
    if (!Inside(e.Start, e.Length)) return Damaged(kCutShort);
    const auto first = static_cast<std::size_t>(e.Start - 1);
    if (e.Tag == "Stf") {
      if (e.Length < 4) return DoesNotAddUp("the staff directory");
      const std::int64_t head =
          static_cast<std::int64_t>(BytesToLong(m_file.subspan(first, 4))) + 4;
      if (!Inside(e.Start, head)) return Damaged(kCutShort);
      if (head > e.Length) return DoesNotAddUp("the staff directory");
    }
    spans.emplace_back(first, first + static_cast<std::size_t>(e.Length));
  }
  if (!Tiles(std::move(spans), kHeadSize + count * size, m_file.size()))
    return DoesNotAddUp("the directory and the file's size");
  return std::nullopt;
}

// Five font records (name 0 size style texts 255), then the spacing record
// (D 254 D 254 D 255), the page record (four margins each followed by 254, four bytes, 255)
// and the tempo record (D 254 D 255).
std::optional<FileError> Parser::ParseHeader(Bytes d) {
  ScoreImage::Header header;
  ByteFinder ends(d, kRecordEnd);
  ByteFinder zeros(d, kNameEnd);
  const std::size_t n = d.size();
  std::size_t pos = 0;

  for (int font = 0; font < 5; ++font) {
    const std::size_t end = ends.Next(pos);
    if (end == n) continue;  // no record: this font is skipped, the next tries the same bytes
    const std::size_t nameEnd = zeros.Next(pos, end);
    if (nameEnd < end) {
      ScoreImage::FontRecord record;
      record.Font = font;
      const std::size_t sizeStart = nameEnd + 1;
      std::size_t sizeEnd = sizeStart;
      while (sizeEnd < end && d[sizeEnd] <= 127) ++sizeEnd;
      // The style byte follows the size text; a record cut short there takes its 255.
      const std::uint8_t style = d[sizeEnd];
      const Bytes sizeText = d.subspan(sizeStart, sizeEnd - sizeStart);
      const auto size = ToInt(ParseDecimal(sizeText));
      if (size && *size > 0) {
        std::string description = "|" + TextFromFile(d.subspan(pos, nameEnd - pos)) + "|" +
                                  TextFromFile(sizeText) + "|";
        for (int bit : {1, 2, 4}) description += (style & bit) ? "1|" : "0|";
        record.Description = std::move(description);
      }
      const std::size_t textStart = sizeEnd + 1;
      if (textStart < end) {
        const Bytes texts = d.subspan(textStart, end - textStart);
        if (font <= 2) {
          record.Text1 = TextFromFile(texts);
        } else {
          auto sep = std::find(texts.begin(), texts.end(), kFieldSep);
          if (sep != texts.end()) {
            const auto k = static_cast<std::size_t>(sep - texts.begin());
            record.Text1 = TextFromFile(texts.first(k));
            record.Text2 = TextFromFile(texts.subspan(k + 1));
          }
        }
      }
      header.Fonts.push_back(std::move(record));
    }
    pos = end + 1;
  }

  // The next record, while the position is before the section's last byte and a 255 follows.
  auto nextRecord = [&]() -> std::optional<Bytes> {
    if (pos + 1 >= n) return std::nullopt;
    const std::size_t end = ends.Next(pos);
    if (end == n) return std::nullopt;
    Bytes r = d.subspan(pos, end - pos);
    pos = end + 1;
    return r;
  };
  // The field of r from p to the next 254, moving p past it; nothing when there is no 254.
  auto field = [](Bytes r, std::size_t& p) -> std::optional<Bytes> {
    auto sep = std::find(r.begin() + static_cast<std::ptrdiff_t>(p), r.end(), kFieldSep);
    if (sep == r.end()) return std::nullopt;
    const auto q = static_cast<std::size_t>(sep - r.begin());
    Bytes f = r.subspan(p, q - p);
    p = q + 1;
    return f;
  };

  if (auto r = nextRecord()) {
    std::size_t p = 0;
    if (auto f = field(*r, p)) {
      header.StaffHeight = ParseDecimalFloat(*f);
      if (auto g = field(*r, p)) header.StaffSpace = ParseDecimalFloat(*g);
    }
    header.SystemSpace = ParseDecimalFloat(r->subspan(p));
  }
  if (auto r = nextRecord()) {
    std::size_t p = 0;
    for (auto& margin : header.Margins) {
      auto f = field(*r, p);
      if (!f) break;
      margin = ParseDecimalFloat(*f);
    }
    if (p < r->size()) header.PageNums = (*r)[p++];
    if (p < r->size()) header.ReverseEvenOdd = (*r)[p++] == 1;
    if (p < r->size()) header.UseChords = (*r)[p++] == 1;
    if (p < r->size()) header.UseChordMaps = (*r)[p++] == 1;
  }
  if (auto r = nextRecord()) {
    std::size_t p = 0;
    if (auto f = field(*r, p)) {
      header.Count = IntField(*f);
      const Bytes rest = r->subspan(p);
      auto sep = std::find(rest.begin(), rest.end(), kFieldSep);
      header.Pulse = IntField(rest.first(static_cast<std::size_t>(sep - rest.begin())));
    }
  }
  if (pos < n) return DoesNotAddUp("the header");
  m_image.Steps.emplace_back(std::move(header));
  return std::nullopt;
}

std::optional<FileError> Parser::ParseEvents(Bytes d, bool ofStaff) {
  ScoreImage::Events events;
  events.OfStaff = ofStaff;
  ByteFinder ends(d, kRecordEnd);
  // Calls take(record, text) for each whole record; gives where the records end.
  auto walk = [&](auto&& take) {
    std::size_t pos = 0;
    while (d.size() - pos >= kEventSize) {
      std::size_t next = pos + kEventSize;
      Bytes text;
      if (next < d.size() && d[next] == kFieldSep) {
        const std::size_t end = ends.Next(next + 1);
        if (end == d.size()) break;
        text = d.subspan(next + 1, end - next - 1);
        next = end + 1;
      }
      take(pos, text);
      pos = next;
    }
    return pos;
  };
  // Counted first, from the bytes there (not a stored count): a staff's lyrics are tens of
  // thousands of records, and a list sized by guess holds memory the score never uses.
  std::size_t count = 0;
  // A record cut short: the section holds less than it says.
  if (walk([&](std::size_t, Bytes) { ++count; }) != d.size())
    return DoesNotAddUp(ofStaff ? "a staff's events" : "the score's events");
  events.Items.reserve(count);
  walk([&](std::size_t pos, Bytes text) {
    ScoreImage::Event e;
    e.Time = BytesToLong(d.subspan(pos, 4));
    e.Type = d[pos + 4];
    e.Value1 = d[pos + 5];
    e.Value2 = d[pos + 6];
    e.Text = text;
    events.Items.push_back(e);
  });
  m_image.Steps.emplace_back(std::move(events));
  return std::nullopt;
}

// id 254 description, then channel, category, clef and program bytes, then
// D offset 254 D pitch 254 D low 254 D high [254 D value 254 D code] x 8 (drums), 255.
std::optional<FileError> Parser::ParseInstruments(Bytes d) {
  ScoreImage::Instruments list;
  ByteFinder ends(d, kRecordEnd);
  ByteFinder seps(d, kFieldSep);
  std::size_t pos = 0;
  while (pos < d.size()) {
    const std::size_t end = ends.Next(pos);
    if (end == d.size()) return DoesNotAddUp("the instruments");  // a record without its 255
    const std::size_t sep = seps.Next(pos, end);
    if (sep == end) {  // no 254: the record is skipped
      pos = end + 1;
      continue;
    }
    ScoreImage::Instrument ins;
    ins.ID = TextFromFile(d.subspan(pos, sep - pos));
    std::size_t descEnd = sep + 1;
    while (descEnd < end && d[descEnd] >= 32) ++descEnd;
    // The four bytes after the description are missing.
    if (end - descEnd < 4) return DoesNotAddUp("the instruments");
    ins.Description = TextFromFile(d.subspan(sep + 1, descEnd - sep - 1));
    ins.Category = d[descEnd + 1];
    ins.Clef = d[descEnd + 2];
    ins.Program = d[descEnd + 3];

    std::vector<Bytes> fields;
    std::size_t p = descEnd + 4;
    while (fields.size() < kMaxInsFields) {
      const std::size_t q = seps.Next(p, end);
      fields.push_back(d.subspan(p, q - p));
      if (q == end) break;
      p = q + 1;
    }
    std::optional<int>* numbers[] = {&ins.Offset, &ins.Pitch, &ins.Low, &ins.High};
    for (std::size_t f = 0; f < 4 && f < fields.size(); ++f)
      if (!fields[f].empty()) *numbers[f] = IntField(fields[f]);
    if (ins.Category == catDrums) {
      for (std::size_t f = 4; f + 1 < fields.size(); f += 2)
        ins.Drums.emplace_back(IntField(fields[f]).value_or(0), IntField(fields[f + 1]).value_or(0));
    }
    if (!m_instruments.Add(&ins.ID, ins.Program)) {
      return ins.Program >= InstrumentTable::kRows
                 ? Damaged("an instrument's program " + std::to_string(ins.Program) +
                           " is not in the instrument table")
                 : Damaged("it holds more than 16 instruments");
    }
    list.Items.push_back(std::move(ins));
    pos = end + 1;
  }
  m_image.Steps.emplace_back(std::move(list));
  return std::nullopt;
}

std::optional<FileError> Parser::ParseStaves(Bytes d, int start, int sectionLength) {
  if (d.size() < kHeadSize) {
    if (static_cast<int>(d.size()) != sectionLength) return DoesNotAddUp("the staff directory");
    return std::nullopt;
  }
  const std::size_t count = d[4];
  const std::size_t size = d[5];
  if (count == 0) {
    if (d.size() != kHeadSize || sectionLength != static_cast<int>(kHeadSize))
      return DoesNotAddUp("the staff directory");
    return std::nullopt;
  }
  if (size < kEntrySize) return Damaged("its staff entries are too short");
  if (kHeadSize + count * size > d.size()) return Damaged(kCutShort);
  // The head's length is that of the directory it names; the staves' sub-sections fill the
  // rest of the section.
  if (d.size() != kHeadSize + count * size) return DoesNotAddUp("the staff directory");
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  for (std::size_t i = 0; i < count; ++i) {
    const Entry e = ReadEntry(d.subspan(kHeadSize + i * size, kEntrySize));
    if (e.Start < 1 || e.Length < 1) continue;
    if (!Inside(e.Start, e.Length)) return Damaged(kCutShort);
    const auto first = static_cast<std::size_t>(e.Start - 1);
    spans.emplace_back(first, first + static_cast<std::size_t>(e.Length));
  }
  const auto sectionBegin = static_cast<std::size_t>(start - 1);
  if (!Tiles(std::move(spans), sectionBegin + d.size(),
             sectionBegin + static_cast<std::size_t>(sectionLength)))
    return DoesNotAddUp("the staves");
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeadSize + i * size;
    Entry e = ReadEntry(d.subspan(at, kEntrySize));
    if (e.Start < 1 || e.Length < 1) continue;
    const bool known = e.Tag == "Hdr" || e.Tag == "Glb" || e.Tag == "Vce";
    if (!known) continue;
    auto sub = Section(e.Start, e.Length);
    if (m_overlap) return Damaged("its sections overlap");
    if (m_pastEnd) return Damaged(kCutShort);
    if (e.Tag == "Hdr") {
      m_image.Steps.emplace_back(ScoreImage::Progress{e.Start});
      ParseStaffHeader(sub.value_or(Bytes{}));
      continue;
    }
    if (!sub) continue;
    if (m_staves == 0) return Damaged("staff data comes before any staff");
    auto error = e.Tag == "Glb" ? ParseEvents(*sub, true) : ParseVoices(*sub, e.Start);
    if (error) return *error;
  }
  return std::nullopt;
}

// description 254 D scale, then clef, flags, state (1 mute + 2 visible), brace and voice
// count bytes; no end byte.
void Parser::ParseStaffHeader(Bytes d) {
  ScoreImage::StaffHeader header;
  auto sep = std::find(d.begin(), d.end(), kFieldSep);
  if (sep != d.end()) {
    header.HasFields = true;
    const auto s = static_cast<std::size_t>(sep - d.begin());
    header.Description = TextFromFile(d.first(s));
    std::size_t q = s + 1;
    while (q < d.size() && d[q] >= 32) ++q;
    header.ScalePct = IntField(d.subspan(s + 1, q - s - 1));
    std::optional<int>* bytes[] = {&header.Clef, &header.Flags, &header.State, &header.Brace};
    for (auto* b : bytes) {
      if (q >= d.size()) break;
      *b = d[q++];
    }
  }
  m_image.Steps.emplace_back(std::move(header));
  ++m_staves;
  m_voicesOnStaff = 0;
}

// Per voice: N4 note count, description 254 D program 255, then the note records
// (N4 time, N4 duration, N4 flags, pitch count, pitches).
std::optional<FileError> Parser::ParseVoices(Bytes d, int start) {
  ScoreImage::Voices voices;
  ByteFinder ends(d, kRecordEnd);
  ByteFinder seps(d, kFieldSep);
  std::size_t pos = 0;
  bool cut = false;
  while (!cut && d.size() - pos >= 4) {
    const auto count = static_cast<std::uint32_t>(BytesToLong(d.subspan(pos, 4)));
    // The separators are looked for after the count: its bytes may be 254 or 255.
    const std::size_t end = ends.Next(pos + 4);
    if (end == d.size()) break;
    const std::size_t sep = seps.Next(pos + 4, end);
    if (sep == end) {  // not a voice record: try again 4 bytes on
      pos += 4;
      continue;
    }
    ScoreImage::Voice voice;
    voice.Description = TextFromFile(d.subspan(pos + 4, sep - pos - 4));
    const auto program = IntField(d.subspan(sep + 1, end - sep - 1));
    if (!program || !m_instruments.Add(nullptr, *program))
      return Damaged("a voice's instrument cannot be made (program " +
                     (program ? std::to_string(*program) : std::string("out of range")) + ")");
    if (++m_voicesOnStaff > Staff::kMaxVoices) return Damaged("a staff has more than four voices");
    voice.Program = *program;
    pos = end + 1;
    const std::size_t first = pos;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (d.size() - pos < kNoteSize || d.size() - pos < kNoteSize + d[pos + 12]) {
        cut = true;  // a note record cut short ends the sub-section
        break;
      }
      if ((count - i) % 20 == 0)
        voice.Progress.emplace_back(i, start + static_cast<int>(pos) + 1);
      ++voice.NoteCount;
      pos += kNoteSize + d[pos + 12];
    }
    voice.NoteRecords = d.subspan(first, pos - first);
    voices.Items.push_back(std::move(voice));
  }
  // Fewer notes than a count says, or bytes after the last voice that make none.
  if (cut || pos != d.size()) return DoesNotAddUp("a staff's voices");
  m_image.Steps.emplace_back(std::move(voices));
  return std::nullopt;
}

}  // namespace

Result<ScoreImage> ScoreFileReader::Parse(std::span<const std::uint8_t> file) {
  return Parser(file).Run();
}

}  // namespace notecraft
