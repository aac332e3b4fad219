#include "notecraft/dialogs/scorepropsmodel.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/captions.h"
#include "notecraft/dialogs/numericfield.h"

namespace notecraft::dialogs {

namespace {

constexpr NumberRange kNumberEvery{1, 25};

}  // namespace

const std::array<std::string, 6>& ScorePropsModel::PageItems() {
  static const std::array<std::string, 6> items{"Letter (8.5 x 11)",       "Legal (8.5 x 14)",
                                                "Executive (7.25 x 10.5)", "A4 (8.27 x 11.69)",
                                                "A5 (5.83 x 8.27)",        "Custom"};
  return items;
}

void ScorePropsModel::ShowLength(Length& box, float inches) {
  box.Text = FormatLength(m_unit, inches, uomInches);
  box.Shown = box.Text;
}

void ScorePropsModel::FillPageBoxes() {
  const auto paper = PaperSizeInches(m_pageSize);
  if (!paper) return;  // Custom keeps what the boxes show
  const int widthBox = m_orientation == pgeLandscape ? 1 : 0;
  m_page[static_cast<std::size_t>(widthBox)].Text = FormatLength(m_unit, paper->Width, uomInches);
  m_page[static_cast<std::size_t>(1 - widthBox)].Text =
      FormatLength(m_unit, paper->Height, uomInches);
}

void ScorePropsModel::Init(Score& score) {
  m_flags.SetLoaded(false);
  m_unit = score.UOM();
  for (int i = 0; i < kFonts; ++i)
    if (auto font = score.Fonts(i)) m_fonts[static_cast<std::size_t>(i)] = *font;

  m_orientation = score.PageOrientation() == pgeLandscape ? pgeLandscape : pgePortrait;
  m_pageSize = std::clamp(score.PageSize(), 0, kCustomPage);
  ShowLength(m_page[0], score.PageWidth());
  ShowLength(m_page[1], score.PageHeight());
  FillPageBoxes();

  m_keyPosition = std::clamp(score.Key(), -7, 7) + 7;
  m_minor = score.Minor();

  m_numberOn = score.NumberMeasures();
  m_numberOption = -1;
  m_numberText.clear();
  if (m_numberOn) {
    if (score.NumberMeasuresBy() != 0) {
      m_numberOption = 0;
      m_numberText = std::to_string(score.NumberMeasuresBy());
    } else {
      m_numberOption = 1;
    }
  }
  m_pageNumbers = {score.PageNums() != pgnNoPageNumbers, score.PageNums() == pgnNoPageOne};
  m_numberPos = std::clamp(score.NumberPos(), 0, 5);

  // The start's time signature: a standard option, or the custom one with its numbers.
  GlobalEvents& globals = score.AllGlobals();
  m_timeValue = globals.DftTimeVal();
  m_timeOption = -1;
  m_timeText = {};
  m_timeTextEnabled = false;
  for (int i = 0; i < static_cast<int>(kTimeTags.size()); ++i) {
    const int tag = kTimeTags[static_cast<std::size_t>(i)];
    if (tag < 0) {
      m_timeText = {std::to_string(m_timeValue / 128),
                    std::to_string(DenominatorOfBeat(m_timeValue % 128))};
      m_timeOption = i;
      break;
    }
    if (tag == m_timeValue) {
      m_timeOption = i;
      break;
    }
  }
  int number = 0, length = 0;
  globals.MeasureInfo(0, number, length);
  const int pulse = globals.PulseValue();
  m_pulseText = std::to_string(pulse > 0 ? length / pulse : 1);

  for (int i = 0; i < 4; ++i) ShowLength(m_margins[static_cast<std::size_t>(i)], score.Margins(i));
  ShowLength(m_dimensions[0], score.StaffHeight());
  ShowLength(m_dimensions[1], score.StaffSpace());
  ShowLength(m_dimensions[2], score.SystemSpace());
  m_reverse = score.ReverseEvenOdd();

  m_texts = {score.Title(),      score.SubTitle(),   score.Heading(),   score.Composer(),
             score.ArrangedBy(), score.Copyright(0), score.Copyright(1)};
  switch (score.Beat()) {
    case durEighth:
      m_tempoNote = 'e';
      break;
    case durHalf:
      m_tempoNote = 'h';
      break;
    case durWhole:
      m_tempoNote = 'w';
      break;
    default:
      m_tempoNote = 'q';
      break;
  }
  m_tempoText = std::to_string(score.Count());
  m_metronome = score.Metronome();

  m_chords = {score.UseChords(), score.UseChords() && score.UseChordMaps()};
  m_capo = score.UseCapo();
  m_capoText = score.Capo() != 0 ? std::to_string(score.Capo()) : std::string();
  m_flags.FinishLoading();
}

// ---------------------------------------------------------------------------------------
// General

void ScorePropsModel::ChooseKey(int position) {
  if (position < 0 || position > 14) return;
  m_keyPosition = position;  // a major key and its relative minor share a position
  MarkModified();
}

void ScorePropsModel::SetMinor(bool minor) {
  m_minor = minor;
  MarkModified();
}

void ScorePropsModel::ChooseTime(int option) {
  if (option < 0 || option >= static_cast<int>(kTimeTags.size())) return;
  m_timeOption = option;
  if (!m_flags.Loaded()) return;
  MarkModified();
  if (option == kCustomTime) {
    m_timeTextEnabled = true;
    return;
  }
  m_timeTextEnabled = false;
  m_timeText = {};
  m_pulseText = std::to_string(DefaultPulse(kTimeTags[static_cast<std::size_t>(option)]));
}

void ScorePropsModel::SetTimeText(int i, std::string text) {
  m_timeText[i != 0 ? 1 : 0] = std::move(text);
  MarkModified();
  // Typing a numerator or denominator chooses the custom signature.
  if (m_flags.Loaded()) m_timeOption = kCustomTime;
}

void ScorePropsModel::SetPulseText(std::string text) {
  m_pulseText = std::move(text);
  MarkModified();
}

void ScorePropsModel::SetNumberMeasures(bool on) {
  m_numberOn = on;
  MarkModified();
  if (on) {
    m_numberOption = 0;
    m_numberText = "1";
  } else {
    m_numberOption = -1;
    m_numberText.clear();
  }
}

void ScorePropsModel::ChooseNumberOption(int option) {
  if (!m_numberOn || option < 0 || option > 1) return;
  m_numberOption = option;
  m_numberText = option == 0 ? "1" : "";
  MarkModified();
}

void ScorePropsModel::SetNumberText(std::string text) {
  m_numberText = std::move(text);
  MarkModified();
}

void ScorePropsModel::ValidateNumberText() {
  if (!NumberTextEnabled()) return;
  const int read = LeadingNumber(m_numberText);
  const int n = kNumberEvery.Clamp(read);
  m_numberText = std::to_string(n);
  if (n != read) MarkModified();
}

void ScorePropsModel::StepNumber(int delta) {
  if (!NumberTextEnabled()) return;
  const int read = LeadingNumber(m_numberText);
  const int n = dialogs::StepNumber(m_numberText, delta, kNumberEvery);
  m_numberText = std::to_string(n);
  if (n != read) MarkModified();
}

void ScorePropsModel::ChooseNumberPos(int pos) {
  if (!m_numberOn || pos < 0 || pos > 5) return;
  m_numberPos = pos;
  MarkModified();
}

void ScorePropsModel::SetTempoText(std::string text) {
  m_tempoText = std::move(text);
  MarkModified();
}

// ---------------------------------------------------------------------------------------
// Titles

void ScorePropsModel::SetTextOf(Text which, std::string text) {
  if (which < 0 || which >= kTextCount) return;
  m_texts[which] = std::move(text);
  MarkModified();
}

void ScorePropsModel::SetFont(int index, const harmonygrid::FontSpec& font) {
  if (index < 0 || index >= kFonts) return;
  m_fonts[static_cast<std::size_t>(index)] = font;
  MarkModified();
}

void ScorePropsModel::CycleTempoNote() {
  static constexpr std::string_view kCycle = "eqhw";
  const auto at = kCycle.find(m_tempoNote);
  m_tempoNote = kCycle[(at == std::string_view::npos ? 0 : at + 1) % kCycle.size()];
  MarkModified();
}

void ScorePropsModel::SetMetronome(bool on) {
  m_metronome = on;
  MarkModified();
}

// ---------------------------------------------------------------------------------------
// Dimensions

void ScorePropsModel::ChoosePageSize(int size) {
  if (size < 0 || size > kCustomPage) return;
  m_pageSize = size;
  FillPageBoxes();
  MarkModified();
}

void ScorePropsModel::SetPageText(int i, std::string text) {
  m_page[i != 0 ? 1 : 0].Text = std::move(text);
  MarkModified();
}

void ScorePropsModel::ChooseOrientation(int orientation) {
  if (orientation < pgePortrait || orientation > pgeLandscape || orientation == m_orientation)
    return;
  m_orientation = orientation;
  MarkModified();
  // Width and height change places, on the page and in the boxes.
  std::swap(m_page[0], m_page[1]);
}

void ScorePropsModel::SetMarginText(int i, std::string text) {
  m_margins[static_cast<std::size_t>(i & 3)].Text = std::move(text);
  MarkModified();
}

void ScorePropsModel::SetDimensionText(int i, std::string text) {
  m_dimensions[static_cast<std::size_t>(i % 3)].Text = std::move(text);
  MarkModified();
}

void ScorePropsModel::SetPageNumbers(int i, bool on) {
  m_pageNumbers[i != 0 ? 1 : 0] = on;  // unchecking the first leaves the second's mark
  MarkModified();
}

void ScorePropsModel::SetReverse(bool on) {
  m_reverse = on;
  MarkModified();
}

// ---------------------------------------------------------------------------------------
// Chords

void ScorePropsModel::SetChords(int i, bool on) {
  MarkModified();
  if (i != 0) {
    if (m_chords[0]) m_chords[1] = on;
    return;
  }
  m_chords[0] = on;
  m_chords[1] = on;
  if (!on) m_capo = false;
}

void ScorePropsModel::SetCapo(bool on) {
  if (!m_chords[0]) return;
  m_capo = on;
  MarkModified();
}

void ScorePropsModel::SetCapoText(std::string text) {
  m_capoText = std::move(text);
  MarkModified();
}

// ---------------------------------------------------------------------------------------
// Apply

void ScorePropsModel::Apply(Score& score) {
  if (!m_flags.BeginApply()) return;
  const bool redraw = score.Redraw();
  score.SetRedraw(false);

  for (int i = 0; i < kFonts; ++i) {
    if (auto font = score.Fonts(i)) {
      const auto& working = m_fonts[static_cast<std::size_t>(i)];
      font->Name = working.Name;
      font->Size = working.Size;
      font->Bold = working.Bold;
      font->Italic = working.Italic;
      font->Underline = working.Underline;
    }
  }

  // A length is written only when edited, and a page or staff size never as 0 or less.
  const auto parse = [this](const Length& box) { return ParseLength(uomInches, box.Text, m_unit); };
  score.SetPageOrientation(m_orientation);
  score.SetPageSize(m_pageSize);
  if (m_pageSize == kCustomPage) {
    if (m_page[0].Edited() && parse(m_page[0]) > 0) score.SetPageWidth(parse(m_page[0]));
    if (m_page[1].Edited() && parse(m_page[1]) > 0) score.SetPageHeight(parse(m_page[1]));
  }
  for (int i = 0; i < 4; ++i) {
    const Length& margin = m_margins[static_cast<std::size_t>(i)];
    if (margin.Edited()) score.SetMargins(i, parse(margin));
  }
  if (m_dimensions[0].Edited() && parse(m_dimensions[0]) > 0)
    score.SetStaffHeight(parse(m_dimensions[0]));
  if (m_dimensions[1].Edited()) score.SetStaffSpace(parse(m_dimensions[1]));
  if (m_dimensions[2].Edited()) score.SetSystemSpace(parse(m_dimensions[2]));
  for (auto* boxes : {&m_page[0], &m_page[1]}) boxes->Shown = boxes->Text;
  for (auto& box : m_margins) box.Shown = box.Text;
  for (auto& box : m_dimensions) box.Shown = box.Text;
  score.SetReverseEvenOdd(m_reverse);

  score.SetTitle(m_texts[kTitle]);
  score.SetSubTitle(m_texts[kSubTitle]);
  score.SetHeading(m_texts[kHeading]);
  score.SetComposer(m_texts[kComposer]);
  score.SetArrangedBy(m_texts[kArrangedBy]);
  score.SetCopyright(0, m_texts[kCopyright0]);
  score.SetCopyright(1, m_texts[kCopyright1]);

  score.SetBeat(m_tempoNote == 'e'   ? durEighth
                : m_tempoNote == 'h' ? durHalf
                : m_tempoNote == 'w' ? durWhole
                                     : durQuarter);
  // An emptied box leaves the tempo: a tempo of 0 has no tick length.
  if (const int tempo = LeadingNumber(m_tempoText); tempo >= 1) score.SetCount(tempo);
  score.SetMetronome(m_metronome);

  score.SetMinor(m_minor);
  score.SetKey(m_keyPosition - 7);

  if (m_numberOn) {
    score.SetNumberMeasures(true);  // first: the score takes the interval only while on
    score.SetNumberMeasuresBy(m_numberOption == 0 ? std::max(1, LeadingNumber(m_numberText)) : 0);
    score.SetNumberPos(m_numberPos);
  } else {
    score.SetNumberMeasures(false);
  }
  score.SetPageNums(m_pageNumbers[0] ? (m_pageNumbers[1] ? pgnNoPageOne : pgnAllPages)
                                     : pgnNoPageNumbers);

  GlobalEvents& globals = score.AllGlobals();
  int value = m_timeOption >= 0 ? kTimeTags[static_cast<std::size_t>(m_timeOption)] : 0;
  if (value < 0) {
    int beat = BeatOfDenominator(LeadingNumber(m_timeText[1]));
    if (beat == 0) {
      beat = 16;
      m_timeText[1] = "4";
      MarkModified();
    }
    int numerator = LeadingNumber(m_timeText[0]);
    if (numerator < 1 || numerator > 16) {
      numerator = 4;
      m_timeText[0] = "4";
      MarkModified();
    }
    value = numerator * 128 + beat;
  }
  if (value != m_timeValue) globals.SetDftTimeVal(value);
  m_timeValue = value;
  int number = 0, length = 0;
  globals.MeasureInfo(0, number, length);
  int pulses = LeadingNumber(m_pulseText);
  if (pulses < 1) {
    pulses = 1;
    m_pulseText = "1";
    MarkModified();
  }
  globals.SetPulseValue(length / pulses);

  if (m_chords[0]) {
    score.SetUseChords(true);
    score.SetUseChordMaps(m_chords[1]);
  } else {
    score.SetUseChords(false);
  }
  if (m_capo) {
    score.SetUseCapo(true);
    score.SetCapo(LeadingNumber(m_capoText));
    if (score.Capo() == 0) score.SetUseCapo(false);
  } else {
    score.SetUseCapo(false);
  }

  score.SetChanged(true);
  score.RestartPagination(1);
  score.PaintWindow();
  // Switching drawing back on lays the score out and paints it; a host that had it off
  // for a batch of its own keeps it off.
  score.SetRedraw(redraw);
}

}  // namespace notecraft::dialogs
