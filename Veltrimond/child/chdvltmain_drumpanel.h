#pragma once
// The drum panel of the tool pane: one label and one combo box per drum staff (a staff whose
// first voice plays a drum kit), listing the kit's sounds. The sound chosen decides which drum
// slot a note entered on that staff plays. Each list item carries its slot number, so that a
// kit whose slots repeat a sound still selects the slot shown.

#include <QObject>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;

namespace notecraft {
class Score;
}  // namespace notecraft

namespace veltrimond {

// One listed drum sound: the kit's slot (1..8) and its instrument-table code.
struct DrumSlot {
  int Slot = 0;
  int Code = 0;
  bool operator==(const DrumSlot&) const = default;
};

// The sounds of a kit's eight slots in slot order: the list stops at the first slot whose
// code is 0 or that repeats slot 1's code; a code equal to the one just before it is left out.
std::vector<DrumSlot> DrumSlots(const std::array<int, 8>& codes);

// One drum staff of a score: its number, the label's caption and the listed sounds
// (slot, description).
struct DrumStaff {
  int StaffIndex = 0;
  QString Caption;
  std::vector<std::pair<int, QString>> Sounds;
};
std::vector<DrumStaff> DrumStaves(const notecraft::Score& score);

class DrumPanel {
public:
  static constexpr int kGapAbove = 240;  // twips below the option bar
  static constexpr int kComboBelow = 210;
  static constexpr int kPairStep = 600;

  // The labels and combos are children of pane.
  explicit DrumPanel(QWidget& pane);

  // Lists the drum staves of score (none for null) from top (pixels) down, each combo
  // width pixels wide; pixelsPerTwip converts the panel's twip spacing.
  void Refresh(const notecraft::Score* score, int top, int width, double pixelsPerTwip);
  // The combos' width (the pane's title bar follows the pane's width).
  void SetWidth(int width);
  // The slot chosen on the staff's combo; nullopt without such a staff or without a choice.
  std::optional<int> SlotFor(int staffIndex) const;
  // Whether any drum staff is listed (the pane draws a separator above the panel).
  bool Shown() const;
  // The bottom of the last combo shown (pixels); top when none.
  int Bottom() const;
  int Count() const { return static_cast<int>(m_entries.size()); }
  QLabel* Label(int k) const;
  QComboBox* Combo(int k) const;

private:
  struct Entry {
    QLabel* Label = nullptr;
    QComboBox* Combo = nullptr;
    int StaffIndex = 0;  // 0: no drum staff
  };
  QWidget& m_pane;
  std::vector<Entry> m_entries;
  int m_top = 0;
};

class chdVLTMain;

// The window's side: the panel in the tool pane's drum area, rebuilt when the score's staves
// change, and the drum a note entered on a drum staff plays.
class ScoreDrumPanel : public QObject {
  Q_OBJECT
public:
  explicit ScoreDrumPanel(chdVLTMain& window);

  void Refresh();
  // Sets the score's drum slot from the active staff's entry, when it has one chosen.
  void ChooseDrum();
  const DrumPanel& Panel() const { return m_panel; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  chdVLTMain& m_window;
  DrumPanel m_panel;
};

}  // namespace veltrimond
