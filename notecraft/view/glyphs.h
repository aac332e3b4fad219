#pragma once
// The music font's glyph codes: every musical symbol the score draws is one character of the
// font "Veltrimond", drawn as a one-byte code (a few symbols are two-character strings).
//
// Where the font puts each symbol relative to its cell (measured in staff heights, the font's
// em) is data/font/build_veltrimond.py's business; in short, a glyph drawn at a staff's
// reference y (the staff's top line less the glyph baseline offset) has its baseline, and so
// its staff position, on the staff's bottom line.

#include <array>
#include <string_view>

#include "harmonygrid/draw/musicfontmetrics.h"

namespace notecraft {

using harmonygrid::MusicFontName;

namespace glyph {

// Clefs, anchored on the bottom line (tenor: the C clef one space higher).
inline constexpr char TrebleClef = '&';
inline constexpr char BassClef = '?';
inline constexpr char CClef = 'B';
inline constexpr char PercussionClef = '\xD6';

// Accidentals, pitch on the baseline; a double flat is two flats.
inline constexpr char Sharp = '#';
inline constexpr char Flat = 'b';
inline constexpr char Natural = 'n';
inline constexpr char DoubleSharp = '\xDC';
inline constexpr std::string_view DoubleFlat = "bb";

// Time signatures: the symbols on the bottom line, digits '0'..'9' centred on their baseline.
inline constexpr char CommonTime = 'c';
inline constexpr char CutTime = 'C';
inline constexpr char Digit0 = '0';

// Note heads (pitch on the baseline, left edge at the note's x), dots and stems.
inline constexpr char WholeNote = 'w';  // also the whole-note sign of the tempo line
inline constexpr char HalfHead = '\xFA';
inline constexpr char FilledHead = '\xCF';
inline constexpr char PercussionHead = '\xC0';
inline constexpr char Space = ' ';
inline constexpr char Dot = '.';  // staccato dot, and the augmentation dot after a Space
inline constexpr std::string_view DotSuffix = " .";
inline constexpr char StemUp = '\\';
inline constexpr char StemDown = '|';

// Flags, drawn at the anchor of the head at the stem's far end.
inline constexpr char FlagEighthUp = 'j';
inline constexpr char FlagEighthDown = 'J';
inline constexpr char FlagSixteenthUp = 'k';
inline constexpr char FlagSixteenthDown = 'K';
inline constexpr char FlagThirtySecondUp = 'r';
inline constexpr char FlagThirtySecondDown = 'R';

// Articulations and ornaments.
inline constexpr char Tenuto = '-';  // nteAccent
inline constexpr char Accent = '>';  // nteAccent2
inline constexpr char DownBow = '\xB3';
inline constexpr char UpBow = 'v';
inline constexpr char HalfMordent = 'M';
inline constexpr char Mordent = 'm';
inline constexpr char Trill = '`';
inline constexpr char Turn = 'T';
inline constexpr char FermataAbove = 'U';
inline constexpr char FermataBelow = 'u';

// Rests, anchored on the bottom line.
inline constexpr char WholeRest = '\xB7';
inline constexpr char HalfRest = '\xEE';
inline constexpr char QuarterRest = '\xCE';
inline constexpr char EighthRest = '\xE4';
inline constexpr char SixteenthRest = '\xC5';
inline constexpr char ThirtySecondRest = '\xA8';

// Bar glyphs, spanning the staff from the bottom to the top line.
inline constexpr char ThickThinBar = '\xD2';  // repeat begin; alone, its continuation
inline constexpr char RepeatDots = '{';
inline constexpr char ThinThickBar = '\xD3';  // score end, and the repeat end's continuation
inline constexpr char DoubleBar = '[';        // section end
inline constexpr std::string_view RepeatBeginBar = "\xD2{";
inline constexpr std::string_view RepeatEndBar = "{\xD3";
inline constexpr char RepeatMeasure = '\xD4';

// Section marks and octave lines.
inline constexpr char Coda = '\xDE';
inline constexpr char Segno = '%';
inline constexpr char ToCoda = 'D';
inline constexpr char ToSegno = 'd';
inline constexpr char OctaveUp = '\xC3';    // "8va", drawn at 14 points
inline constexpr char OctaveDown = '\xD7';  // "8vb"

// Note signs of the tempo line.
inline constexpr char TempoSixteenth = 's';
inline constexpr char TempoEighth = 'e';
inline constexpr char TempoQuarter = 'q';
inline constexpr char TempoHalf = 'h';

// Dynamics: the code is the DynamicTypes value.
inline constexpr char DynamicPPP = '\xB8';
inline constexpr char DynamicPP = '\xB9';
inline constexpr char DynamicP = 'p';
inline constexpr char DynamicMP = 'P';
inline constexpr char DynamicMF = 'F';
inline constexpr char DynamicF = 'f';
inline constexpr char DynamicFF = '\xC4';
inline constexpr char DynamicFFF = '\xEC';

// Group brackets and braces (page rendering).
inline constexpr char BracketTop = '\xC2';
inline constexpr char BracketBottom = 'L';
inline constexpr char BraceUpper = '\xA7';
inline constexpr char BraceLower = '\xEA';

// Every code the font holds, in code order.
inline constexpr std::array<unsigned char, 77> AllCodes = {
    0x20, 0x23, 0x25, 0x26, 0x2D, 0x2E, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3E, 0x3F, 0x42, 0x43, 0x44, 0x46, 0x4A, 0x4B, 0x4C, 0x4D, 0x50, 0x52,
    0x54, 0x55, 0x5B, 0x5C, 0x60, 0x62, 0x63, 0x64, 0x65, 0x66, 0x68, 0x6A, 0x6B, 0x6D,
    0x6E, 0x70, 0x71, 0x72, 0x73, 0x75, 0x76, 0x77, 0x7B, 0x7C, 0xA7, 0xA8, 0xB3, 0xB7,
    0xB8, 0xB9, 0xC0, 0xC2, 0xC3, 0xC4, 0xC5, 0xCE, 0xCF, 0xD2, 0xD3, 0xD4, 0xD6, 0xD7,
    0xDC, 0xDE, 0xE4, 0xEA, 0xEC, 0xEE, 0xFA,
};

}  // namespace glyph
}  // namespace notecraft
