#pragma once
// Turns a Standard MIDI File of two or more tracks into a score.
//
// The first track holds the score-wide data: the texts, fonts and layout numbers that
// MidiFileWriter stores, the tempo, the time signatures and the key. Every later track
// becomes a staff with one voice: its notes are rebuilt from note-on/note-off pairs, cut at
// the measure length and fitted to note values, and its names, lyrics, key signatures and
// markers become the staff's. Many files put music in the first track too: when it holds
// notes, it gets the first staff like any other track; when it holds only lyrics, they go
// to the first staff.
//
// A voice holds one chord at a time, each ending by the next one's start, which is all a
// score file can hold: the notes of a track are gathered while it is read, then laid into
// the voice in time order. Notes starting together form a chord as long as its longest
// note, cut at the next chord. A note longer than its measure is cut into pieces of a
// measure each, tied to one another so that it still sounds once; a piece whose note a
// chord between has cut short is left out. Drum hits (a track on channel 10) last up to
// the next hit,
// at most a quarter and within their measure, so that they read as the beat they play.
// A staff without a clef cue takes the clef its notes ask for: the bass clef when most of
// them lie below middle C, else the treble clef; drums keep the percussion clef, and an
// instrument written on a grand staff (or in the alto or tenor clef) keeps its clef.
//
// The whole file is read and checked (Check) before the score is touched, so a file that
// is refused leaves the score as it was. Apply then replaces the content.
//
// Limits that keep a hostile file from exhausting the machine: at most 256 staves; at most
// kMaxNotes notes in the file and kMaxSplitNotes more from cutting long notes at the bars,
// kMaxBarsPerNote bars a note (beyond either a note keeps only its first bars); score times
// below 2^24 64ths (events after that are dropped, as a score file could not store them).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/midi/smfreader.h"

namespace notecraft {

class Instrument;
class Score;
class Staff;
class Voice;

class MidiImporter {
public:
  static constexpr std::size_t kMaxTracks = 257;           // the first track and 256 staves
  static constexpr std::int64_t kTimeLimit = 16777216;     // 2^24 64ths
  static constexpr std::int64_t kMaxNotes = 4000000;       // note-ons in the file
  static constexpr std::int64_t kMaxSplitNotes = 1000000;  // notes added by cutting at bars
  static constexpr int kMaxBarsPerNote = 4096;             // hours of music: no note is held longer
  static constexpr int kMaxDrumHit = 16;                   // a quarter note
  static constexpr int kMaxTieEnd = 65535;                 // a tie's end is stored in two bytes
  static constexpr std::uint32_t kMaxTempo = 255;          // quarter notes a minute, at most
  static constexpr const char* kInvalidData = "Invalid data encountered loading file.";
  static constexpr const char* kNotSupported = "This MIDI file type is not supported.";

  // The MIDI reader of Score::OpenFile: reads bytes into score, or shows why it cannot in
  // a message titled "Open" and returns false.
  static bool Open(Score& score, std::span<const std::uint8_t> bytes, const std::string& path);

  MidiImporter(Score& score, std::span<const std::uint8_t> bytes)
      : m_score(score), m_reader(bytes) {}

  // Reads the whole file without touching the score. The message that refuses the file,
  // or nothing when it can be opened.
  std::optional<std::string> Check();
  // Replaces the score's content by the file's; only after Check found nothing wrong.
  void Apply(const std::string& path);

  // The note value (duration in 64ths, NoteFlags) written for a length in 64ths.
  static std::pair<int, int> FitLength(std::int64_t length);
  // Score time (64ths) of a tick count: the whole part of ticks / division x 16.
  static std::int64_t ScoreTime(std::int64_t ticks, int division);

private:
  struct TrackSummary {
    int Program = -1;    // of the first program change
    bool Drums = false;  // its notes are on channel 9 (the General MIDI percussion channel)
    bool HasNotes = false;
    std::size_t NoteOns = 0;
  };
  struct TrackState;
  // A note of a track as it sounded (times in 64ths).
  struct Sounded {
    int Start = 0;
    int End = 0;
    int Pitch = 0;
  };

  // Every later track has a staff; the first has one when it holds notes.
  bool HasStaff(std::size_t track) const;
  void MakeInstruments();
  void ReadTrack(std::size_t index);
  void OnChannelEvent(TrackState& t, const SmfEvent& e, int time);
  void OnMeta(TrackState& t, const SmfEvent& e, int time);
  // Text (FF 01) and copyright (FF 02) events of any track fill the score's titles.
  void OnScoreText(int type, const std::string& text);
  void CloseNote(TrackState& t, int pitch, int endTime);
  // Lays the track's notes into its voice in time order, and gives its staff a clef. A note
  // longer than its measure is cut into pieces of one measure length each, from its start,
  // each tied to the chord before it.
  void BuildVoice(TrackState& t);
  // A drum hit lasts a quarter, or to the end of its measure when that comes first; the
  // next hit shortens it further.
  int DrumHitLength(const Sounded& hit) const;
  void ChooseClef(TrackState& t) const;
  int MeasureLengthAt(int time) const;
  int MeasureEndAfter(int time) const;
  static int SnapToMeasure(const TrackState& t, int time);

  Score& m_score;
  SmfReader m_reader;
  std::vector<TrackSummary> m_summaries;
  std::vector<std::shared_ptr<Instrument>> m_instruments;  // per track

  // Which score texts have been taken by a text with font data ("text|font|size|bold"):
  // the n-th such text fills the n-th field even when empty, so an empty title does not
  // move the subtitle up.
  std::array<bool, 4> m_titleTaken{};  // Title, SubTitle, Composer, ArrangedBy
  int m_titleFontTexts = 0;
  std::array<bool, 2> m_copyrightTaken{};
  int m_copyrightFontTexts = 0;
  bool m_keySeen = false;
  std::optional<int> m_tempoTime;
  std::int64_t m_extraPieces = 0;
  // Lyrics of a first track without music, for the first staff: time and text.
  std::vector<std::pair<int, std::string>> m_firstTrackLyrics;
};

}  // namespace notecraft
