#pragma once
// "Measure Properties": bar marks, section marks and the ending of the selected measure
// (General page), the time signature with its pulse and the selected staff's key and clef in
// force there (Changes page); the number box and the staff spin move to another measure or
// staff, applying first. The rules live in MeasurePropsModel; the form shows its state.

#include <array>

#include "notecraft/dialogs/ctxdialog.h"
#include "notecraft/dialogs/measurepropsmodel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class UpDown;

class frmCTXMeasure final : public CtxDialog {
  Q_OBJECT

public:
  explicit frmCTXMeasure(QWidget* parent = nullptr);
  void Init(Score& score);
  const MeasurePropsModel& Model() const { return m_model; }

protected:
  void OnOk() override;
  void OnApply() override;

private:
  void CreateHeader();
  void CreateGeneralPage();
  void CreateChangesPage();
  void LayOut();
  void ShowModel();
  QLabel* Label(int index, const QString& caption, QWidget* parent);

  MeasurePropsModel m_model;
  Score* m_score = nullptr;  // not owned; the caller keeps the score while the dialog is up
  bool m_showing = false;

  QLineEdit* txtNumber = nullptr;
  UpDown* updNumber = nullptr;
  QLineEdit* txtIndex = nullptr;
  UpDown* updIndex = nullptr;
  QLineEdit* txtDescription = nullptr;
  std::array<QLabel*, 6> lblLabel{};
  QTabWidget* tabMeasure = nullptr;
  QGroupBox* fmeBars = nullptr;
  QGroupBox* fmeSections = nullptr;
  QGroupBox* fmeMisc = nullptr;
  std::array<QCheckBox*, 4> chkBars{};
  std::array<QCheckBox*, 4> chkSection{};
  std::array<QCheckBox*, 4> chkMisc{};
  QLineEdit* txtEnding = nullptr;
  QLineEdit* txtRest = nullptr;
  QGroupBox* fmeTime = nullptr;
  std::array<QToolButton*, 10> optTime{};
  std::array<QLineEdit*, 2> txtTime{};
  QLineEdit* txtPulse = nullptr;
  QPushButton* cmdClearRest = nullptr;
  QGroupBox* fmeKey = nullptr;
  QComboBox* cboMajor = nullptr;
  QComboBox* cboMinor = nullptr;
  QCheckBox* chkMajMin = nullptr;
  QPushButton* cmdClear = nullptr;
  QGroupBox* fmeOther = nullptr;
  QComboBox* cboClef = nullptr;
  QLineEdit* txtClef = nullptr;
  std::array<QCheckBox*, 2> chkOther{};
};

}  // namespace notecraft::dialogs
