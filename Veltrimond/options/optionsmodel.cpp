#include "Veltrimond/options/optionsmodel.h"

#include <algorithm>
#include <cstdlib>

#include "Veltrimond/options/measureunits.h"
#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "platform/settingsstore.h"

namespace veltrimond {

namespace {

const QString kDevices = QStringLiteral("Devices");

// The paper-size list holds the PageSizes in order, Custom last.
constexpr int kPaperCount = notecraft::pgsCustom + 1;

int ClampComponent(const QString& text) {
  const double v = LeadingNumber(text);
  return static_cast<int>(std::clamp(v, 0.0, 255.0));
}

}  // namespace

QStringList OptionsModel::PageSizeNames() {
  return {QStringLiteral("Letter (8.5 x 11)"),       QStringLiteral("Legal (8.5 x 14)"),
          QStringLiteral("Executive (7.25 x 10.5)"), QStringLiteral("A4 (8.27 x 11.69)"),
          QStringLiteral("A5 (5.83 x 8.27)"),        QStringLiteral("Custom")};
}

QStringList OptionsModel::UnitNames() {
  return {QStringLiteral("inches (\")"), QStringLiteral("millimeters (mm)")};
}

void OptionsModel::FillDevices(QVector<MidiDeviceEntry>& items, int& index,
                               const QVector<MidiDeviceEntry>& listed, const QString& caption,
                               int id) {
  items = listed;
  if (items.isEmpty()) items.append({QStringLiteral("(None)"), kNoDeviceId});
  index = std::max(0, FindStoredDevice(items, caption, id));
}

OptionsModel::OptionsModel(const AppState& state, const MidiDeviceLists& devices, QObject* parent)
    : QObject(parent) {
  const OptionSettings& o = state.Options;
  FillDevices(m_inputs, m_inputIndex, devices.Inputs,
              platform::ReadSetting(kDevices, QStringLiteral("Record")), state.RecordDeviceID);
  FillDevices(m_outputs, m_outputIndex, devices.Outputs,
              platform::ReadSetting(kDevices, QStringLiteral("Play")), state.PlayDeviceID);
  // Values from the settings file may be anything: out-of-list indexes fall back.
  m_unit = o.UOM == kUnitMillimetres ? kUnitMillimetres : kUnitInches;
  m_pageSize = o.PageSize >= 0 && o.PageSize < kPaperCount ? o.PageSize : 0;
  for (int i = 0; i < 5; ++i) SetColor(i, o.Color[static_cast<std::size_t>(i)]);
  std::copy(o.Margin.begin(), o.Margin.end(), m_margin.begin());
  m_dimension = {o.StaffHeight, o.StaffSpacing, o.SystemSpacing};
  ShowValues();
  m_reverse = o.ReverseEvenOdd;
  m_pageNumbering = o.PageNumbering;
  m_pageNumbering1 = o.PageNumbering1;
}

void OptionsModel::Activate() {
  if (m_ready) return;
  m_ready = true;
  SetModified(false);
}

void OptionsModel::SetModified(bool modified) {
  if (modified && (!m_ready || m_busy)) return;
  if (m_modified == modified) return;
  m_modified = modified;
  emit modifiedChanged(modified);
}

void OptionsModel::ShowValues() {
  for (std::size_t i = 0; i < m_margin.size(); ++i)
    m_marginText[i] = FormatMeasure(m_unit, m_margin[i], kUnitInches);
  for (std::size_t i = 0; i < m_dimension.size(); ++i)
    m_dimensionText[i] = FormatMeasure(m_unit, m_dimension[i], kUnitInches);
  emit valuesShown();
}

void OptionsModel::SetPageSize(int index) {
  if (index < 0 || index >= kPaperCount || index == m_pageSize) return;
  m_pageSize = index;
  SetModified(true);
  emit valuesShown();
}

QString OptionsModel::PageWidthText() const {
  const auto paper = notecraft::PaperSizeInches(m_pageSize);
  return paper ? FormatMeasure(m_unit, paper->Width, kUnitInches) : QString();
}

QString OptionsModel::PageHeightText() const {
  const auto paper = notecraft::PaperSizeInches(m_pageSize);
  return paper ? FormatMeasure(m_unit, paper->Height, kUnitInches) : QString();
}

void OptionsModel::SetUnit(int unit) {
  if (!m_ready || (unit != kUnitInches && unit != kUnitMillimetres) || unit == m_unit) return;
  m_unit = unit;
  ShowValues();
  SetModified(true);
}

void OptionsModel::SetInputIndex(int index) {
  if (index < 0 || index >= m_inputs.size()) return;
  m_inputIndex = index;
  SetModified(true);
}

void OptionsModel::SetOutputIndex(int index) {
  if (index < 0 || index >= m_outputs.size()) return;
  m_outputIndex = index;
  SetModified(true);
}

void OptionsModel::SetMarginText(int i, const QString& text) {
  m_marginText.at(static_cast<std::size_t>(i)) = text;
  if (!m_ready) return;
  m_margin.at(static_cast<std::size_t>(i)) = ParseMeasure(kUnitInches, text, m_unit);
  SetModified(true);
}

void OptionsModel::SetDimensionText(int i, const QString& text) {
  m_dimensionText.at(static_cast<std::size_t>(i)) = text;
  if (!m_ready) return;
  m_dimension.at(static_cast<std::size_t>(i)) = ParseMeasure(kUnitInches, text, m_unit);
  SetModified(true);
}

void OptionsModel::SetPageNumbering(bool on) {
  m_pageNumbering = on;
  SetModified(true);
}

void OptionsModel::SetPageNumbering1(bool on) {
  m_pageNumbering1 = on;
  SetModified(true);
}

void OptionsModel::SetReverseEvenOdd(bool on) {
  m_reverse = on;
  SetModified(true);
}

void OptionsModel::SetColorText(int row, int component, const QString& text) {
  if (row < 0 || row >= 5 || component < 0 || component >= 3) return;
  m_colorText[static_cast<std::size_t>(row)][static_cast<std::size_t>(component)] = text;
  if (m_busy) return;
  SetModified(true);
  Color(row);
  emit sampleChanged();
}

std::int32_t OptionsModel::Color(int i) {
  if (i < 0 || i >= 5) return 0;
  const auto& row = m_colorText[static_cast<std::size_t>(i)];
  const std::int32_t color =
      ClampComponent(row[0]) + 256 * ClampComponent(row[1]) + 65536 * ClampComponent(row[2]);
  m_color[static_cast<std::size_t>(i)] = color;
  return color;
}

void OptionsModel::SetColor(int i, std::int32_t value) {
  if (i < 0 || i >= 5) return;
  // The absolute value of the most negative number does not exist; it is no colour anyway.
  const std::int64_t v = std::llabs(static_cast<std::int64_t>(value));
  const std::int64_t blue = v / 65536;
  const std::int64_t rest = v - 65536 * blue;
  m_color[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(v & 0x7FFFFFFF);
  m_busy = true;
  auto& row = m_colorText[static_cast<std::size_t>(i)];
  row = {QString::number(rest & 255), QString::number(rest / 256), QString::number(blue)};
  emit colorRowShown(i);
  m_busy = false;
  if (m_ready) emit sampleChanged();
}

void OptionsModel::Apply(AppState& state, const std::function<void()>& reloadDefaults) {
  if (!m_modified) return;
  SetModified(false);
  m_busy = true;
  OptionSettings& o = state.Options;
  o.UOM = m_unit;
  o.PageSize = m_pageSize;
  // The working lengths: each box typed in was read as it changed; one left alone keeps its
  // value whole rather than the tenth of a millimetre it shows.
  std::copy(m_margin.begin(), m_margin.end(), o.Margin.begin());
  o.StaffHeight = m_dimension[0];
  o.StaffSpacing = m_dimension[1];
  o.SystemSpacing = m_dimension[2];
  ShowValues();
  o.ReverseEvenOdd = m_reverse;
  o.PageNumbering = m_pageNumbering;
  o.PageNumbering1 = m_pageNumbering1;
  o.Color = m_color;
  {
    platform::SettingsBatch batch;
    const MidiDeviceEntry& in = m_inputs.at(m_inputIndex);
    state.RecordDeviceID = in.DeviceID;
    batch.Write(kDevices, QStringLiteral("Record"), in.Caption);
    batch.Write(kDevices, QStringLiteral("RecordID"), in.DeviceID);
    const MidiDeviceEntry& out = m_outputs.at(m_outputIndex);
    state.PlayDeviceID = out.DeviceID;
    batch.Write(kDevices, QStringLiteral("Play"), out.Caption);
    batch.Write(kDevices, QStringLiteral("PlayID"), out.DeviceID);
  }
  if (reloadDefaults) reloadDefaults();
  m_busy = false;
}

void OptionsModel::Ok(AppState& state, const std::function<void()>& reloadDefaults) {
  Apply(state, reloadDefaults);
  m_result = kResultOk;
  Close();
}

void OptionsModel::Cancel() {
  m_result = kResultCancel;
  Close();
}

}  // namespace veltrimond
