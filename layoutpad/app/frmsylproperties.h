#pragma once
// The style's properties: its time signature (one of the common ones, or beats over a note
// value typed in) and, for a drum style, the drums of its kit.

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace notecraft {
class Score;
}

namespace layoutpad {

// Time signatures as the score stores them: beats x 128 + the beat's length in 64ths.
inline constexpr int kTimeSignatures[] = {1160, 656, 776, 392, 528, 400, 272};
// beats/noteValue packed; 0 when they make no time signature (beats 1..99, a note value of
// 1, 2, 4, 8, 16 or 32).
int PackTimeSignature(int beats, int noteValue) noexcept;

class frmSYLProperties final : public QDialog {
  Q_OBJECT

public:
  frmSYLProperties(notecraft::Score& style, bool drums, QWidget* parent = nullptr);

  // The time signature chosen; 0 while the typed one is not valid.
  int ChosenTimeSignature() const;
  // Gives the style the chosen time signature. True when that changed it.
  bool Apply();

private:
  void UpdateOk();

  notecraft::Score& m_style;
  QTabWidget* tabProperties = nullptr;
  QButtonGroup* optTime = nullptr;
  QLineEdit* m_beats = nullptr;
  QLineEdit* m_noteValue = nullptr;
  QPushButton* cmdOk = nullptr;
};

}  // namespace layoutpad
