#include "notecraft/io/scorefilewriter.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/io/filebytes.h"

namespace notecraft {

namespace {

constexpr std::size_t kEntrySize = 11;
constexpr std::size_t kStaffEntriesSize = 3 * kEntrySize;
// 0-based offsets of the start fields of the head's four entries (positions 10, 21, 32, 43).
constexpr std::size_t kHdrEntry = 9, kGlbEntry = 20, kInsEntry = 31, kStfEntry = 42;

class Writer {
public:
  explicit Writer(Score& score) : m_score(score) {}

  Result<std::vector<std::uint8_t>> Run();

private:
  void Byte(int value) { m_out.push_back(static_cast<std::uint8_t>(std::clamp(value, 0, 255))); }
  // A byte read by its place inside a record that ends at the first 255.
  void RecordByte(int value) { Byte(std::min(value, 254)); }
  void Text(const std::string& utf8, TextKind kind) {
    const std::string bytes = FileText(utf8, kind);
    m_out.insert(m_out.end(), bytes.begin(), bytes.end());
  }
  void Ascii(const std::string& text) { m_out.insert(m_out.end(), text.begin(), text.end()); }
  // Whether a number can be an N4; the callers fail the file with their message if not.
  static bool Fits(std::int64_t value) { return value >= 0 && value < kN4Limit; }
  void N4(std::int64_t value) { AppendN4(m_out, static_cast<std::uint32_t>(Fits(value) ? value : 0)); }
  void Fail(const std::string& message) {
    if (!m_error) m_error = message;
  }
  // 1-based position of the next byte.
  std::int64_t Position() const { return static_cast<std::int64_t>(m_out.size()) + 1; }
  // Writes a section's start and length into the entry whose start field is at `at`.
  void Patch(std::size_t at, std::int64_t start) {
    const std::int64_t length = Position() - start;
    if (start >= kN4Limit || length >= kN4Limit)
      Fail("The score is too large for a score file, which cannot pass 16 MiB.");
    const auto put = [&](std::size_t p, std::int64_t v) {
      for (int i = 0; i < 4; ++i)
        m_out[p + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (24 - 8 * i)) & 0xFF);
    };
    put(at, start);
    put(at + 4, length);
  }
  void Entry(const char* tag) {
    Ascii(tag);
    m_out.insert(m_out.end(), 8, 0);
  }

  void WriteHeader();
  // staff 0 is the score-wide list.
  void WriteEvents(const GlobalEvents& events, int staff);
  void WriteEvent(const GlobalEvent& e, int staff);
  bool ScoreKeyNeedsStoring() const;
  void WriteInstruments();
  void WriteStaves();
  void WriteStaffHeader(const Staff& staff);
  void WriteVoices(const Staff& staff);

  Score& m_score;
  std::vector<std::uint8_t> m_out;
  std::optional<std::string> m_error;
};

Result<std::vector<std::uint8_t>> Writer::Run() {
  if (m_score.Staffs() > ScoreFileWriter::kMaxStaves) {
    return MakeFileError(FileErrorCode::NotStorable,
                         "The score has " + std::to_string(m_score.Staffs()) +
                             " staves; a score file holds at most 85.");
  }
  Ascii("Vm00");
  Byte(4);
  Byte(static_cast<int>(kEntrySize));
  for (const char* tag : {"Hdr", "Glb", "Ins", "Stf"}) Entry(tag);

  std::int64_t start = Position();
  WriteHeader();
  Patch(kHdrEntry, start);

  start = Position();
  WriteEvents(m_score.AllGlobals(), 0);
  Patch(kGlbEntry, start);

  start = Position();
  WriteInstruments();
  Patch(kInsEntry, start);

  start = Position();
  WriteStaves();
  Patch(kStfEntry, start);

  if (m_error) return MakeFileError(FileErrorCode::NotStorable, *m_error);
  return std::move(m_out);
}

// Five font records (name 0 size style texts 255), spacing, page and tempo records.
void Writer::WriteHeader() {
  for (int i = fntTitle; i <= fntCopyright; ++i) {
    const auto font = m_score.Fonts(i);
    Text(font->Name, TextKind::Description);
    Byte(kNameEnd);
    Ascii(FormatDecimal(font->Size));
    Byte(128 + (font->Bold ? 1 : 0) + (font->Underline ? 2 : 0) + (font->Italic ? 4 : 0));
    switch (i) {
      case fntTitle: Text(m_score.Title(), TextKind::Free); break;
      case fntSubTitle: Text(m_score.SubTitle(), TextKind::Free); break;
      case fntHeader: Text(m_score.Heading(), TextKind::Free); break;
      case fntComposer:
        Text(m_score.Composer(), TextKind::Free);
        Byte(kFieldSep);
        Text(m_score.ArrangedBy(), TextKind::Free);
        break;
      default:
        Text(m_score.Copyright(0), TextKind::Free);
        Byte(kFieldSep);
        Text(m_score.Copyright(1), TextKind::Free);
        break;
    }
    Byte(kRecordEnd);
  }

  Ascii(FormatDecimal(m_score.StaffHeight()));
  Byte(kFieldSep);
  Ascii(FormatDecimal(m_score.StaffSpace()));
  Byte(kFieldSep);
  Ascii(FormatDecimal(m_score.SystemSpace()));
  Byte(kRecordEnd);

  for (int margin = marTop; margin <= marRight; ++margin) {
    Ascii(FormatDecimal(m_score.Margins(margin)));
    Byte(kFieldSep);
  }
  RecordByte(m_score.PageNums());
  Byte(m_score.ReverseEvenOdd() ? 1 : 0);
  Byte(m_score.UseChords() ? 1 : 0);
  Byte(m_score.UseChordMaps() ? 1 : 0);
  Byte(kRecordEnd);

  Ascii(FormatDecimal(m_score.Count()));
  Byte(kFieldSep);
  Ascii(FormatDecimal(m_score.AllGlobals().PulseValue()));
  Byte(kRecordEnd);
}

// Time signatures first, then the other events in list order.
void Writer::WriteEvents(const GlobalEvents& events, int staff) {
  for (int i = 1; i <= events.TimeItemCount(); ++i) WriteEvent(*events.TimeItem(i), staff);
  if (staff == 0 && ScoreKeyNeedsStoring()) {
    const GlobalEvent key(0, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(m_score.Key())),
                          m_score.Minor() ? 255 : 0, {});
    WriteEvent(key, 0);
  }
  for (const auto& e : events) WriteEvent(*e, staff);
}

