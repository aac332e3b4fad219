#pragma once
// The state and rules of the "Score Properties" dialog apart from its widgets: key, time
// signature of the start and its pulse, measure numbering, tempo (General); titles, fonts
// and the tempo note (Titles); paper, margins, page numbers and spacing in the library's
// unit of measure (Dimensions); chord display and capo (Chords). Init reads the score once;
// Apply writes it in a fixed order with drawing held back, then lays the score out again.
//
// Lengths are written only when their box no longer shows the text Init (or an orientation
// swap) put there, so applying repeatedly in millimetres never drifts a value.

#include <array>
#include <string>

#include "harmonygrid/draw/fontspec.h"
#include "notecraft/dialogs/dialogflags.h"

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class ScorePropsModel {
public:
  static constexpr int kFonts = 5;  // ScoreFonts 0..4
  static constexpr int kCustomPage = 5;
  enum Text {
    kTitle,
    kSubTitle,
    kHeading,
    kComposer,
    kArrangedBy,
    kCopyright0,
    kCopyright1,
    kTextCount
  };
  // A length box and the text the dialog last put into it.
  struct Length {
    std::string Text;
    std::string Shown;
    bool Edited() const { return Text != Shown; }
  };

  void Init(Score& score);
  // Writes every setting; nothing unless modified.
  void Apply(Score& score);

  const DialogFlags& Flags() const { return m_flags; }
  bool Modified() const { return m_flags.Modified(); }

  // --- General ---
  int KeyPosition() const { return m_keyPosition; }  // 0..14 = key + 7, both lists
  void ChooseKey(int position);
  bool Minor() const { return m_minor; }
  void SetMinor(bool minor);
  int TimeOption() const { return m_timeOption; }
  void ChooseTime(int option);
  const std::string& TimeText(int i) const { return m_timeText[i != 0 ? 1 : 0]; }
  void SetTimeText(int i, std::string text);
  bool TimeTextEnabled() const { return m_timeTextEnabled; }
  const std::string& PulseText() const { return m_pulseText; }
  void SetPulseText(std::string text);
  bool NumberMeasures() const { return m_numberOn; }
  void SetNumberMeasures(bool on);
  int NumberOption() const { return m_numberOption; }  // 0 "Every", 1 "First on each line", -1
  void ChooseNumberOption(int option);
  const std::string& NumberText() const { return m_numberText; }
  bool NumberTextEnabled() const { return m_numberOn && m_numberOption == 0; }
  void SetNumberText(std::string text);
  void ValidateNumberText();
  void StepNumber(int delta);
  int NumberPos() const { return m_numberPos; }
  void ChooseNumberPos(int pos);
  const std::string& TempoText() const { return m_tempoText; }
  void SetTempoText(std::string text);

  // --- Titles ---
  const std::string& TextOf(Text which) const { return m_texts[which]; }
  void SetTextOf(Text which, std::string text);
  const harmonygrid::FontSpec& Font(int index) const {
    return m_fonts[static_cast<std::size_t>(index)];
  }
  void SetFont(int index, const harmonygrid::FontSpec& font);
  char TempoNote() const { return m_tempoNote; }  // 'e', 'q', 'h' or 'w'
  void CycleTempoNote();
  bool Metronome() const { return m_metronome; }
  void SetMetronome(bool on);

  // --- Dimensions ---
  int PageSize() const { return m_pageSize; }
  void ChoosePageSize(int size);
  bool PageLocked() const { return m_pageSize != kCustomPage; }
  const Length& PageLength(int i) const { return m_page[i != 0 ? 1 : 0]; }
  void SetPageText(int i, std::string text);
  int Orientation() const { return m_orientation; }
  void ChooseOrientation(int orientation);
  const Length& Margin(int i) const { return m_margins[static_cast<std::size_t>(i & 3)]; }
  void SetMarginText(int i, std::string text);
  const Length& Dimension(int i) const { return m_dimensions[static_cast<std::size_t>(i % 3)]; }
  void SetDimensionText(int i, std::string text);
  bool PageNumbers(int i) const { return m_pageNumbers[i != 0 ? 1 : 0]; }
  bool ExceptFirstEnabled() const { return m_pageNumbers[0]; }
  void SetPageNumbers(int i, bool on);
  bool Reverse() const { return m_reverse; }
  void SetReverse(bool on);

  // --- Chords ---
  bool Chords(int i) const { return m_chords[i != 0 ? 1 : 0]; }
  bool ChordMapsEnabled() const { return m_chords[0]; }
  void SetChords(int i, bool on);
  bool Capo() const { return m_capo; }
  bool CapoEnabled() const { return m_chords[0]; }
  void SetCapo(bool on);
  const std::string& CapoText() const { return m_capoText; }
  void SetCapoText(std::string text);

  // The item texts of the paper list, by PageSizes.
  static const std::array<std::string, 6>& PageItems();

private:
  void MarkModified() { m_flags.SetModified(true); }
  void ShowLength(Length& box, float inches);
  void FillPageBoxes();

  DialogFlags m_flags;
  int m_unit = 0;

  int m_keyPosition = 7;
  bool m_minor = false;
  int m_timeOption = -1;
  std::array<std::string, 2> m_timeText;
  bool m_timeTextEnabled = false;
  std::string m_pulseText;
  int m_timeValue = 0;  // the time value Init read, updated by each Apply
  bool m_numberOn = false;
  int m_numberOption = -1;
  std::string m_numberText;
  int m_numberPos = 0;
  std::string m_tempoText;

  std::array<std::string, kTextCount> m_texts;
  std::array<harmonygrid::FontSpec, kFonts> m_fonts;
  char m_tempoNote = 'q';
  bool m_metronome = false;

  int m_pageSize = 0;
  int m_orientation = 0;
  std::array<Length, 2> m_page;
  std::array<Length, 4> m_margins;
  std::array<Length, 3> m_dimensions;
  std::array<bool, 2> m_pageNumbers{};
  bool m_reverse = false;

  std::array<bool, 2> m_chords{};
  bool m_capo = false;
  std::string m_capoText;
};

}  // namespace notecraft::dialogs
