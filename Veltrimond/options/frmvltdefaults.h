#pragma once
// The modal dialog "Defaults" (Score > Defaults): tabs General (paper, unit, MIDI devices),
// Score (margins, page numbers, spacing) and Editor (the five colours with a sample). The
// values and rules live in OptionsModel; this form shows them and hands edits on.

#include <QDialog>
#include <array>
#include <functional>

#include "Veltrimond/options/optionsmodel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace veltrimond {

class SampleScore;

class frmVLTDefaults final : public QDialog {
  Q_OBJECT

public:
  // reloadDefaults is the frame's, called by Apply to pass the colours to the open windows.
  frmVLTDefaults(AppState& state, const MidiDeviceLists& devices,
                 std::function<void()> reloadDefaults, QWidget* parent = nullptr);

  OptionsModel& Model() { return m_model; }
  // 5 as loaded (and after the close box), 1 after Ok, 2 after Cancel.
  int Result() const { return m_model.Result(); }

  QTabWidget* tabPreferences = nullptr;
  QComboBox* cboPage = nullptr;
  std::array<QLineEdit*, 2> txtPage{};
  QComboBox* cboUOM = nullptr;
  QComboBox* cboOutput = nullptr;
  QComboBox* cboInput = nullptr;
  std::array<QLineEdit*, 4> txtMargin{};
  std::array<QCheckBox*, 2> chkPage{};
  QCheckBox* chkReverse = nullptr;
  std::array<QLineEdit*, 3> txtDimension{};
  std::array<QLineEdit*, 5> txtColorRed{};
  std::array<QLineEdit*, 5> txtColorGreen{};
  std::array<QLineEdit*, 5> txtColorBlue{};
  SampleScore* pctSample = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdApply = nullptr;

  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget* CreateGeneralTab();
  QWidget* CreateScoreTab();
  QWidget* CreateEditorTab();
  QLineEdit* LengthBox(const QString& name);
  void ShowValues();
  void ShowColorRow(int row);

  AppState& m_state;
  std::function<void()> m_reloadDefaults;
  OptionsModel m_model;
  bool m_closeBox = false;
};

}  // namespace veltrimond
