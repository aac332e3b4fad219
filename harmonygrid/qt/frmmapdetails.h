#pragma once
// The modal "Chord Map" dialog: one chord shape edited on a fretboard picture, with its name
// (txtKey), chord text (txtText, on the picture), and position (fmePosition: Open, or a fret
// 1..27 in txtPosition with the updPosition arrows). Every rule lives in ShapeEditModel; the
// dialog forwards its controls' events there and shows the model's state.
//
// The caller sets the shape (SetMap) before exec() and reads Result(), Changed() and Map()
// afterwards: Result() is 1 after Ok, 2 after Cancel (or Escape), and 5 when the dialog was
// closed any other way, in which case the caller does nothing.

#include <array>
#include <functional>

#include <QDialog>
#include <QString>

#include "harmonygrid/core/shapeeditmodel.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace harmonygrid {

class FretboardPicture;

class frmMAPDetails final : public QDialog {
  Q_OBJECT

public:
  explicit frmMAPDetails(QWidget* parent = nullptr);

  // The shape to edit, before the dialog is shown; a dialog left alone edits a new, empty
  // shape. The copy is not an edit.
  void SetMap(const clsMap& shape);
  const clsMap& Map() const noexcept { return m_model.Map(); }
  bool Changed() const noexcept { return m_model.Changed(); }
  int Result() const noexcept { return m_model.Result(); }
  const ShapeEditModel& Model() const noexcept { return m_model; }

  // Asked on Ok with the normalised shape: a message refuses Ok, is shown to the user, and
  // the dialog stays open; an empty one lets Ok close it.
  using OkCheck = std::function<QString(const clsMap&)>;
  void SetOkCheck(OkCheck check) { m_okCheck = std::move(check); }

protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateName();
  void CreatePicture();
  void CreatePosition();
  void CreateButtons();
  void LayOut();
  // Shows the model's state in the controls without raising their edit signals.
  void ShowModel();
  void OnOk();
  void OnCancel();
  bool FilterPositionKey(QKeyEvent* event);

  ShapeEditModel m_model;
  OkCheck m_okCheck;

  QLabel* lblLabel = nullptr;
  QLineEdit* txtKey = nullptr;
  FretboardPicture* pctBase = nullptr;
  QLineEdit* txtText = nullptr;
  QGroupBox* fmePosition = nullptr;
  std::array<QRadioButton*, 2> optPosition{};
  QLineEdit* txtPosition = nullptr;
  QWidget* updPosition = nullptr;
  QToolButton* updPositionUp = nullptr;
  QToolButton* updPositionDown = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace harmonygrid
