// The drum panel: which drum sounds each drum staff offers, and the labels and combos that
// show them.
#include "Veltrimond/child/chdvltmain_drumpanel.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <cmath>

#include "Veltrimond/child/chdvltmain.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"

namespace veltrimond {

std::vector<DrumSlot> DrumSlots(const std::array<int, 8>& codes) {
  std::vector<DrumSlot> listed;
  int previous = 0;
  for (int slot = 1; slot <= 8; ++slot) {
    const int code = codes[static_cast<std::size_t>(slot - 1)];
    if (code == 0 || (slot > 1 && code == codes[0])) break;
    // Each staff's list starts afresh: the previous code never carries over from another kit.
    if (code != previous) listed.push_back({slot, code});
    previous = code;
  }
  return listed;
}

std::vector<DrumStaff> DrumStaves(const notecraft::Score& score) {
  std::vector<DrumStaff> staves;
  for (const auto& staff : score.AllStaffs()) {
    const auto voice = staff ? staff->Voice(1) : nullptr;
    const auto instrument = voice ? voice->Instrument() : nullptr;
    if (!instrument || instrument->Category() != notecraft::catDrums) continue;
    std::array<int, 8> codes{};
    for (int slot = 1; slot <= 8; ++slot)
      codes[static_cast<std::size_t>(slot - 1)] = instrument->DrumCode(slot);
    DrumStaff entry;
    entry.StaffIndex = staff->Index();
    entry.Caption = QStringLiteral("%1: %2")
                        .arg(staff->Index())
                        .arg(QString::fromStdString(staff->Description()));
    for (const DrumSlot& s : DrumSlots(codes))
      entry.Sounds.emplace_back(s.Slot, QString::fromStdString(score.InsDesc(s.Code)));
    staves.push_back(std::move(entry));
  }
  return staves;
}

DrumPanel::DrumPanel(QWidget& pane) : m_pane(pane) {
  // Entry 0 always exists; hidden, with no staff, it stands for "no drum staff".
  Entry first;
  first.Label = new QLabel(&m_pane);
  first.Label->setObjectName(QStringLiteral("lblDrum"));
  first.Combo = new QComboBox(&m_pane);
  first.Combo->setObjectName(QStringLiteral("cboDrum"));
  first.Label->hide();
  first.Combo->hide();
  m_entries.push_back(first);
}

void DrumPanel::Refresh(const notecraft::Score* score, int top, int width, double pixelsPerTwip) {
  auto px = [pixelsPerTwip](int twips) {
    return static_cast<int>(std::lround(twips * pixelsPerTwip));
  };
  m_top = top;
  m_entries.front().StaffIndex = 0;
  const std::vector<DrumStaff> staves = score ? DrumStaves(*score) : std::vector<DrumStaff>{};
  int y = top + px(kGapAbove);
  for (std::size_t k = 0; k < staves.size(); ++k) {
    if (k >= m_entries.size()) {
      Entry e;
      e.Label = new QLabel(&m_pane);
      e.Label->setObjectName(QStringLiteral("lblDrum%1").arg(k));
      e.Combo = new QComboBox(&m_pane);
      e.Combo->setObjectName(QStringLiteral("cboDrum%1").arg(k));
      m_entries.push_back(e);
    }
    Entry& e = m_entries[k];
    const DrumStaff& staff = staves[k];
    e.StaffIndex = staff.StaffIndex;
    e.Label->setText(staff.Caption);
    e.Label->adjustSize();
    e.Label->move(0, y);
    e.Combo->setGeometry(0, y + px(kComboBelow), width, e.Combo->sizeHint().height());
    y += px(kPairStep);
    e.Combo->clear();
    for (const auto& [slot, description] : staff.Sounds) e.Combo->addItem(description, slot);
    if (e.Combo->count() > 0) e.Combo->setCurrentIndex(0);
    e.Label->show();
    e.Combo->show();
  }
  if (staves.empty()) {
    m_entries.front().Label->hide();
    m_entries.front().Combo->hide();
  }
  // Entries beyond those used go, from the top down; entry 0 stays.
  const std::size_t keep = std::max<std::size_t>(staves.size(), 1);
  while (m_entries.size() > keep) {
    delete m_entries.back().Label;
    delete m_entries.back().Combo;
    m_entries.pop_back();
  }
}

void DrumPanel::SetWidth(int width) {
  for (Entry& e : m_entries) e.Combo->resize(width, e.Combo->height());
}

std::optional<int> DrumPanel::SlotFor(int staffIndex) const {
  if (staffIndex <= 0) return std::nullopt;
  for (const Entry& e : m_entries) {
    if (e.StaffIndex != staffIndex) continue;
    const QVariant slot = e.Combo->currentData();
    if (e.Combo->currentIndex() < 0 || !slot.isValid()) return std::nullopt;
    return slot.toInt();
  }
  return std::nullopt;
}

bool DrumPanel::Shown() const {
  return m_entries.front().StaffIndex > 0;
}

int DrumPanel::Bottom() const {
  if (!Shown()) return m_top;
  const Entry& last = m_entries.back();
  return last.Combo->geometry().bottom() + 1;
}

QLabel* DrumPanel::Label(int k) const {
  return k >= 0 && k < Count() ? m_entries[static_cast<std::size_t>(k)].Label : nullptr;
}

QComboBox* DrumPanel::Combo(int k) const {
  return k >= 0 && k < Count() ? m_entries[static_cast<std::size_t>(k)].Combo : nullptr;
}

ScoreDrumPanel::ScoreDrumPanel(chdVLTMain& window)
    : QObject(&window), m_window(window), m_panel(*window.pctDrums) {
  // The combos are as wide as the pane's title bar.
  m_window.pctTitle->installEventFilter(this);
}

void ScoreDrumPanel::Refresh() {
  constexpr double kPixelsPerTwip = 1.0 / 15;
  m_panel.Refresh(&m_window.Score(), 0, m_window.pctTitle->width(), kPixelsPerTwip);
  m_window.pctDrums->setFixedHeight(m_panel.Bottom() + 4);
  m_window.pctDrums->setVisible(m_panel.Shown());
  m_window.pctToolBox->update();
}

void ScoreDrumPanel::ChooseDrum() {
  if (const auto slot = m_panel.SlotFor(m_window.ActiveStaffNumber()))
    m_window.Score().SetDrumIX(*slot);
}

bool ScoreDrumPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) m_panel.SetWidth(m_window.pctTitle->width());
  return QObject::eventFilter(watched, event);
}

}  // namespace veltrimond
