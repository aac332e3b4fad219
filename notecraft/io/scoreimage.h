#pragma once
// A native score file as plain data: what reading found in it, in the order the file
// gives it, before anything touches a score. The reader fills it from the file's bytes
// and checks it against the model's limits; the score then replays it through its own add
// operations and setters (Score::ReadScoreFile), so a file that cannot be read leaves the
// score as it was.
//
// Texts are UTF-8, except event texts and note records, which stay where they are in the
// file's bytes (spans into them, decoded while the score is built): the image is only
// valid while those bytes are. Positions are the file's 1-based positions, used for
// progress reports.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace notecraft {

struct ScoreImage {
  // A ProgressReport to raise at this point of the replay.
  struct Progress {
    int Position = 0;
  };

  // One of the five font records (ScoreFonts 0..4) that had its name ended by a byte 0.
  struct FontRecord {
    int Font = 0;
    // "|name|size|bold|underline|italic|" for Score::SplitImportText; absent when the size
    // is not above 0 (the font stays as it is).
    std::optional<std::string> Description;
    // Title, SubTitle or Heading (Text1 only), or Composer and ArrangedBy, or the two
    // copyright lines; absent when the record holds no text (or, for fonts 3 and 4, no 254).
    std::optional<std::string> Text1, Text2;
  };

  // Section "Hdr": fonts, spacing, page and tempo; absent fields leave the score's values.
  struct Header {
    std::vector<FontRecord> Fonts;
    std::optional<float> StaffHeight, StaffSpace, SystemSpace;
    std::array<std::optional<float>, 4> Margins;  // marTop, marBottom, marLeft, marRight
    std::optional<int> PageNums;
    std::optional<bool> ReverseEvenOdd, UseChords, UseChordMaps;
    std::optional<int> Count;  // tempo
    std::optional<int> Pulse;
  };

  struct Event {
    int Time = 0;
    int Type = 0;
    std::uint8_t Value1 = 0;
    std::uint8_t Value2 = 0;
    std::span<const std::uint8_t> Text;  // Windows-1252
  };

  // Section "Glb" (score-wide), or a staff's "Glb" sub-section (for the latest staff).
  struct Events {
    bool OfStaff = false;
    std::vector<Event> Items;
  };

  struct Instrument {
    std::string ID;
    std::string Description;
    int Category = 0;  // as stored
    int Clef = 0;
    int Program = 0;   // table row given to Instruments::Add
    std::optional<int> Offset, Pitch, Low, High;
    std::vector<std::pair<int, int>> Drums;  // DrumValue, DrumCode for slots 1, 2, ...
  };

  // Section "Ins".
  struct Instruments {
    std::vector<Instrument> Items;
  };

  // A staff "Hdr" sub-section: a new staff; the fields only when the record had its 254.
  struct StaffHeader {
    bool HasFields = false;
    std::string Description;
    std::optional<int> ScalePct;
    std::optional<int> Clef, Flags, State, Brace;
  };

  struct Voice {
    std::string Description;
    int Program = 0;
    // NoteCount complete note records (N4 time, N4 duration, N4 flags, pitch count,
    // pitches), one after the other.
    std::span<const std::uint8_t> NoteRecords;
    std::uint32_t NoteCount = 0;
    // (note index within the voice, position): a ProgressReport before that note.
    std::vector<std::pair<std::uint32_t, int>> Progress;
  };

  // A staff "Vce" sub-section: voices of the latest staff.
  struct Voices {
    std::vector<Voice> Items;
  };

  using Step = std::variant<Progress, Header, Events, Instruments, StaffHeader, Voices>;

  std::vector<Step> Steps;
};

}  // namespace notecraft