// A score-wide list without a key at time 0 means the score's key (C major unless set), but
// readers take a staff's key at time 0 for the score's key when the score-wide list has
// none, which would spread one staff's key to every staff. Then the key is written out.
bool Writer::ScoreKeyNeedsStoring() const {
  if (m_score.AllGlobals().Find(0, evtKeyChange, true)) return false;
  for (const auto& staff : m_score.AllStaffs())
    if (staff->GlobalEvents().Find(0, evtKeyChange, true)) return true;
  return false;
}

void Writer::WriteEvent(const GlobalEvent& e, int staff) {
  if (!Fits(e.EventTime())) {
    Fail("An event " + (staff ? "on staff " + std::to_string(staff) : std::string("of the score")) +
         " at time " + std::to_string(e.EventTime()) +
         " lies outside the times a score file can hold (0 to 16,777,215).");
  }
  N4(e.EventTime());
  Byte(e.EventType());
  Byte(e.Value1());
  Byte(e.Value2());
  if (!e.Text().empty()) {
    Byte(kFieldSep);
    Text(e.Text(), TextKind::Free);
    Byte(kRecordEnd);
  }
}

// The channel each instrument gets by the rule of Instruments (drums on 9, every other
// program on the first channel other than 9 that is free or plays it, in list order).
// Readers ignore the stored channel and assign it by that rule, while an instrument's own
// channel may be stale (a category changed since the list last assigned channels): the
// rule's channel is the one the file will have again.
std::vector<int> ChannelsByRule(const Instruments& instruments) {
  constexpr int kDrumChannel = 9;
  std::array<int, 16> slots;
  slots.fill(-1);
  std::vector<int> channels;
  for (const auto& ins : instruments) {
    int channel = ins->Channel();  // a program beyond the fifteen channels keeps its own
    if (ins->Category() == catDrums) {
      channel = kDrumChannel;
    } else {
      for (int c = 0; c < 16; ++c) {
        auto& slot = slots[static_cast<std::size_t>(c)];
        if (c == kDrumChannel || (slot != -1 && slot != ins->Value())) continue;
        slot = ins->Value();
        channel = c;
        break;
      }
    }
    channels.push_back(channel);
  }
  return channels;
}

