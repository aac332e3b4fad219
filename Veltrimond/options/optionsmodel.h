#pragma once
// What the Defaults dialog edits, without its widgets: the unit and paper size, the MIDI
// devices, the margins and spacing, page numbering and the five drawing colours. It holds
// the boxes' texts as the user typed them and the working values made from them; Apply puts
// the values into the editor's state and stores the devices, OK does that too and answers
// 1 so that the frame writes section Options, Cancel answers 2 and changes nothing more.
//
// Until Activate() (the dialog first shown) and after Close(), edits change the texts but do
// not count as edits: the form fills its controls then.

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

#include "Veltrimond/core/appstate.h"
#include "Veltrimond/options/mididevicelist.h"

namespace veltrimond {

class OptionsModel final : public QObject {
  Q_OBJECT

public:
  // The dialog's answer: loaded (and closed by other means), OK, Cancel.
  static constexpr int kResultLoaded = 5;
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;
  // What a device list holds when the system has no device of its kind.
  static constexpr int kNoDeviceId = -2;

  // The values of state and the devices stored in section Devices (by name, then id).
  OptionsModel(const AppState& state, const MidiDeviceLists& devices, QObject* parent = nullptr);

  static QStringList PageSizeNames();
  static QStringList UnitNames();

  int Result() const noexcept { return m_result; }
  bool Ready() const noexcept { return m_ready; }
  bool Modified() const noexcept { return m_modified; }
  // The dialog is shown: edits count from now on, and nothing is modified yet.
  void Activate();
  // The dialog is gone: edits no longer count.
  void Close() { m_ready = false; }

  // General.
  int PageSize() const noexcept { return m_pageSize; }
  void SetPageSize(int index);
  // The selected paper's size in the unit shown; empty for a custom size.
  QString PageWidthText() const;
  QString PageHeightText() const;
  int Unit() const noexcept { return m_unit; }
  // Shows every length again in the new unit.
  void SetUnit(int unit);
  const QVector<MidiDeviceEntry>& InputItems() const noexcept { return m_inputs; }
  const QVector<MidiDeviceEntry>& OutputItems() const noexcept { return m_outputs; }
  int InputIndex() const noexcept { return m_inputIndex; }
  int OutputIndex() const noexcept { return m_outputIndex; }
  void SetInputIndex(int index);
  void SetOutputIndex(int index);

  // Score: margins 0 top, 1 bottom, 2 left, 3 right; dimensions 0 staff height, 1 staff
  // spacing, 2 system spacing. Values in inches.
  QString MarginText(int i) const { return m_marginText.at(i); }
  void SetMarginText(int i, const QString& text);
  double Margin(int i) const { return m_margin.at(i); }
  QString DimensionText(int i) const { return m_dimensionText.at(i); }
  void SetDimensionText(int i, const QString& text);
  double Dimension(int i) const { return m_dimension.at(i); }
  bool PageNumbering() const noexcept { return m_pageNumbering; }
  void SetPageNumbering(bool on);
  // "Except first page" means something only while page numbers are printed.
  bool PageNumbering1Enabled() const noexcept { return m_pageNumbering; }
  bool PageNumbering1() const noexcept { return m_pageNumbering1; }
  void SetPageNumbering1(bool on);
  bool ReverseEvenOdd() const noexcept { return m_reverse; }
  void SetReverseEvenOdd(bool on);

  // Editor: colour rows 0..4 (lines and text, bars and clefs, notes and rests, dynamics and
  // ties, lyrics and chords), components 0 red, 1 green, 2 blue.
  QString ColorText(int row, int component) const { return m_colorText.at(row).at(component); }
  void SetColorText(int row, int component, const QString& text);
  // The colour of row i from its boxes, each clamped to 0..255 (the boxes keep what was
  // typed); 0 for a row outside 0..4.
  std::int32_t Color(int i);
  // Writes the three components of |value| into row i's boxes.
  void SetColor(int i, std::int32_t value);
  // The working colours, as the sample draws them.
  const std::array<std::int32_t, 5>& Colors() const noexcept { return m_color; }

  // Puts the values into state, stores the chosen devices (name and id) and calls
  // reloadDefaults; nothing when there is no edit since the last Apply.
  void Apply(AppState& state, const std::function<void()>& reloadDefaults);
  void Ok(AppState& state, const std::function<void()>& reloadDefaults);
  void Cancel();

signals:
  void modifiedChanged(bool modified);
  // The margin, dimension and paper-size texts were rewritten.
  void valuesShown();
  // The boxes of a colour row were rewritten.
  void colorRowShown(int row);
  // The sample's colours changed.
  void sampleChanged();

private:
  void SetModified(bool modified);
  void ShowValues();
  static void FillDevices(QVector<MidiDeviceEntry>& items, int& index,
                          const QVector<MidiDeviceEntry>& listed, const QString& caption, int id);

  int m_result = kResultLoaded;
  bool m_ready = false;
  bool m_busy = false;
  bool m_modified = false;
  int m_unit = 0;
  int m_pageSize = 0;
  QVector<MidiDeviceEntry> m_inputs, m_outputs;
  int m_inputIndex = 0, m_outputIndex = 0;
  std::array<QString, 4> m_marginText;
  std::array<double, 4> m_margin{};
  std::array<QString, 3> m_dimensionText;
  std::array<double, 3> m_dimension{};
  bool m_pageNumbering = false, m_pageNumbering1 = false, m_reverse = false;
  std::array<std::array<QString, 3>, 5> m_colorText;
  std::array<std::int32_t, 5> m_color{};
};

}  // namespace veltrimond
