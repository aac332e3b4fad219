#pragma once
// The "Range" frame both tool dialogs share: Staff (All or one staff), From (Beginning or a
// measure), To (End or a measure), or Selection: the notes selected on the page, offered
// only while there are some. In the transpose dialog choosing Selection greys the staff and
// measure controls; the copy/move dialog keeps them usable whichever choice is made.

#include <QGroupBox>
#include <array>

#include "edittools/core/tooldialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace notecraft {
class Score;
}
namespace notecraft::dialogs {
class UpDown;
}

namespace edittools {

class RangeFrame : public QGroupBox {
  Q_OBJECT

public:
  // Number boxes are made by the owning dialog (key filter, spin).
  using BoxMaker = std::function<void(QLineEdit*, notecraft::dialogs::UpDown*)>;
  enum class OnSelection { GreyRange, KeepRange };
  RangeFrame(QWidget* parent, const BoxMaker& makeBox, OnSelection onSelection);

  // Fills the staff list, puts the current measure in both boxes and offers Selection when
  // notes are selected.
  void Init(const notecraft::Score& score, long curMeasure);
  RangeChoice Choice() const;
  // Greys the staff and measure controls (Selection chosen) or makes them usable.
  void SetRangeControlsEnabled(bool enabled);

  std::array<QRadioButton*, 2> optRange{};
  QComboBox* cboStaff = nullptr;
  std::array<QLabel*, 2> lblLabel{};  // "From:", "To:"
  QWidget* pctFrom = nullptr;
  std::array<QRadioButton*, 2> optFrom{};
  QLineEdit* txtFrom = nullptr;
  notecraft::dialogs::UpDown* updFrom = nullptr;
  QWidget* pctTo = nullptr;
  std::array<QRadioButton*, 2> optTo{};
  QLineEdit* txtTo = nullptr;
  notecraft::dialogs::UpDown* updTo = nullptr;
};

// The largest measure number the spin controls reach.
inline constexpr int kMaxMeasure = 99999;

}  // namespace edittools
