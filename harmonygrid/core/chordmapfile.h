#pragma once
// Reader of the chord-shape file "Veltrimond.cma", the read-only table a Chord is filled from.
//
// The file is Windows-1252 text with one shape a line (LF, CRLF or a lone CR ends a line):
//
//     Key;Text;Index;string,fret;string,fret;...
//
//  - Key: the shape's name (trimmed, may be empty); Text: the chord symbol (trimmed);
//    Index: the shape's stable id, 0..32767.
//  - Each further field is one pair: string 1..6 (1 = low E), a comma, fret -1..27
//    (-1 not played, 0 open). Numbers are read from their leading decimal digits (leading
//    spaces and a sign allowed, '.' as the decimal point, the rest of the field ignored, no
//    number reads 0) and rounded half to even; strings and frets outside their range are
//    clamped into it; a field without a comma is skipped.
//  - A line is skipped when it has no ';', its Text or Index field is empty (a field of
//    spaces counts as present), or its Index is negative or above 32767.
//
// The reader never throws and never reads without bound: a line longer than kMaxLineBytes is
// skipped, and reading stops after kMaxFileBytes, keeping what was read. What it skipped,
// mended or stopped on is reported, graded by fault.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace harmonygrid {

// One accepted line; Key and Text are UTF-8.
struct ChordMapLine {
  std::string Key;
  std::string Text;
  int Index = 0;
  std::vector<std::pair<int, int>> Pairs;  // (string, fret), in file order
};

enum class ChordFileFault {
  NoSeparator,       // a non-blank line without ';': line skipped
  MissingText,       // line skipped
  MissingIndex,      // line skipped
  NegativeIndex,     // line skipped
  IndexTooLarge,     // above 32767, beyond the 16-bit id: line skipped
  LineTooLong,       // line skipped
  PairWithoutComma,  // field skipped, rest of the line kept
  PairOutOfRange,    // string or fret clamped into range, line kept
  FileTooLarge,      // reading stopped
  ReadError,         // reading stopped
};

struct ChordFileNote {
  int Line = 0;  // 1-based; 0 for faults of the whole file
  ChordFileFault Fault = ChordFileFault::NoSeparator;
};

struct ChordFileReport {
  bool Opened = false;               // a file was found and opened
  int Lines = 0;                     // lines read, blank ones included
  int Accepted = 0;                  // lines handed on to the table
  int Skipped = 0;                   // non-blank lines left out
  bool Stopped = false;              // reading ended before the end of the file
  std::vector<ChordFileNote> Notes;  // the first kMaxNotes faults, in file order

  bool Clean() const noexcept { return Skipped == 0 && !Stopped && Notes.empty(); }
};

class ChordMapFile {
public:
  static constexpr std::string_view kFileName = "Veltrimond.cma";
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;
  static constexpr std::uintmax_t kMaxFileBytes = 32 * 1024 * 1024;
  static constexpr std::size_t kMaxNotes = 100;
  static constexpr int kMaxIndex = 32767;

  using Sink = std::function<void(const ChordMapLine&)>;

  // The chord-shape file of folder: the exact name first, else a regular file whose name
  // matches ignoring ASCII case (tables copied from a case-insensitive file system); empty
  // when there is none or folder is empty.
  static std::filesystem::path Locate(const std::filesystem::path& folder) noexcept;

  // Reads a file, handing each accepted line to sink in file order. A sink that throws stops
  // the reading (ReadError); nothing leaves this call.
  static ChordFileReport Read(const std::filesystem::path& file, const Sink& sink) noexcept;
  // The same over the bytes of a file.
  static ChordFileReport ReadText(std::string_view bytes, const Sink& sink) noexcept;
};

}  // namespace harmonygrid
