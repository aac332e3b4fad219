#pragma once
// "Score Properties": key, time signature and pulse, measure numbering, copyright and tempo
// (General); titles, fonts and the tempo note (Titles); paper, margins, page numbers and
// spacing (Dimensions); chord display, the score's chord shapes in a chord mapper, and capo
// (Chords). The rules live in ScorePropsModel; the chord mapper edits the score's own chord
// table directly, so its edits stay even when the dialog is cancelled.

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "notecraft/dialogs/ctxdialog.h"
#include "notecraft/dialogs/scorepropsmodel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace harmonygrid {
class Chord;
class ChordMapper;
}  // namespace harmonygrid

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class UpDown;

class frmCTXScore final : public CtxDialog {
  Q_OBJECT

public:
  explicit frmCTXScore(QWidget* parent = nullptr);
  ~frmCTXScore() override;
  // Shares the score's chord table with the chord mapper (before Init).
  void InitChordMapper(std::shared_ptr<harmonygrid::Chord> chord);
  void Init(Score& score);
  const ScorePropsModel& Model() const { return m_model; }

protected:
  void OnOk() override;
  void OnApply() override;

private:
  void CreateGeneralPage();
  void CreateTitlesPage();
  void CreateDimensionsPage();
  void CreateChordsPage();
  void LayOut();
  void ShowModel();
  QLineEdit* TextBox(const QString& name, QWidget* parent, std::function<void(std::string)> edit);
  QPushButton* FontButton(int index, QWidget* parent);
  QLabel* Label(const QString& name, const QString& caption, QWidget* parent);

  ScorePropsModel m_model;
  Score* m_score = nullptr;  // not owned; the caller keeps the score while the dialog is up
  bool m_showing = false;

  QTabWidget* tabMain = nullptr;
  // General
  QComboBox* cboMajor = nullptr;
  QComboBox* cboMinor = nullptr;
  QCheckBox* chkMajMin = nullptr;
  std::array<QToolButton*, 10> optTime{};
  std::array<QLineEdit*, 2> txtTime{};
  QLineEdit* txtPulse = nullptr;
  QCheckBox* chkNumber = nullptr;
  std::array<QRadioButton*, 2> optNumber{};
  QLineEdit* txtNumber = nullptr;
  UpDown* updNumber = nullptr;
  std::array<QToolButton*, 6> optPos{};
  std::array<QLineEdit*, 2> txtCopyright{};
  QLineEdit* txtTempo = nullptr;
  // Titles
  std::array<QLineEdit*, 2> txtTitle{};
  std::array<QLineEdit*, 2> txtComposer{};
  QLineEdit* txtHeading = nullptr;
  std::array<QPushButton*, ScorePropsModel::kFonts> cmdFont{};
  QWidget* pctTempo = nullptr;
  QLabel* lblTempo = nullptr;
  QCheckBox* chkTempo = nullptr;
  // Dimensions
  QComboBox* cboPage = nullptr;
  std::array<QLineEdit*, 2> txtPage{};
  std::array<QRadioButton*, 2> optPage{};
  std::array<QLabel*, 2> imgPage{};
  std::array<QLineEdit*, 4> txtMargin{};
  std::array<QCheckBox*, 2> chkPage{};
  QCheckBox* chkReverse = nullptr;
  std::array<QLineEdit*, 3> txtDimension{};
  // Chords
  std::array<QCheckBox*, 2> chkChords{};
  harmonygrid::ChordMapper* chmChord = nullptr;
  QCheckBox* chkCapo = nullptr;
  QLineEdit* txtCapo = nullptr;
};

}  // namespace notecraft::dialogs
