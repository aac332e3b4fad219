#include "notecraft/midi/smfreader.h"

#include <algorithm>
#include <cstring>

namespace notecraft {

namespace {

std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
         static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

int Be16(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] << 8 | b[at + 1];
}

bool IsType(std::span<const std::uint8_t> b, std::size_t at, const char (&type)[5]) {
  return std::memcmp(b.data() + at, type, 4) == 0;
}

// Data bytes that follow a system status (F1..FE without F0, F7 and FF).
int SystemDataBytes(std::uint8_t status) {
  switch (status) {
    case 0xF1:  // time code quarter frame
    case 0xF3:  // song select
      return 1;
    case 0xF2:  // song position
      return 2;
    default:
      return 0;
  }
}

}  // namespace

std::optional<SmfReader::Failure> SmfReader::ReadStructure(std::size_t maxTracks) {
  m_tracks.clear();
  const std::size_t size = m_file.size();
  if (size < 8 || !IsType(m_file, 0, "MThd"))
    return Failure{false, "The file does not start with a MIDI header."};
  const std::uint32_t length = Be32(m_file, 4);
  if (length < 6) return Failure{false, "Its header is too short."};
  if (size < 14) return Failure{false, "The file ends inside its header."};
  m_header.Length = length;
  m_header.Format = Be16(m_file, 8);
  m_header.TrackCount = Be16(m_file, 10);
  m_header.Division = Be16(m_file, 12);
  if (m_header.Format > 2) {
    return Failure{false, "Its header names MIDI file format " + std::to_string(m_header.Format) +
                              "; there are only formats 0, 1 and 2."};
  }
  if (m_header.TrackCount < 2) {
    return Failure{true, "It holds a single track (MIDI file format " +
                             std::to_string(m_header.Format) +
                             "); only files of two or more tracks can be opened."};
  }
  if (m_header.Division == 0) return Failure{false, "Its division (ticks per quarter note) is 0."};
  if (m_header.Division & 0x8000)
    return Failure{true,
                   "Its times are in SMPTE frames; only ticks per quarter note are supported."};
  if (length > size - 8) return Failure{false, "The file ends inside its header."};

  std::size_t at = 8 + static_cast<std::size_t>(length);
  while (size - at >= 8) {
    const std::size_t dataLength = Be32(m_file, at + 4);
    const bool track = IsType(m_file, at, "MTrk");
    if (dataLength > size - at - 8) {
      if (track) {
        return Failure{false, "Track " + std::to_string(m_tracks.size() + 1) +
                                  " is cut short: its chunk claims " + std::to_string(dataLength) +
                                  " bytes, but the file ends after " +
                                  std::to_string(size - at - 8) + "."};
      }
      break;  // an unknown chunk cut short at the end: nothing after it to read
    }
    if (track) {
      if (m_tracks.size() == maxTracks) {
        return Failure{true, "It holds more than " + std::to_string(maxTracks) +
                                 " tracks, more than a score can take."};
      }
      m_tracks.push_back(Chunk{at, at + 8, at + 8 + dataLength});
    }
    at += 8 + dataLength;
  }
  // More tracks than announced are another file's (files joined end to end).
  if (m_tracks.size() != static_cast<std::size_t>(m_header.TrackCount)) {
    return Failure{false, "Its header announces " + std::to_string(m_header.TrackCount) +
                              " tracks, but the file holds " + std::to_string(m_tracks.size()) +
                              "."};
  }
  return std::nullopt;
}

bool SmfReader::TrackCursor::Fail(std::string why) {
  m_error = std::move(why);
  m_done = true;
  return false;
}

// At most four bytes (28 bits); a fifth continuation byte is damage, not a number.
std::optional<std::uint32_t> SmfReader::TrackCursor::VarLen() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    if (m_pos >= m_end) return std::nullopt;
    const std::uint8_t b = m_file[m_pos++];
    value = (value << 7) | (b & 0x7Fu);
    if ((b & 0x80) == 0) return value;
  }
  return std::nullopt;
}

std::optional<std::uint8_t> SmfReader::TrackCursor::DataByte() {
  if (m_pos >= m_end || m_file[m_pos] & 0x80) return std::nullopt;
  return m_file[m_pos++];
}

bool SmfReader::TrackCursor::Next(SmfEvent& e) {
  if (m_done) return false;
  // A track whose chunk ends before its end-of-track event holds something else at its end
  // (the tail of another file spliced in, where the chunk's length no longer fits it).
  if (m_pos >= m_end) return Fail("the track has no end-of-track event");
  const std::size_t start = m_pos;
  const auto delta = VarLen();
  if (!delta) return Fail("a delta time runs past the end of its track or is longer than 4 bytes");
  m_tick += *delta;
  if (m_pos >= m_end) return Fail("the track ends after a delta time");

  e = SmfEvent{};
  e.Tick = m_tick;
  e.Position = start;
  const std::uint8_t first = m_file[m_pos];

  if (first == 0xFF) {
    ++m_pos;
    if (m_pos >= m_end) return Fail("the track ends inside a meta event");
    e.Type = SmfEvent::Kind::Meta;
    e.Status = 0xFF;
    e.MetaType = m_file[m_pos++];
    const std::size_t lengthAt = m_pos;
    auto length = VarLen();
    if (!length || *length > m_end - m_pos) {
      // Older writers stored text lengths of 128..255 in one byte. Read as a variable
      // length such a byte swallows the first text byte and claims far too much; when the
      // single byte fits the track, that is what was meant.
      m_pos = lengthAt;
      if (m_pos < m_end && m_file[m_pos] >= 0x80 && m_file[m_pos] <= m_end - m_pos - 1) {
        length = m_file[m_pos++];
      } else {
        return Fail("a meta event runs past the end of its track");
      }
    }
    e.Data = m_file.subspan(m_pos, *length);
    m_pos += *length;
    if (e.MetaType == 0x2F) {
      if (m_pos != m_end) return Fail("the track goes on after its end-of-track event");
      m_done = true;
    }
    return true;
  }

  if (first == 0xF0 || first == 0xF7) {
    ++m_pos;
    e.Type = SmfEvent::Kind::SysEx;
    e.Status = first;
    const auto length = VarLen();
    if (!length || *length > m_end - m_pos)
      return Fail("a system-exclusive event runs past the end of its track");
    e.Data = m_file.subspan(m_pos, *length);
    m_pos += *length;
    return true;
  }

  if (first >= 0xF0) {
    ++m_pos;
    e.Type = SmfEvent::Kind::System;
    e.Status = first;
    const int count = SystemDataBytes(first);
    for (int i = 0; i < count; ++i) {
      const auto b = DataByte();
      if (!b) return Fail("a system message is cut short");
      (i == 0 ? e.Data1 : e.Data2) = *b;
    }
    return true;
  }

  if (first >= 0x80) {
    ++m_pos;
    m_running = first;
  } else if (m_running == 0) {
    return Fail(
        "a data byte stands where a status byte is needed (running status without a status)");
  }
  e.Type = SmfEvent::Kind::Channel;
  e.Status = m_running;
  const auto d1 = DataByte();
  if (!d1) return Fail("a channel message is cut short or holds a byte above 127");
  e.Data1 = *d1;
  const int command = m_running & 0xF0;
  if (command != 0xC0 && command != 0xD0) {
    const auto d2 = DataByte();
    if (!d2) return Fail("a channel message is cut short or holds a byte above 127");
    e.Data2 = *d2;
  }
  return true;
}

}  // namespace notecraft
