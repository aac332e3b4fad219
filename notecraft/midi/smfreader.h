#pragma once
// Reads the structure of a Standard MIDI File the way the standard defines it, without
// interpreting the music: the header chunk, the track chunks (chunks of other types are
// skipped by their length) and, per track, its events in order.
//
// Events, as the standard lays them out:
//   <delta: variable-length number, at most 4 bytes> <event>
//   channel event  8n..En, one or two data bytes (Cn and Dn take one); a data byte in
//                  place of a status byte repeats the last channel status (running status)
//   sysex          F0 <length> <bytes>, or the escape F7 <length> <bytes>: skipped whole
//   meta event     FF <type> <length> <bytes>; FF 2F is the end of the track
//   F1..F6, F8..FE system messages, read by their defined lengths (they never appear in
//                  conforming files, but some writers leave them in)
// Meta and sysex events end running status in the standard; a data byte after one is
// still read under the last channel status, which is how most readers treat such files.
//
// Lengths are checked against the end of the chunk and of the file before anything is
// read, so a damaged file ends in an error, never in a read past the data. So is a file
// that does not hold what its header and chunks say: a format other than 0, 1 and 2, more
// or fewer track chunks than the header announces, a track that does not end with its
// end-of-track event exactly at the end of its chunk.
//
// The reader only looks at the caller's bytes (spans point into them); it allocates one
// entry per track chunk.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace notecraft {

struct SmfEvent {
  enum class Kind { Channel, Meta, SysEx, System };

  Kind Type = Kind::Channel;
  std::int64_t Tick = 0;     // from the start of the track
  std::size_t Position = 0;  // file offset of the event's delta time
  std::uint8_t Status = 0;   // the status in force (running status resolved); FF for meta
  std::uint8_t Data1 = 0;    // channel and system events
  std::uint8_t Data2 = 0;
  std::uint8_t MetaType = 0;           // meta events
  std::span<const std::uint8_t> Data;  // meta and sysex bytes

  int Channel() const { return Status & 0x0F; }
  int Command() const { return Status & 0xF0; }  // 0x80 note-off .. 0xE0 pitch bend
};

class SmfReader {
public:
  // The largest delta or length a variable-length number of four bytes holds.
  static constexpr std::uint32_t kMaxVarLen = 0x0FFFFFFF;

  struct Header {
    int Format = 0;
    int TrackCount = 0;  // as the header states it
    int Division = 0;    // the raw division word
    std::size_t Length = 0;
  };
  struct Chunk {
    std::size_t Head = 0;   // position of the chunk's type
    std::size_t Begin = 0;  // first data byte
    std::size_t End = 0;    // one past the last data byte
  };
  struct Failure {
    bool NotSupported = false;  // a kind of file this reader does not take, not damage
    std::string Detail;
  };

  explicit SmfReader(std::span<const std::uint8_t> file) : m_file(file) {}

  // Reads the header and lists the track chunks. Fails on a damaged header (a format above
  // 2), on a track chunk that runs past the end of the file, on another number of track
  // chunks than the header announces or more than maxTracks, and on SMPTE or zero
  // divisions. Chunks of other types are passed over; bytes too few for a chunk head at the
  // end are ignored.
  std::optional<Failure> ReadStructure(std::size_t maxTracks);

  const Header& FileHeader() const { return m_header; }
  const std::vector<Chunk>& Tracks() const { return m_tracks; }
  std::span<const std::uint8_t> Bytes() const { return m_file; }

  // The events of one track chunk.
  class TrackCursor {
  public:
    TrackCursor(std::span<const std::uint8_t> file, const Chunk& chunk)
        : m_file(file), m_pos(chunk.Begin), m_end(chunk.End) {}

    // The next event; false after the end-of-track event, or when the data cannot be read
    // (Error() then says why, and every later call gives false): a chunk that ends without
    // its end-of-track event, or goes on after it, is such data.
    bool Next(SmfEvent& event);
    const std::optional<std::string>& Error() const { return m_error; }
    std::int64_t Tick() const { return m_tick; }
    std::size_t Position() const { return m_pos; }

  private:
    bool Fail(std::string why);
    std::optional<std::uint32_t> VarLen();
    std::optional<std::uint8_t> DataByte();

    std::span<const std::uint8_t> m_file;
    std::size_t m_pos;
    std::size_t m_end;
    std::int64_t m_tick = 0;
    std::uint8_t m_running = 0;  // last channel status, 0 for none
    bool m_done = false;
    std::optional<std::string> m_error;
  };

  TrackCursor Events(const Chunk& chunk) const { return TrackCursor(m_file, chunk); }

private:
  std::span<const std::uint8_t> m_file;
  Header m_header;
  std::vector<Chunk> m_tracks;
};

}  // namespace notecraft
