#pragma once
// What the chord shape editor ("Chord Map" dialog) does, without any window: the shape being
// edited, the fretboard picture's hit testing and contents, the position controls, and the
// normalisation on Ok. The dialog forwards its events here and mirrors the state back.
//
// The picture (twips, in its own coordinates) has six string lines at x = 360 + 240 (s - 1),
// string 1 (low E) on the left, running from y 360 to 1800; five fret lines at y = 720 +
// 240 (r - 1) from x 360 to 1560; and the nut, a bar at (360, 360) 1215 wide and 135 high.
// A finger on fret row r stands on fret r + Position().
//
// Changes count (Changed) only after Activate, which the dialog calls when it is shown, so
// the copy a caller loads before showing is not an edit. Showing the state never changes it:
// the picture's values are computed, and positions outside 1..27 are clamped for display only.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "harmonygrid/core/clsmap.h"

namespace harmonygrid {

class ShapeEditModel {
public:
  static constexpr int kStrings = 6;
  static constexpr int kFretRows = 5;
  static constexpr int kMaxPosition = 27;

  // Geometry of the fretboard picture.
  static constexpr int kPictureWidth = 2055;
  static constexpr int kPictureHeight = 2415;
  static constexpr int kFirstStringX = 360;
  static constexpr int kFirstFretY = 720;
  static constexpr int kLineStep = 240;
  static constexpr int kStringTop = 360;
  static constexpr int kStringBottom = 1800;
  static constexpr int kFretLeft = 360;
  static constexpr int kFretRight = 1560;
  static constexpr int kNutLeft = 360;
  static constexpr int kNutTop = 360;
  static constexpr int kNutWidth = 1215;
  static constexpr int kNutHeight = 135;
  static constexpr int kMarkRise = 240;  // marks and the fret label stand this far above the nut
  static constexpr int kMarkShift = 30;  // a mark's left edge, left of its string
  static constexpr int kFingerRadius = 75;

  // The dialog result: still open or closed without a choice, Ok, Cancel.
  enum Result { kLoaded = 5, kOk = 1, kCancel = 2 };

  // A new editor holds an empty shape in the open position.
  ShapeEditModel() = default;
  // Starts from a copy of shape (key, text, top and pairs), the position controls showing its
  // Top: "Fret:" with the fret for a Top other than 0 (clamped into 1..27), else "Open".
  void Load(const clsMap& shape);
  void Activate() noexcept { m_activated = true; }

  const clsMap& Map() const noexcept { return m_map; }
  bool Changed() const noexcept { return m_changed; }
  int Result() const noexcept { return m_result; }

  // --- The fretboard ---
  // The string (1..6) or fret row (1..5) whose line a point is on, 0 for none: x within
  // (line - 45, line + 60), likewise y.
  static int StringAt(int x) noexcept;
  static int RowAt(int y) noexcept;
  static int StringX(int string) noexcept { return kFirstStringX + kLineStep * (string - 1); }
  static int FretY(int row) noexcept { return kFirstFretY + kLineStep * (row - 1); }
  // A click at a point of the picture: on a string and fret line it takes away the finger
  // there, or puts one there (replacing that string's open pair); false when off the lines.
  bool Click(int x, int y);

  // --- What the picture shows ---
  // 0 in the open position, else the shape's Top clamped into 1..27.
  int Position() const noexcept;
  // "7th fret" up the neck; empty in the open position.
  std::string FretLabel() const;
  // In the open position, per string 1..6: 'x' below the lowest string that has a pair and on
  // strings whose only pairs are muted, 'o' on the other strings without a fretted pair,
  // ' ' on fretted ones. Up the neck every entry is ' '.
  std::array<char, kStrings> StringMarks() const;
  // The fingers on the five fret rows: (string, row) of every pair whose fret is
  // Position() + row.
  std::vector<std::pair<int, int>> Fingers() const;

  // --- Key and text boxes ---
  void SetKey(std::string_view key);
  void SetText(std::string_view text);

  // --- Position controls ---
  bool FretPosition() const noexcept { return m_fretPosition; }
  const std::string& PositionText() const noexcept { return m_positionText; }
  // "Open": Top 0, the box emptied. "Fret:": Top 1, the box "1" (which drops fingers at
  // fret 1 and below).
  void ChooseOpen();
  void ChooseFret();
  // The position box's text changed (typed, or set by the controls): a leading number above
  // 0 (saturating, then at most 27, shown as "27") becomes the Top, and every pair at that fret
  // or lower is removed. Text equal to the box's does nothing.
  void SetPositionText(std::string_view text);
  // The up and down buttons: one fret along, within 1..27. Only in the "Fret:" position.
  void StepUp();
  void StepDown();

  // --- Closing ---
  // Ok's normalisation, when something changed: the key falls back to the text and then to
  // "New", an empty text takes the key; up the neck open pairs go, in the open position the
  // strings above the lowest one that have no pair get an open pair. Doing it twice changes
  // nothing more.
  void Normalise();
  // Ok: Normalise, result kOk.
  void Accept();
  // Cancel: result kCancel.
  void Cancel() noexcept { m_result = kCancel; }

  // The leading number of a text (spaces, then an optional sign and digits), saturated at
  // +-32767; 0 when there is none.
  static int LeadingNumber(std::string_view text) noexcept;

private:
  void MarkChanged() noexcept {
    if (m_activated) m_changed = true;
  }
  void RemovePairsUpTo(int fret);
  int LowestString() const;

  clsMap m_map;
  bool m_changed = false;
  bool m_activated = false;
  bool m_fretPosition = false;
  std::string m_positionText;
  int m_result = kLoaded;
};

}  // namespace harmonygrid
