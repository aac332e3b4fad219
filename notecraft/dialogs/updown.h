#pragma once
// The spin control beside a number box: two arrow buttons and a range. It is not bound to its
// box; the dialog moves the box's number on each step, within Min and Max.

#include <QWidget>

#include "notecraft/dialogs/numericfield.h"

class QToolButton;

namespace notecraft::dialogs {

class UpDown final : public QWidget {
  Q_OBJECT

public:
  UpDown(int min, int max, QWidget* parent = nullptr);

  NumberRange Range() const { return m_range; }
  void SetRange(int min, int max);
  int Value() const { return m_value; }
  void SetValue(int value) { m_value = m_range.Clamp(value); }
  QToolButton* UpButton() const { return m_up; }
  QToolButton* DownButton() const { return m_down; }

signals:
  // +1 for the up arrow, -1 for the down arrow.
  void Stepped(int delta);

private:
  NumberRange m_range;
  int m_value = 0;
  QToolButton* m_up = nullptr;
  QToolButton* m_down = nullptr;
};

}  // namespace notecraft::dialogs