// id 254 description, channel, category, clef, program, D offset 254 D pitch 254 D low 254
// D high, for drums eight times 254 D value 254 D code, then 255.
void Writer::WriteInstruments() {
  const Internal key;
  const std::vector<int> channels = ChannelsByRule(m_score.AllInstruments());
  std::size_t index = 0;
  for (const auto& ins : m_score.AllInstruments()) {
    Text(ins->InstrumentID(key), TextKind::Description);
    Byte(kFieldSep);
    Text(ins->Description(), TextKind::Description);
    RecordByte(channels[index++]);
    RecordByte(ins->Category());
    RecordByte(ins->DefaultClef());
    RecordByte(ins->FileCode());
    Ascii(FormatDecimal(ins->Offset()));
    Byte(kFieldSep);
    Ascii(FormatDecimal(ins->Pitch()));
    Byte(kFieldSep);
    Ascii(FormatDecimal(ins->Range().Low()));
    Byte(kFieldSep);
    Ascii(FormatDecimal(ins->Range().High()));
    if (ins->Category() == catDrums) {
      for (int slot = 1; slot <= 8; ++slot) {
        Byte(kFieldSep);
        Ascii(FormatDecimal(ins->DrumValue(slot)));
        Byte(kFieldSep);
        Ascii(FormatDecimal(ins->DrumCode(slot)));
      }
    }
    Byte(kRecordEnd);
  }
}

// The Stf head and the staff directory, then each staff's Hdr, Glb and Vce sub-sections.
void Writer::WriteStaves() {
  const std::size_t head = m_out.size();
  const int staves = m_score.Staffs();
  N4(static_cast<std::int64_t>(kStaffEntriesSize) * staves + 2);
  Byte(3 * staves);
  Byte(static_cast<int>(kEntrySize));
  for (int i = 0; i < staves; ++i)
    for (const char* tag : {"Hdr", "Glb", "Vce"}) Entry(tag);

  for (int i = 0; i < staves; ++i) {
    const auto staff = m_score.Staff(i + 1);
    const std::size_t entries = head + 6 + kStaffEntriesSize * static_cast<std::size_t>(i);
    std::int64_t start = Position();
    WriteStaffHeader(*staff);
    Patch(entries + 3, start);
    start = Position();
    WriteEvents(staff->GlobalEvents(), i + 1);
    Patch(entries + kEntrySize + 3, start);
    start = Position();
    WriteVoices(*staff);
    Patch(entries + 2 * kEntrySize + 3, start);
  }
}

// description 254 D scale, clef, flags, state, brace, voice count.
void Writer::WriteStaffHeader(const Staff& staff) {
  Text(staff.Description(), TextKind::Description);
  Byte(kFieldSep);
  Ascii(FormatDecimal(staff.ScalePct()));
  // The scale's digits end at the first byte below 32, which must be the clef; a clef
  // that is no ClefTypes value draws as treble anyway.
  const int clef = staff.DefaultClef();
  Byte(clef >= 0 && clef < 32 ? clef : clfTreble);
  Byte(staff.Flags());
  Byte((staff.Mute() ? 1 : 0) + (staff.Visible() ? 2 : 0));
  Byte(staff.Brace());
  Byte(staff.Voices());
}

// Per voice: N4 note count, description 254 D program 255, then its notes
// (N4 time, N4 duration, N4 flags, pitch count, pitches in the note's order).
void Writer::WriteVoices(const Staff& staff) {
  for (int v = 1; v <= staff.Voices(); ++v) {
    const auto voice = staff.Voice(v);
    if (!voice) continue;  // a voice the score no longer holds has nothing to write
    const Notes& notes = voice->Notes();
    auto where = [&] {
      return " on staff " + std::to_string(staff.Index()) + ", voice " + std::to_string(v);
    };
    if (!Fits(notes.Count())) Fail("Too many notes" + where() + ".");
    N4(notes.Count());
    Text(voice->Description(), TextKind::Description);
    Byte(kFieldSep);
    // A voice is stored with its instrument's program (a drum sound's table row), and finds
    // its instrument by it when read. One without an instrument (a staff added when the
    // score held sixteen) is given the first instrument's: any other could ask for a
    // seventeenth instrument, which no reader can make, and the file would not open.
    auto instrument = voice->Instrument();
    if (!instrument) instrument = m_score.AllInstruments().Item(1);
    Ascii(FormatDecimal(instrument ? instrument->FileCode() : 0));
    Byte(kRecordEnd);
    for (const auto& note : notes) {
      if (!Fits(note->NoteTime()) || !Fits(note->Flags())) {
        Fail("A note at time " + std::to_string(note->NoteTime()) + where() + " has " +
             (Fits(note->NoteTime()) ? "flags (" + std::to_string(note->Flags()) + ")"
                                     : std::string("a time")) +
             " outside what a score file can hold (0 to 16,777,215).");
      }
      N4(note->NoteTime());
      N4(note->Duration());
      N4(note->Flags());
      Byte(note->ValueCount());
      m_out.insert(m_out.end(), note->Values().begin(), note->Values().end());
    }
  }
}

}  // namespace

Result<std::vector<std::uint8_t>> ScoreFileWriter::Write(Score& score) {
  return Writer(score).Run();
}

}  // namespace notecraft
