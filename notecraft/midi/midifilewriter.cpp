#include "notecraft/midi/midifilewriter.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "notecraft/core/common.h"
#include "notecraft/core/cp1252.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/io/filebytes.h"
#include "notecraft/io/filecommit.h"
#include "notecraft/midi/clefcue.h"
#include "notecraft/midi/tiednotes.h"

namespace notecraft {

namespace {

constexpr int kDrumChannel = 9;
constexpr int kVelocity = 127;

// The bytes of one track, with its running status.
class TrackBytes {
public:
  void Delta(std::int64_t scoreTime) {
    const auto v = MidiVarLen(std::max<std::int64_t>(0, scoreTime));
    m_bytes.insert(m_bytes.end(), v.begin(), v.end());
  }
  void VarLen(std::size_t n) {
    std::uint8_t groups[5];
    int count = 0;
    do {
      groups[count++] = static_cast<std::uint8_t>(n & 0x7F);
      n >>= 7;
    } while (n != 0 && count < 4);
    while (count > 1) m_bytes.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    m_bytes.push_back(groups[0]);
  }
  void Byte(int b) { m_bytes.push_back(static_cast<std::uint8_t>(b)); }
  // A status byte, left out when it repeats the running status.
  void Status(int status) {
    if (status != m_running) Byte(status);
    m_running = status;
  }
  // A meta event at delta 0 with a text or data of any length. Meta events are written
  // only where no running status is in force (before the first channel event or at the
  // end), so they need not end it.
  void Meta(int type, std::string_view data) {
    Byte(0);
    Byte(0xFF);
    Byte(type);
    VarLen(data.size());
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
  }
  void EndOfTrack() {
    Byte(0xFF);
    Byte(0x2F);
    Byte(0);
  }
  const std::vector<std::uint8_t>& Get() const { return m_bytes; }

private:
  std::vector<std::uint8_t> m_bytes;
  int m_running = -1;
};

void AppendChunk(std::vector<std::uint8_t>& out, const TrackBytes& track) {
  const auto& data = track.Get();
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  AppendN4(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

std::string Cp1252(const std::string& utf8) { return Utf8ToCp1252(utf8); }

// "text|name|size|bold" for a score text in one of its fonts.
std::string WithFont(const Score& score, const std::string& text, int font) {
  std::string out = Cp1252(text);
  if (auto f = score.Fonts(font)) {
    out += '|' + Cp1252(f->Name) + '|' + FormatDecimal(f->Size) + '|' + (f->Bold ? "1" : "0");
  }
  return out;
}

// A description as a track or instrument name: blanks trimmed, at most 255 characters.
std::string Name(const std::string& utf8) {
  std::string s = Cp1252(utf8);
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  s = s.substr(first, s.find_last_not_of(' ') - first + 1);
  if (s.size() > static_cast<std::size_t>(MidiFileWriter::kMaxNameLength))
    s.resize(MidiFileWriter::kMaxNameLength);
  return s;
}

TrackBytes ConductorTrack(const Score& score, bool forPlayback) {
  TrackBytes t;
  if (!forPlayback) {
    t.Meta(0x01, WithFont(score, score.Title(), fntTitle));
    t.Meta(0x01, WithFont(score, score.SubTitle(), fntSubTitle));
    t.Meta(0x01, WithFont(score, score.Composer(), fntComposer));
    t.Meta(0x01, Cp1252(score.ArrangedBy()));
    t.Meta(0x02, WithFont(score, score.Copyright(0), fntCopyright));
    t.Meta(0x02, WithFont(score, score.Copyright(1), fntCopyright));
  }
  if (score.Count() > 0) {
    // Microseconds per quarter note in three bytes; tempos below 4 would need a fourth.
    const std::uint32_t us = std::min<std::uint32_t>(
        MidiFileWriter::kMaxTempo, 60000000u / static_cast<std::uint32_t>(score.Count()));
    t.Meta(0x51, std::string{static_cast<char>(us >> 16), static_cast<char>((us >> 8) & 0xFF),
                             static_cast<char>(us & 0xFF)});
  }
  if (!forPlayback) {
    t.Meta(0x07, "&" + FormatDecimal(score.StaffHeight()) + "|" +
                     FormatDecimal(score.StaffSpace()) + "|" + FormatDecimal(score.SystemSpace()));
  }
  t.Meta(0x03, "Control");
  t.Meta(0x04, WithFont(score, score.Heading(), fntHeader));
  if (!forPlayback) {
    // The score's key, so that opening the file again keeps it (sharps positive, flats
    // as two's complement; mode 1 for minor).
    t.Meta(0x59, std::string{static_cast<char>(KeyToByte(score.Key())),
                             static_cast<char>(score.Minor() ? 1 : 0)});
  }

  const GlobalEvents& globals = score.AllGlobals();
  int previous = 0;
  for (int i = 1; i <= globals.TimeItemCount(); ++i) {
    const auto e = globals.TimeItem(i);
    if (!e || e->EventType() != evtTimeChange) continue;
    int beats = e->Value1();
    int power = MidiFileWriter::BeatPower(e->Value2());
    // The common and cut time symbols have no numerator of their own: common time is
    // 4/4, and cut time, 32 64ths a measure in the score, is written as 2/4 so that the
    // file's bars fall where the score's do.
    if (beats == 0) {
      beats = e->Value2() == 0 ? 4 : 2;
      power = 2;
    }
    t.Delta(static_cast<std::int64_t>(e->EventTime()) - previous);
    previous = e->EventTime();
    t.Byte(0xFF);
    t.Byte(0x58);
    t.Byte(4);
    t.Byte(beats);
    t.Byte(power);
    t.Byte(24);
    t.Byte(8);
  }
  t.Byte(0);
  t.EndOfTrack();
  return t;
}

bool Muted(const Score& score, const Voice& voice) {
  return std::any_of(score.AllStaffs().begin(), score.AllStaffs().end(), [&](const auto& s) {
    return s->Mute() && s->ValidVoice(voice.ID());
  });
}

TrackBytes VoiceTrack(const Score& score, const Voice& voice, const Instrument& instrument,
                      const TiedNotes& ties, bool forPlayback) {
  std::shared_ptr<const Staff> staff;
  for (const auto& s : score.AllStaffs()) {
    if (s->ValidVoice(voice.ID())) {
      staff = s;
      break;
    }
  }
  const int ch = instrument.Channel() & 0x0F;

  TrackBytes t;
  if (!forPlayback) {
    if (staff) {
      if (auto name = Name(staff->Description()); !name.empty()) t.Meta(0x03, name);
    }
    if (auto name = Name(instrument.Description()); !name.empty()) t.Meta(0x04, name);
    // Without it, opening the file would choose the staff's clef from its notes.
    if (staff) t.Meta(0x07, "%" + std::to_string(CueOfClef(staff->DefaultClef())));
  }
  // Set-up, each with its own status byte; running status starts after it.
  auto controller = [&](int number, int value) {
    t.Byte(0);
    t.Byte(0xB0 + ch);
    t.Byte(number);
    t.Byte(value);
  };
  if (ch != kDrumChannel) {
    controller(0, 0);  // bank select
    t.Byte(0);
    t.Byte(0xC0 + ch);
    t.Byte(instrument.Value() & 0x7F);
  }
  controller(7, 127);  // main volume
  controller(10, 64);  // pan, centre

  struct Off {
    int Time;
    int Pitch;
  };
  std::vector<Off> pending;  // ascending time; a new one after those of equal time
  std::int64_t last = 0;     // time of the last event written
  auto writeAt = [&](std::int64_t time) {
    t.Delta(time - last);
    last = std::max(last, time);
  };
  auto flushUntil = [&](std::int64_t time) {
    std::size_t n = 0;
    while (n < pending.size() && pending[n].Time <= time) {
      writeAt(pending[n].Time);
      t.Status(0x90 + ch);
      t.Byte(pending[n].Pitch);
      t.Byte(0);
      ++n;
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n));
  };

  const Notes& notes = voice.Notes();
  const GlobalEvents* events = staff ? &staff->GlobalEvents() : nullptr;
  auto event = events ? events->begin() : GlobalEvents::const_iterator{};
  const auto eventsEnd = events ? events->end() : GlobalEvents::const_iterator{};
  const GlobalEvents* globals = &score.AllGlobals();
  const TiedNotes::LengthOf length = [globals](const Note& n) {
    return SoundsFor(n, MidiFileWriter::SoundingLength(n.Duration(), n.Flags()), globals);
  };
  std::vector<TiedNotes::Strike> strikes;
  int index = 0;  // of the note in hand, 1-based
  for (auto it = notes.begin(); it != notes.end();) {
    const Note& note = **it;
    // Staff events up to the next note come first; those after the last note are dropped.
    if (events && event != eventsEnd && (*event)->EventTime() <= note.NoteTime()) {
      const GlobalEvent& e = **event;
      ++event;
      flushUntil(e.EventTime());
      if (e.EventType() == evtDynamic) {
        writeAt(e.EventTime());
        t.Status(0xB0 + ch);
        t.Byte(7);
        t.Byte(MidiFileWriter::DynamicVolume(e.Value1()));
      }
      continue;
    }
    ++it;
    ++index;
    flushUntil(note.NoteTime());
    // Pitches held over by a tie are not struck again; a note that holds only those (or
    // no pitch at all) writes nothing.
    ties.Strikes(voice, note, index, 0, length, strikes);
    if (strikes.empty()) continue;
    writeAt(note.NoteTime());
    bool first = true;
    for (const TiedNotes::Strike& strike : strikes) {
      if (!first) t.Byte(0);
      first = false;
      t.Status(0x90 + ch);
      t.Byte(strike.Pitch & 0x7F);
      t.Byte(kVelocity);
      const auto at = std::upper_bound(pending.begin(), pending.end(), strike.Off,
                                       [](int time, const Off& o) { return time < o.Time; });
      pending.insert(at, Off{strike.Off, strike.Pitch & 0x7F});
    }
  }
  for (const Off& o : pending) {
    writeAt(o.Time);
    t.Status(0x90 + ch);
    t.Byte(o.Pitch);
    t.Byte(0);
  }
  t.Byte(0);
  t.EndOfTrack();
  return t;
}

}  // namespace

int MidiFileWriter::SoundingLength(int duration, int flags) {
  double length = duration;
  if (flags & nteDot)
    length *= 1.5;
  else if (flags & nteStacato)
    length *= 0.5;
  // Three triplet notes take the time of two of their written value.
  if (flags & nteTriplet) length = length * 2 / 3;
  return static_cast<int>(std::max<std::int64_t>(1, RoundHalfEven(length)));
}

int MidiFileWriter::BeatPower(int beat) {
  switch (beat) {
    case 32: return 1;
    case 8: return 3;
    case 4: return 4;
    case 2: return 5;
    default: return 2;
  }
}

int MidiFileWriter::DynamicVolume(int dynamic) {
  switch (dynamic) {
    case dynPPP: return 16;
    case dynPP: return 32;
    case dynP: return 48;
    case dynMP: return 64;
    case dynMF: return 80;
    case dynF: return 96;
    case dynFF: return 112;
    default: return 127;
  }
}

std::vector<std::uint8_t> MidiFileWriter::Write(const Score& score, bool forPlayback) {
  // Voice tracks in ascending Track; of several voices with one Track the first in
  // collection order (stable sort) is written.
  std::vector<const Voice*> order;
  for (const auto& v : score.AllVoices())
    if (v->Track() < kMaxTrack) order.push_back(v.get());
  std::stable_sort(order.begin(), order.end(),
                   [](const Voice* a, const Voice* b) { return a->Track() < b->Track(); });
  order.erase(std::unique(order.begin(), order.end(),
                          [](const Voice* a, const Voice* b) { return a->Track() == b->Track(); }),
              order.end());

  std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 0, 0, kDivision};
  AppendChunk(out, ConductorTrack(score, forPlayback));
  const TiedNotes ties(score);
  int tracks = 1;
  for (const Voice* voice : order) {
    // A voice without an instrument has no channel to play on.
    const auto instrument = voice->Instrument();
    if (!instrument) continue;
    if (forPlayback && Muted(score, *voice)) continue;
    AppendChunk(out, VoiceTrack(score, *voice, *instrument, ties, forPlayback));
    ++tracks;
  }
  // The header counts the chunks actually written.
  out[10] = static_cast<std::uint8_t>((tracks >> 8) & 0xFF);
  out[11] = static_cast<std::uint8_t>(tracks & 0xFF);
  return out;
}

Result<std::vector<std::uint8_t>> MidiFileWriter::SaveBytes(Score& score) {
  return Write(score, false);
}

Result<Done> MidiFileWriter::WriteFile(const Score& score, const std::string& path,
                                       bool forPlayback) {
  const auto bytes = Write(score, forPlayback);
  return CommitFile(path, bytes);
}

}  // namespace notecraft
