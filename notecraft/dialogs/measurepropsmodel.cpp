#include "notecraft/dialogs/measurepropsmodel.h"

#include <algorithm>
#include <utility>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/dialogs/captions.h"
#include "notecraft/dialogs/eventwriter.h"
#include "notecraft/dialogs/numericfield.h"

namespace notecraft::dialogs {

namespace {

// The boxes each box of a group excludes, by index.
constexpr std::array<std::array<std::string_view, 4>, 3> kExcludes{{
    {"", "23", "13", "12"},    // Bars: Begin Repeat, End Repeat, End Section, End Score
    {"12", "03", "03", "12"},  // Sections: Coda, Segundo, To Coda, To Segundo
    {"", "23", "13", "12"},    // Misc: Ending, Multi-measure rest, Measure repeat, Pickup
}};
constexpr std::array<int, 4> kBarTypes{evtRepeatBegin, evtRepeatEnd, evtSectionEnd, evtScoreEnd};
enum { kCoda, kSegundo, kToCoda, kToSegundo };
enum { kEnding, kRest };

bool Excludes(int group, int box, int other) {
  return kExcludes[static_cast<std::size_t>(group)][static_cast<std::size_t>(box)].find(
             static_cast<char>('0' + other)) != std::string_view::npos;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The section kinds this dialog shows; other kinds standing there (a pickup from a file)
// are left alone.
bool ShownSection(int value1) {
  return value1 == sctEnding1 || value1 == sctEnding2 || value1 == sctEnding || value1 == sctCoda ||
         value1 == sctSegundo;
}

// The key (sharps, minor) in force on a staff at a time: its latest key change, else the
// score's key.
std::pair<int, bool> KeyInForce(const Score& score, const GlobalEvents& staffEvents, int at) {
  if (const auto e = staffEvents.Find(at, evtKeyChange))
    return {std::clamp(KeyFromByte(e->Value1()), -7, 7), e->Value2() != 0};
  return {score.Key(), score.Minor()};
}

// The clef a staff has just before a time: its latest clef change, else its default clef.
int ClefBefore(const Staff& staff, int at) {
  const auto e = at > 0 ? staff.GlobalEvents().Find(at - 1, evtClefChange) : nullptr;
  return e ? e->Value1() : staff.DefaultClef();
}

// Whether no time change stands at a time and the one in force there is this signature with
// this pulse (a signature stored without a pulse has its default one).
bool SignatureInForce(const GlobalEvents& globals, int at, int value, int pulse) {
  if (globals.Item(at, evtTimeChange)) return false;
  const auto e = globals.Find(at, evtTimeChange);
  if (!e || e->Value1() * 128 + e->Value2() != value) return false;
  const int stored = LeadingNumber(e->Text());
  return (stored >= 1 ? stored : DefaultPulse(value)) == pulse;
}

}  // namespace

const MeasurePropsModel::Box& MeasurePropsModel::Boxes(Group group, int index) const {
  return m_boxes[static_cast<std::size_t>(group)][static_cast<std::size_t>(index & 3)];
}

void MeasurePropsModel::MarkModified(std::optional<ChangeFlag> group) {
  if (!m_flags.Loaded()) return;
  m_flags.SetModified(true);
  if (group) m_changed[*group] = true;
}

void MeasurePropsModel::Init(Score& score) {
  m_flags.SetLoaded(false);
  m_changed = {};
  m_clearRestCaption = "Clear";
  m_clearRestEnabled = false;
  m_restoreValue.reset();
  m_keyClearEnabled = false;
  m_minorList = false;
  m_keyPosition = {-1, -1};

  m_measure = std::max(1, score.SelectedMeasure());
  m_measureTime = score.AllGlobals().MeasureTime(m_measure);
  m_measureText = std::to_string(m_measure);
  LoadGroups(score);

  m_staff = SelectedStaff(score);
  if (!m_staff) m_staff = score.Staff(1);
  m_staffCount = score.Staffs();
  m_staffIndex = m_staff ? m_staff->Index() : 0;
  m_staffDescription = m_staff ? m_staff->Description() : std::string();
  LoadChanges(score);
  m_flags.FinishLoading();
  m_changed = {};
}

void MeasurePropsModel::LoadGroups(Score& score) {
  // Checks are set as they stand, then the enabled states follow from them: loading never
  // unchecks a mark, so an Apply after it writes nothing the user did not change.
  for (auto& group : m_boxes)
    for (auto& box : group) box = Box{};
  const int flags = score.MeasureFlags(m_measureTime);
  for (int i = 0; i < 4; ++i)
    m_boxes[kBars][static_cast<std::size_t>(i)].Checked = flags & (1 << i);
  const int section = (flags >> 4) & 0x33F;
  m_endingText.clear();
  if (section & 3) {
    m_boxes[kMisc][kEnding].Checked = true;
    if ((section & 3) == sctEnding1) {
      m_endingText = "1";
    } else if ((section & 3) == sctEnding2) {
      m_endingText = "2";
    } else if (auto e = score.AllGlobals().Item(m_measureTime, evtSectionDefine)) {
      m_endingText = e->Text();
    }
  }
  m_boxes[kSections][kCoda].Checked = section & sctCoda;
  m_boxes[kSections][kSegundo].Checked = section & sctSegundo;
  if (auto go = score.AllGlobals().Item(m_measureTime, evtSectionGo)) {
    m_boxes[kSections][kToCoda].Checked = go->Value1() == sctToCoda;
    m_boxes[kSections][kToSegundo].Checked = go->Value1() == sctToSegundo;
  }
  for (Group g : {kBars, kSections, kMisc}) RefreshEnabled(g);
  m_endingEnabled = m_boxes[kMisc][kEnding].Checked;
  m_restEnabled = m_boxes[kMisc][kRest].Checked;
}

void MeasurePropsModel::RefreshEnabled(Group group) {
  auto& boxes = m_boxes[static_cast<std::size_t>(group)];
  for (int j = 0; j < 4; ++j) {
    bool excluded = false;
    for (int k = 0; k < 4; ++k)
      if (k != j && boxes[static_cast<std::size_t>(k)].Checked && Excludes(group, k, j))
        excluded = true;
    boxes[static_cast<std::size_t>(j)].Enabled = !excluded;
  }
}

void MeasurePropsModel::LoadChanges(Score& score) {
  const int at = m_measureTime;
  // Time: the score-wide change at the measure start, else the one in force there. Only a
  // change standing at the measure can be cleared.
  m_timeOption = -1;
  m_timeText = {};
  m_timeTextEnabled = false;
  m_pulseText.clear();
  m_timeValue.reset();
  m_restoreValue.reset();
  m_restorePulse.clear();
  m_clearRestCaption = "Clear";
  m_clearRestEnabled = false;
  const auto standingTime = score.AllGlobals().Item(at, evtTimeChange);
  if (const auto e = standingTime ? standingTime : score.AllGlobals().Find(at, evtTimeChange)) {
    const int value = e->Value1() * 128 + e->Value2();
    if (standingTime) {
      m_timeValue = value;
      m_clearRestEnabled = true;
    }
    m_restoreValue = value;
    ShowTimeValue(value);
    m_pulseText = e->Text();
    m_restorePulse = m_pulseText;
  }

  // Key and clef of the staff: its change at the measure start, else the one in force.
  m_keyPosition = {-1, -1};
  m_minorList = false;
  m_keyClearEnabled = false;
  m_clef = -1;
  if (!m_staff) return;
  const GlobalEvents& events = m_staff->GlobalEvents();
  const auto [key, minor] = KeyInForce(score, events, at);
  m_keyClearEnabled = events.Item(at, evtKeyChange) != nullptr;
  m_minorList = minor;
  m_keyPosition = {key + 7, key + 7};
  const auto clef = events.Item(at, evtClefChange);
  m_clef = clef ? clef->Value1() : ClefBefore(*m_staff, at);
}

void MeasurePropsModel::ShowTimeValue(int value) {
  for (int i = 0; i < static_cast<int>(kTimeTags.size()); ++i) {
    if (kTimeTags[static_cast<std::size_t>(i)] == value) {
      m_timeOption = i;
      return;
    }
  }
  m_timeOption = kCustomTime;
  m_timeText[0] = std::to_string(value / 128);
  m_timeText[1] = std::to_string(DenominatorOfBeat(value % 128));
}

// ---------------------------------------------------------------------------------------
// Check-box groups

void MeasurePropsModel::Toggle(Group group, int index, bool checked) {
  index &= 3;
  auto& boxes = m_boxes[static_cast<std::size_t>(group)];
  auto& box = boxes[static_cast<std::size_t>(index)];
  const bool was = box.Checked;
  box.Checked = checked;
  if (was != checked) {
    static constexpr std::array<ChangeFlag, 3> kFlagOf{kBarsChanged, kSectionsChanged,
                                                       kMiscChanged};
    MarkModified(kFlagOf[static_cast<std::size_t>(group)]);
  }
  if (checked) {
    for (int j = 0; j < 4; ++j) {
      if (!Excludes(group, index, j)) continue;
      if (boxes[static_cast<std::size_t>(j)].Checked) Toggle(group, j, false);
      boxes[static_cast<std::size_t>(j)].Enabled = false;
    }
  } else {
    // Boxes still excluded by another checked box stay disabled.
    for (int j = 0; j < 4; ++j) {
      if (!Excludes(group, index, j)) continue;
      bool stillExcluded = false;
      for (int k = 0; k < 4; ++k)
        if (k != index && boxes[static_cast<std::size_t>(k)].Checked && Excludes(group, k, j))
          stillExcluded = true;
      if (!stillExcluded) boxes[static_cast<std::size_t>(j)].Enabled = true;
    }
  }
  if (group == kMisc && index == kEnding) {
    m_endingEnabled = checked;
    if (checked && m_endingText.empty()) m_endingText = "1";
  } else if (group == kMisc && index == kRest) {
    m_restEnabled = checked;
    if (checked && m_restText.empty()) m_restText = "1";
  }
}

void MeasurePropsModel::SetEndingText(std::string text) {
  m_endingText = std::move(text);
  MarkModified(kMiscChanged);
}

// ---------------------------------------------------------------------------------------
// Key

void MeasurePropsModel::ChooseKey(bool minorList, int position) {
  if (position < 0 || position > 14) return;
  m_keyPosition[minorList ? 1 : 0] = position;
  if (!m_flags.Loaded()) return;
  // A major key and its relative minor share a position.
  m_keyPosition[minorList ? 0 : 1] = position;
  MarkModified(kKeyChanged);
  m_keyClearEnabled = true;
}

void MeasurePropsModel::SetMinorList(bool minor) {
  if (minor == m_minorList) return;
  m_minorList = minor;
  if (!m_flags.Loaded()) return;
  if (m_keyPosition[minor ? 1 : 0] < 0) {
    ChooseKey(minor, 7);
  } else {
    MarkModified(kKeyChanged);
  }
}

void MeasurePropsModel::ClearKey() {
  m_keyPosition = {-1, -1};
  m_keyClearEnabled = false;
  // Clearing is an edit of its own: Ok then removes the key change.
  MarkModified(kKeyChanged);
}

// ---------------------------------------------------------------------------------------
// Clef

void MeasurePropsModel::ChooseClef(int clef) {
  if (clef < clfPercussion || clef > clfTenor || clef == m_clef) return;
  m_clef = clef;
  MarkModified(kClefChanged);
}

// ---------------------------------------------------------------------------------------
// Time signature

void MeasurePropsModel::SelectTime(int option) {
  m_timeOption = option;
  if (option == kCustomTime) {
    m_timeTextEnabled = true;
    return;
  }
  m_timeTextEnabled = false;
  m_timeText = {};
  m_pulseText = std::to_string(DefaultPulse(kTimeTags[static_cast<std::size_t>(option)]));
}

void MeasurePropsModel::ChooseTime(int option) {
  if (option < 0 || option >= static_cast<int>(kTimeTags.size())) return;
  if (!m_flags.Loaded()) {
    m_timeOption = option;
    return;
  }
  MarkModified(kTimeChanged);
  const int tag = kTimeTags[static_cast<std::size_t>(option)];
  const bool loaded = m_restoreValue && *m_restoreValue == tag;
  m_clearRestCaption = loaded ? "Clear" : "Restore";
  // What is shown again is the signature loaded: Clear has a change to remove only when
  // one stands at the measure.
  m_clearRestEnabled = !loaded || m_timeValue.has_value();
  SelectTime(option);
}

void MeasurePropsModel::SetTimeText(int i, std::string text) {
  m_timeText[i != 0 ? 1 : 0] = std::move(text);
  if (!m_flags.Loaded()) return;
  MarkModified(kTimeChanged);
  m_timeOption = kCustomTime;
  m_timeTextEnabled = true;
}

void MeasurePropsModel::SetPulseText(std::string text) {
  m_pulseText = std::move(text);
  MarkModified(kTimeChanged);
}

void MeasurePropsModel::ClearRestore() {
  if (m_clearRestCaption == "Clear") {
    m_timeOption = -1;
    m_timeText = {};
    m_timeTextEnabled = false;
    m_clearRestCaption = "Restore";
    // Clearing is an edit of its own: Ok then removes the time change.
    MarkModified(kTimeChanged);
    return;
  }
  m_changed[kTimeChanged] = false;
  if (m_restoreValue) {
    m_timeText = {};
    ShowTimeValue(*m_restoreValue);
    m_pulseText = m_restorePulse;
    m_timeTextEnabled = m_timeOption == kCustomTime;
    m_clearRestCaption = "Clear";
    m_clearRestEnabled = m_timeValue.has_value();
  } else {
    m_timeOption = -1;
    m_timeText = {};
    m_timeTextEnabled = false;
    m_clearRestCaption = "Clear";
    m_clearRestEnabled = false;
  }
}

// ---------------------------------------------------------------------------------------
// Moving

void MeasurePropsModel::GoToMeasure(Score& score, int measure, int time) {
  Apply(score);
  m_measure = measure;
  m_measureTime = time;
  m_measureText = std::to_string(measure);
  const bool loaded = m_flags.Loaded();
  m_flags.SetLoaded(false);
  LoadGroups(score);
  // The Changes page describes the new measure too, so Apply compares and restores against
  // what stands there.
  LoadChanges(score);
  m_flags.SetLoaded(loaded);
  m_changed = {};
}

void MeasurePropsModel::LeaveMeasureNumber(Score& score) {
  int measure = std::max(1, LeadingNumber(m_measureText));
  measure = std::min(measure, 1 << 17);  // past any measure a score can hold
  const int time = score.AllGlobals().MeasureTime(measure);
  int found = 0, length = 0;
  score.AllGlobals().MeasureInfo(time, found, length);
  if (found >= 1) measure = found;
  m_measureText = std::to_string(measure);
  if (measure != m_measure) GoToMeasure(score, measure, score.AllGlobals().MeasureTime(measure));
}

void MeasurePropsModel::StepMeasure(Score& score, int delta) {
  const int measure = std::max(1, LeadingNumber(m_measureText) + delta);
  m_measureText = std::to_string(measure);
  if (measure != m_measure) LeaveMeasureNumber(score);
}

void MeasurePropsModel::MoveToStaff(Score& score, int index) {
  auto staff = score.Staff(index);
  if (!staff || staff == m_staff) return;
  Apply(score);
  staff->SetSelected(true);
  // Apply stored the dialog's measure in the score, so Init stays at it.
  Init(score);
}

// ---------------------------------------------------------------------------------------
// Apply

void MeasurePropsModel::StoreMeasure(Score& score) {
  // The measure shown becomes the score's: the next dialog, the insert and delete prompts
  // and the window's status all follow it, whether or not anything is written there.
  if (!m_flags.Loaded() || score.SelectedMeasure() == m_measure) return;
  score.SetSelectedMeasure(Internal{}, m_measure);
  const int number = m_measure;
  score.Raise([number](ScoreEvents& l) { l.ActiveMeasure(number); });
}

void MeasurePropsModel::Apply(Score& score) {
  StoreMeasure(score);
  const auto changed = m_changed;
  if (!m_flags.BeginApply()) {
    m_changed = {};
    return;
  }
  m_changed = {};
  const int at = m_measureTime;
  EventWriter globals(score, score.AllGlobals(), 0);
  bool repaint = false;

  if (changed[kBarsChanged]) {
    for (int i = 0; i < 4; ++i) {
      const int type = kBarTypes[static_cast<std::size_t>(i)];
      if (m_boxes[kBars][static_cast<std::size_t>(i)].Checked) {
        if (!globals.Has(at, type)) globals.Put(at, type, 0, 0, {});
      } else {
        globals.Drop(at, type);
      }
    }
  }

  bool staffChanged = false;
  if ((changed[kKeyChanged] || changed[kClefChanged]) && m_staff) {
    EventWriter staffList(score, m_staff->GlobalEvents(), m_staff->Index());
    if (changed[kKeyChanged]) {
      const int position = m_keyPosition[m_minorList ? 1 : 0];
      const GlobalEvents& events = m_staff->GlobalEvents();
      if (position < 0) {
        staffList.Drop(at, evtKeyChange);
      } else if (events.Item(at, evtKeyChange) ||
                 KeyInForce(score, events, at) != std::pair{position - 7, m_minorList}) {
        // The mode goes with the key, as in the score's own key event.
        staffList.Put(at, evtKeyChange, KeyToByte(position - 7), m_minorList ? 255 : 0, {});
        m_keyClearEnabled = true;
      }
    }
    if (changed[kClefChanged] && m_clef >= 0) {
      // The clef in force before the measure needs no change here.
      if (m_clef == ClefBefore(*m_staff, at))
        staffList.Drop(at, evtClefChange);
      else
        staffList.Put(at, evtClefChange, m_clef, 0, {});
    }
    staffChanged = staffList.Changed();
    repaint = true;
  }

  const bool ending = m_boxes[kMisc][kEnding].Checked;
  const bool coda = m_boxes[kSections][kCoda].Checked;
  const bool segundo = m_boxes[kSections][kSegundo].Checked;
  auto dropUnshownDefine = [&] {
    if (ending || coda || segundo) return;
    if (auto e = score.AllGlobals().Item(at, evtSectionDefine); e && ShownSection(e->Value1()))
      globals.Drop(at, evtSectionDefine);
  };
  if (changed[kMiscChanged]) {
    dropUnshownDefine();
    if (ending) {
      const std::string t = Trimmed(m_endingText);
      if (t == "1")
        globals.Put(at, evtSectionDefine, sctEnding1, 0, {});
      else if (t == "2")
        globals.Put(at, evtSectionDefine, sctEnding2, 0, {});
      else
        globals.Put(at, evtSectionDefine, sctEnding, 0, m_endingText);
    }
  }
  if (changed[kSectionsChanged]) {
    dropUnshownDefine();
    // One section definition per measure: a coda or segundo takes the ending's place.
    if (coda || segundo) globals.Put(at, evtSectionDefine, coda ? sctCoda : sctSegundo, 0, {});
    const bool toCoda = m_boxes[kSections][kToCoda].Checked;
    const bool toSegundo = m_boxes[kSections][kToSegundo].Checked;
    if (toCoda || toSegundo)
      globals.Put(at, evtSectionGo, toCoda ? sctToCoda : sctToSegundo, 0, {});
    else
      globals.Drop(at, evtSectionGo);
  }

  if (changed[kTimeChanged]) {
    repaint = true;
    if (m_timeOption < 0) {
      if (m_timeValue) globals.Drop(at, evtTimeChange);
      m_timeValue.reset();
    } else {
      int value = kTimeTags[static_cast<std::size_t>(m_timeOption)];
      if (value < 0) {
        int beat = BeatOfDenominator(LeadingNumber(m_timeText[1]));
        if (beat == 0) {
          beat = 16;
          m_timeText[1] = "4";
        }
        int numerator = LeadingNumber(m_timeText[0]);
        if (numerator < 1 || numerator > 16) {
          numerator = 4;
          m_timeText[0] = "4";
        }
        value = numerator * 128 + beat;
      }
      int pulse = LeadingNumber(m_pulseText);
      if (pulse < 1) {
        pulse = 1;
        m_pulseText = "1";
      }
      if (m_timeValue && *m_timeValue == value) {
        // The same signature: only its pulse can have changed.
        if (auto e = score.AllGlobals().Item(at, evtTimeChange))
          globals.Put(at, evtTimeChange, e->Value1(), e->Value2(), std::to_string(pulse));
      } else if (SignatureInForce(score.AllGlobals(), at, value, pulse)) {
        // The signature in force goes on through this measure as it is.
      } else {
        const int v1 = value >= 128 ? value / 128 : 0;
        const int v2 = value >= 128 ? value % 128 : value;
        globals.Put(at, evtTimeChange, v1, v2, std::to_string(pulse));
        m_timeValue = value;
      }
    }
  }

  if (globals.Changed() || staffChanged) {
    score.SetChanged(true);
    repaint = true;
    score.Raise([](ScoreEvents& l) { l.HistoryChanged(true); });
    // Bar lines, signatures and keys change the measures' widths: lay the score out again.
    score.RestartPagination(1);
  }
  if (repaint) score.PaintWindow();
}

}  // namespace notecraft::dialogs
