#include "notecraft/dialogs/staffpropsmodel.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/dialogs/numericfield.h"

namespace notecraft::dialogs {

namespace {
constexpr int kMinHeight = 25;
constexpr int kMaxHeight = 100;

const InstrumentRow& TableRow(int row) {
  return TheCommon().Instruments.Row(row);
}
}  // namespace

void StaffPropsModel::Init(Score& score) {
  m_flags.SetLoaded(false);
  m_slotCodes = {};
  m_listedCategory = -1;
  m_voices.clear();
  m_shown = -1;
  m_staff = SelectedStaff(score);
  if (!m_staff) m_staff = score.Staff(1);
  m_staffCount = score.Staffs();
  if (m_staff) {
    m_staffIndex = m_staff->Index();
    m_description = m_staff->Description();
    m_heightText = std::to_string(m_staff->ScalePct());
    m_mute = m_staff->Mute();
    m_visible = m_staff->Visible();
    m_clef = m_staff->DefaultClef();
    for (int i = 1; i <= m_staff->Voices(); ++i) {
      auto voice = m_staff->Voice(i);
      m_voices.push_back(voice);
      FillRecord(i - 1, voice ? voice->Instrument() : nullptr,
                 voice ? voice->Description() : std::string());
      const auto& ins = voice ? voice->Instrument() : nullptr;
      for (int k = 0; k < kDrumSlots; ++k) {
        auto& record = m_records[static_cast<std::size_t>(i - 1)];
        record.DrumCode[static_cast<std::size_t>(k)] = ins ? ins->DrumCode(k + 1) : 0;
        record.DrumValue[static_cast<std::size_t>(k)] = ins ? ins->DrumValue(k + 1) : 0;
      }
    }
    if (!m_voices.empty()) ShowVoice(0);
    for (int i = 0; i < kFlagCount; ++i)
      m_flagBoxes[static_cast<std::size_t>(i)] = (m_staff->Flags() >> i) & 1;
  }
  m_flags.FinishLoading();
}

// A record from an instrument as the staff plays it. The description is the voice's own
// (so Apply does not overwrite every voice with its instrument's name), or the instrument's
// when the voice has none.
void StaffPropsModel::FillRecord(int index, const std::shared_ptr<Instrument>& instrument,
                                 const std::string& voiceDescription) {
  auto& record = m_records[static_cast<std::size_t>(index & 3)];
  record.DefaultClef = m_staff ? m_staff->DefaultClef() : clfTreble;
  if (instrument) {
    record.Category = instrument->Category();
    record.Value = instrument->Value();
    record.High = instrument->Range().High();
    record.Low = instrument->Range().Low();
    record.Offset = instrument->Offset();
    record.Pitch = instrument->Pitch();
  }
  record.Description = !voiceDescription.empty()
                           ? voiceDescription
                           : (instrument ? instrument->Description() : std::string());
}

// ---------------------------------------------------------------------------------------
// General page

void StaffPropsModel::SetDescription(std::string text) {
  m_description = std::move(text);
  MarkModified();
}

void StaffPropsModel::SetHeightText(std::string text) {
  m_heightText = std::move(text);
  MarkModified();
}

void StaffPropsModel::LeaveHeight() {
  if (!m_flags.Loaded()) return;
  LoadedOff quiet(m_flags);
  m_heightText = std::to_string(ValidateNumber(m_heightText, {kMinHeight, kMaxHeight}));
}

void StaffPropsModel::SetMute(bool on) {
  m_mute = on;
  MarkModified();
}

void StaffPropsModel::SetVisible(bool on) {
  m_visible = on;
  MarkModified();
}

void StaffPropsModel::SetFlag(int index, bool on) {
  if (index < 0 || index >= kFlagCount) return;
  m_flagBoxes[static_cast<std::size_t>(index)] = on;
  MarkModified();
}

void StaffPropsModel::SetVoiceCount(int count) {
  if (!m_flags.Loaded() || !m_staff) return;
  count = std::clamp(count, 1, Staff::kMaxVoices);
  // Lowering only shortens the list: Apply never removes a voice from the staff.
  while (VoiceCount() > count) m_voices.pop_back();
  if (m_shown >= VoiceCount()) ShowVoice(0);
  bool added = false;
  while (VoiceCount() < count) {
    const int n = VoiceCount() + 1;
    auto voice = n <= m_staff->Voices() ? m_staff->Voice(n) : nullptr;
    std::shared_ptr<Instrument> instrument;
    if (voice) {
      instrument = voice->Instrument();
    } else if (!m_voices.empty() && m_voices.front()) {
      instrument = m_voices.front()->Instrument();
    }
    m_voices.push_back(voice);
    const auto drums = m_records[static_cast<std::size_t>(n - 1)];
    FillRecord(n - 1, instrument, voice ? voice->Description() : std::string());
    // The drum slots keep what they held.
    m_records[static_cast<std::size_t>(n - 1)].DrumCode = drums.DrumCode;
    m_records[static_cast<std::size_t>(n - 1)].DrumValue = drums.DrumValue;
    added = true;
  }
  if (m_shown < 0) ShowVoice(0);  // a staff that had no voice shows its first one now
  if (added) MarkModified();
}

void StaffPropsModel::MoveToStaff(Score& score, int index) {
  auto staff = score.Staff(index);
  if (!staff || staff == m_staff) return;
  Apply(score);
  staff->SetSelected(true);
  Init(score);
}

// ---------------------------------------------------------------------------------------
// Instruments page

void StaffPropsModel::ShowVoice(int index) {
  if (index < 0 || index >= VoiceCount()) return;
  LoadedOff quiet(m_flags);
  m_shown = index;
  const VoiceRecord record = m_records[static_cast<std::size_t>(index)];
  const int clef = m_clef;
  m_slotCodes = record.DrumCode;
  ChooseCategory(record.Category);
  // Showing a voice changes nothing: the list refill picked a type for it, and the staff's
  // clef is its own, not its instrument's default.
  auto& shown = m_records[static_cast<std::size_t>(index)];
  shown.Value = record.Value;
  shown.Pitch = record.Pitch;
  shown.Offset = record.Offset;
  shown.Description = record.Description;
  if (!DrumMode() && clef >= 0) m_clef = clef;
  const auto match = std::find_if(m_types.begin(), m_types.end(), [&](const InstrumentChoice& c) {
    return c.Value == record.Value;
  });
  if (match != m_types.end()) {
    m_typeIndex = static_cast<int>(match - m_types.begin());
  } else {
    m_types.push_back({record.Description, record.Value});
    m_typeIndex = static_cast<int>(m_types.size()) - 1;
  }
  m_voiceText = record.Description;
  m_lowText = NoteName(shown.Low);
  m_highText = NoteName(shown.High);
  m_pitchText = std::to_string(shown.Pitch);
  m_offsetText = std::to_string(shown.Offset);
}

void StaffPropsModel::ChooseCategory(int category) {
  if (category < catSolo || category > catDrums || m_shown < 0) return;
  // Only the first voice can be a drum kit: choosing Drums elsewhere shows voice 1 instead.
  if (m_shown > 0 && category == catDrums) {
    ShowVoice(0);
    return;
  }
  MarkModified();
  auto& record = m_records[static_cast<std::size_t>(m_shown)];
  m_category = category;
  if (category != m_listedCategory) {
    m_busy = true;
    m_listedCategory = category;
    m_types = InstrumentChoices(category);
    m_typeIndex = -1;
    if (!m_types.empty()) {
      const auto match =
          std::find_if(m_types.begin(), m_types.end(),
                       [&](const InstrumentChoice& c) { return c.Value == record.Value; });
      const int found = match != m_types.end() ? static_cast<int>(match - m_types.begin()) : 0;
      if (category == catDrums) {
        // Empty slots (codes below 128) take the current drum sound.
        const int value = m_types[static_cast<std::size_t>(found)].Value;
        record.Offset = TableRow(value).Offset;
        for (int k = 0; k < kDrumSlots; ++k) {
          if (record.DrumCode[static_cast<std::size_t>(k)] >= 128) continue;
          record.DrumCode[static_cast<std::size_t>(k)] = value;
          record.DrumValue[static_cast<std::size_t>(k)] = record.Offset;
        }
        m_slotCodes = record.DrumCode;
      }
      m_drumSlot = 0;
      m_busy = false;
      ChooseType(found);
    }
    m_busy = false;
  }
  record.Category = category;
  if (m_typeIndex >= 0) record.Value = m_types[static_cast<std::size_t>(m_typeIndex)].Value;
  if (category == catDrums) m_clef = clfPercussion;
  // One category for the whole staff: the other voices take this voice's instrument when
  // the user chooses a category (showing a voice of a mixed staff changes nothing).
  if (!m_flags.Loaded()) return;
  for (int i = 0; i < VoiceCount(); ++i) {
    if (i == m_shown) continue;
    auto& other = m_records[static_cast<std::size_t>(i)];
    if (other.Category == category) continue;
    const auto drumCode = other.DrumCode;
    const auto drumValue = other.DrumValue;
    other = record;
    other.DrumCode = drumCode;
    other.DrumValue = drumValue;
  }
}

void StaffPropsModel::ShowRow(int row) {
  const InstrumentRow& r = TableRow(row);
  m_voiceText = r.Description;
  if (!DrumMode()) m_clef = r.DefaultClef;
  m_highText = NoteName(r.High);
  m_lowText = NoteName(r.Low);
  m_pitchText = std::to_string(r.Pitch);
  m_offsetText = std::to_string(r.Offset);
}

void StaffPropsModel::ChooseType(int index) {
  if (m_busy || index < 0 || index >= static_cast<int>(m_types.size()) || m_shown < 0) return;
  MarkModified();
  m_typeIndex = index;
  const int n = m_types[static_cast<std::size_t>(index)].Value;
  ShowRow(n);
  auto& record = m_records[static_cast<std::size_t>(m_shown)];
  // The description box follows the type the user chose.
  if (m_flags.Loaded()) record.Description = m_voiceText;
  record.Value = n;
  record.Pitch = TableRow(n).Pitch;
  record.Offset = TableRow(n).Offset;
  if (record.Category == catDrums) {
    if (m_drumSlot >= 0) {
      m_slotCodes[static_cast<std::size_t>(m_drumSlot)] = n;
      record.DrumCode[static_cast<std::size_t>(m_drumSlot)] = n;
      record.DrumValue[static_cast<std::size_t>(m_drumSlot)] = record.Offset;
    } else {
      m_drumSlot = 0;
    }
  }
}

void StaffPropsModel::ChooseDrumSlot(int slot) {
  if (m_busy || slot < 0 || slot >= kDrumSlots) return;
  m_drumSlot = slot;
  LoadedOff quiet(m_flags);
  const int code = m_slotCodes[static_cast<std::size_t>(slot)];
  const auto match = std::find_if(m_types.begin(), m_types.end(),
                                  [&](const InstrumentChoice& c) { return c.Value == code; });
  ChooseType(match != m_types.end() ? static_cast<int>(match - m_types.begin()) : 0);
}

void StaffPropsModel::ChooseClef(int clef) {
  if (clef < clfPercussion || clef > clfTenor) return;
  if (DrumMode()) return;  // a drum staff keeps the percussion clef
  m_clef = clef;
  MarkModified();
}

void StaffPropsModel::SetVoiceText(std::string text) {
  m_voiceText = std::move(text);
  if (!m_flags.Loaded() || m_shown < 0) return;
  MarkModified();
  m_records[static_cast<std::size_t>(m_shown)].Description = m_voiceText;
}

// ---------------------------------------------------------------------------------------
// Apply

void StaffPropsModel::Apply(Score& score) {
  if (!m_flags.BeginApply() || !m_staff) return;
  const Internal key;
  score.SetChanged(true);
  m_staff->SetDescription(m_description);
  m_staff->SetScalePct(ValidateNumber(m_heightText, {kMinHeight, kMaxHeight}));
  m_staff->SetMute(m_mute);
  m_staff->SetVisible(m_visible);
  int flags = 0;
  for (int i = 0; i < kFlagCount; ++i)
    if (m_flagBoxes[static_cast<std::size_t>(i)]) flags |= 1 << i;
  m_staff->SetFlags(flags & 0xFF);

  auto& instruments = score.AllInstruments();
  for (int i = 0; i < VoiceCount(); ++i) {
    const VoiceRecord& record = m_records[static_cast<std::size_t>(i)];
    // The program's instrument, shared with every voice that plays it.
    auto instrument = instruments.Add(instruments.NewID(), record.Value);
    if (!instrument) continue;  // sixteen instruments and none plays it: leave the voice
    instrument->SetCategory(key, m_category >= 0 ? m_category : record.Category);
    instrument->SetPitch(key, record.Pitch);
    instrument->SetOffset(key, record.Offset);
    for (int k = 0; k < kDrumSlots; ++k) {
      instrument->SetDrumCode(k + 1, record.DrumCode[static_cast<std::size_t>(k)]);
      instrument->SetDrumValue(k + 1, record.DrumValue[static_cast<std::size_t>(k)]);
    }
    auto voice = m_voices[static_cast<std::size_t>(i)];
    if (!voice) {
      voice = m_staff->AddVoice(instrument);
      if (!voice) continue;
      m_voices[static_cast<std::size_t>(i)] = voice;
    }
    voice->SetInstrumentID(key, instrument->InstrumentID(key));
    voice->SetDescription(record.Description);
  }
  if (m_clef >= clfPercussion && m_clef <= clfTenor) m_staff->SetDefaultClef(m_clef);
  score.RestartPagination(1);
  score.PaintWindow();
}

}  // namespace notecraft::dialogs
