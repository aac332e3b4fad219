#pragma once
// One MIDI short message as the outputs receive it: a 32-bit value
// status + data1 x 256 + data2 x 65536. The status byte carries the channel in its low
// four bits; data bytes are 0..127.

#include <algorithm>
#include <cstdint>

namespace tonegen {

struct ShortMessage {
  std::uint8_t Status = 0;
  std::uint8_t Data1 = 0;
  std::uint8_t Data2 = 0;

  // Data values outside 0..127 are clamped, so that a large value never spills into the
  // next byte of the packed message (or into the status bit of its own byte).
  static ShortMessage Make(int status, int data1, int data2) {
    return {static_cast<std::uint8_t>(status & 0xFF), ClampData(data1), ClampData(data2)};
  }
  static ShortMessage Unpack(std::uint32_t packed) {
    return {static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>((packed >> 8) & 0x7F),
            static_cast<std::uint8_t>((packed >> 16) & 0x7F)};
  }
  static std::uint8_t ClampData(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 127)); }

  std::uint32_t Packed() const {
    return static_cast<std::uint32_t>(Status) | (static_cast<std::uint32_t>(Data1) << 8) |
           (static_cast<std::uint32_t>(Data2) << 16);
  }
  int Kind() const { return Status & 0xF0; }  // 0x80 note off ... 0xE0 pitch bend, 0xF0 system
  int Channel() const { return Status & 0x0F; }

  bool operator==(const ShortMessage&) const = default;
};

// Status kinds (upper four bits of the status byte).
inline constexpr int kNoteOff = 0x80;
inline constexpr int kNoteOn = 0x90;
inline constexpr int kKeyPressure = 0xA0;
inline constexpr int kControlChange = 0xB0;
inline constexpr int kProgramChange = 0xC0;
inline constexpr int kChannelPressure = 0xD0;
inline constexpr int kPitchBend = 0xE0;

// Controllers used by the library.
inline constexpr int kCtlBankSelect = 0;
inline constexpr int kCtlVolume = 7;
inline constexpr int kCtlPan = 10;
inline constexpr int kCtlAllSoundOff = 120;
inline constexpr int kCtlAllNotesOff = 123;

}  // namespace tonegen
