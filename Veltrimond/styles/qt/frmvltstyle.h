#pragma once
// "Insert Style": the user picks an accompaniment style of the styles folder (filtered by
// type and beat), the measures to fill, and the root and octave to move it to, and can
// listen to a style with the score player. Insert only hides the dialog; the frame reads
// Request() and lays the style in (IFrame::InsertStyle).

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "Veltrimond/styles/styletable.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace notecraft::dialogs {
class UpDown;
}

namespace veltrimond::styles {

class frmVLTStyle final : public QDialog {
  Q_OBJECT

public:
  // Starts a program detached: (program, arguments) -> started.
  using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

  // Lists every style of stylePath (the table is built here, on every opening); files that
  // cannot be used are named below the list. The list is filled when the dialog is first
  // shown, with the filters the caller set meanwhile.
  explicit frmVLTStyle(const QString& stylePath, QWidget* parent = nullptr);

  QString StylePath() const { return m_stylePath; }
  // The player: program folder + "/listenbox" by default, started with QProcess.
  void SetPlayer(const QString& program, Launcher launcher = {});

  // Filter indexes: type 0 all, 1 treble, 2 bass, 3 drums; beat 0 all, 1 2/4, 2 3/4,
  // 3 4/4, 4 other. Out-of-range values select "(All)".
  void SetTypeIndex(int index);
  void SetBeatIndex(int index);
  void SetMeasure(long measure);

  // What Insert asked for; valid after the dialog was accepted.
  struct Request {
    QString file;  // the style file
    int first = 1;
    int end = 2;  // the measure before which filling stops (kToScoreEnd: the score's end)
    int shift = 0;
  };
  Request TheRequest() const;

  // The file of the selected style; empty without a selection.
  QString SelectedStyleFile() const;
  const StyleTable& Table() const { return m_table; }

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateControls();
  void FillList();
  void OnStyleSelected();
  void SetTransposeEnabled(bool enabled);
  void OnQuantOption(int index);
  void OnBoxEdited(QLineEdit* box);
  void StepOctave(int delta);
  void OnListen();
  void OnInsert();
  // The keyword a measure box takes ("First", "Null", "Last"); empty for other boxes.
  static QString KeywordOf(const QObject* box);

  QString m_stylePath;
  StyleTable m_table;
  bool m_ready = false;
  bool m_filled = false;
  QString m_player;
  Launcher m_launch;

  QComboBox* cboType = nullptr;
  QComboBox* cboBeat = nullptr;
  QListWidget* lstStyle = nullptr;
  QLabel* lblSkipped = nullptr;
  QLineEdit* txtAt = nullptr;
  std::array<QRadioButton*, 2> optQuant{};
  QLineEdit* txtQuant = nullptr;
  QLineEdit* txtThrough = nullptr;
  QLabel* lblRoot = nullptr;
  QComboBox* cboRoot = nullptr;
  QLabel* lblOctave = nullptr;
  QLineEdit* txtOctave = nullptr;
  notecraft::dialogs::UpDown* updOctave = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdListen = nullptr;
};

}  // namespace veltrimond::styles
