#include "notecraft/dialogs/updown.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace notecraft::dialogs {

UpDown::UpDown(int min, int max, QWidget* parent) : QWidget(parent), m_range{min, max} {
  m_value = min;
  m_up = new QToolButton(this);
  m_down = new QToolButton(this);
  m_up->setObjectName(QStringLiteral("up"));
  m_down->setObjectName(QStringLiteral("down"));
  m_up->setArrowType(Qt::UpArrow);
  m_down->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {m_up, m_down}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(16, 11);
  }
  auto* arrows = new QVBoxLayout(this);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(m_up);
  arrows->addWidget(m_down);
  connect(m_up, &QToolButton::clicked, this, [this] { emit Stepped(+1); });
  connect(m_down, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void UpDown::SetRange(int min, int max) {
  m_range = NumberRange{min, std::max(min, max)};
  m_value = m_range.Clamp(m_value);
}

}  // namespace notecraft::dialogs
