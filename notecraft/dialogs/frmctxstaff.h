#pragma once
// "Staff Properties": the selected staff's description, height, mute, visibility and options
// (General page) and its voices' instruments, descriptions and clef, or a drum staff's eight
// drum slots (Instruments page). The Index spin moves to another staff, applying first. The
// rules live in StaffPropsModel; the form shows its state.

#include <array>

#include "notecraft/dialogs/ctxdialog.h"
#include "notecraft/dialogs/staffpropsmodel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabWidget;

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class UpDown;

class frmCTXStaff final : public CtxDialog {
  Q_OBJECT

public:
  explicit frmCTXStaff(QWidget* parent = nullptr);
  void Init(Score& score);
  const StaffPropsModel& Model() const { return m_model; }

protected:
  void OnOk() override;
  void OnApply() override;

private:
  void CreateHeader();
  void CreateGeneralPage();
  void CreateInstrumentsPage();
  void LayOut();
  void ShowModel();
  QLabel* Label(int index, const QString& caption, QWidget* parent);

  StaffPropsModel m_model;
  Score* m_score = nullptr;  // not owned; the caller keeps the score while the dialog is up
  bool m_showing = false;

  std::array<QLabel*, 15> lblLabel{};
  QLineEdit* txtIndex = nullptr;
  UpDown* updIndex = nullptr;
  QLineEdit* txtDescription = nullptr;
  QTabWidget* tabMain = nullptr;
  QLineEdit* txtHeight = nullptr;
  QLineEdit* txtVoices = nullptr;
  UpDown* updVoices = nullptr;
  QCheckBox* chkMute = nullptr;
  QCheckBox* chkVisible = nullptr;
  QGroupBox* fmeDefaults = nullptr;
  std::array<QCheckBox*, StaffPropsModel::kFlagCount> chkDefault{};
  QStackedWidget* voiceOrSlot = nullptr;
  QComboBox* cboVoice = nullptr;
  QComboBox* cboInst = nullptr;
  QComboBox* cboCategory = nullptr;
  QComboBox* cboType = nullptr;
  QComboBox* cboClef = nullptr;
  QLineEdit* txtText = nullptr;
  QLineEdit* txtSplit = nullptr;
  QGroupBox* fmeRange = nullptr;
  QLineEdit* txtLow = nullptr;
  QLineEdit* txtHigh = nullptr;
  QGroupBox* fmeOffset = nullptr;
  QLineEdit* txtPitch = nullptr;
  QLineEdit* txtOffset = nullptr;
};

}  // namespace notecraft::dialogs
