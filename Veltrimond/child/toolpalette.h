#pragma once
// The tool pane's state without its widgets: the ten editing tools and four note options,
// each button's image key (a letter and two digits naming the sub-tool it stands for, which
// is where a tool keeps its last sub-tool), the current tool and sub-tool, and the cursor
// slot the current tool shows over the page. The sub-tool strip's geometry is here too.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace veltrimond {

enum ToolGroups : int {
  tglPoint = 1, tglGroup = 2, tglClef = 3, tglMeasure = 4, tglBar = 5,
  tglNote = 6, tglDyn = 7, tglOrn = 8, tglChord = 9, tglText = 10,
};

struct ToolButtonDef {
  const char* Key;
  const char* ToolTip;
  const char* StartImage;
  const char* Strip;  // image keys in strip order, ";"-separated; empty: no strip
};

// By ToolGroup - 1.
extern const std::array<ToolButtonDef, 10> kToolButtons;

struct OptionButtonDef {
  const char* Key;
  const char* Caption;
  const char* ToolTip;
  const char* StartImage;
  const char* Strip;
};
extern const std::array<OptionButtonDef, 4> kOptionButtons;

// Every image key the tool images exist for, in list order.
const QStringList& ToolImageKeys();
bool IsToolImageKey(const QString& key);
// The digits of an image key as a number: "N04" 4, "Pointer" 0.
int ImageNumber(const QString& key);

class ToolPalette {
public:
  ToolPalette();

  // False, and nothing changes, for a key no tool button has.
  bool SetTool(const QString& key);
  // Sets the current tool's image to its letter and number ("C02"); when the last named
  // key is another tool's, that tool becomes current first. False, with the sub-tool as it
  // was, when no image exists for the number.
  bool SetSubTool(int number);
  // Sets an option's image and presses it (choosing a grid value turns Snap on). False,
  // with the button as it was, for an unknown key or image.
  bool SetOption(const QString& key, int number);
  // Names a tool without making it current: a strip opened on it, or a note-value key.
  void SetToolKey(const QString& key) { m_toolKey = key; }

  int ToolGroup() const { return m_toolGroup; }
  int SubTool() const { return m_subTool; }
  const QString& ToolKey() const { return m_toolKey; }
  QString ToolImage(int toolGroup) const;
  QString ButtonKey(int toolGroup) const;

  bool OptionPressed(const QString& key) const;
  void SetOptionPressed(const QString& key, bool pressed);
  QString OptionImage(const QString& key) const;

  // The cursor slot (AppState::CursorIDs) for the pointer over the score. Group and clef
  // sub-tools have slots of their own (11, 12 and 13..16); the tenor clef, which has none,
  // keeps the last clef cursor shown.
  int CursorSlot() const;

  // What a note placed now gets: its duration (64ths), its NoteFlags and the snap grid.
  int NoteDuration() const;
  int NoteFlags() const;
  int Snap() const;

private:
  int ToolIndex(const QString& key) const;  // 0-based; -1 when none
  int OptionIndex(const QString& key) const;

  std::array<QString, 10> m_toolImages;
  std::array<QString, 4> m_optionImages;
  std::array<bool, 4> m_optionPressed{};
  int m_toolGroup = tglPoint;
  int m_subTool = 0;
  QString m_toolKey = QStringLiteral("Point");
  int m_lastClefSlot = 14;  // the treble clef until a clef with a cursor is chosen
};

// Note value of a note image number (1 whole .. 32 thirty-second) in 64ths; 16 for others.
int DurationOfNoteValue(int number);

// The pop-up strip of sub-tool images: one row below four images, else two.
struct StripLayout {
  int Count = 0;
  int Columns = 0;
  int Rows = 0;
  int Width = 0;  // twips
  int Height = 0;
  // Where image i is drawn (twips from the strip's top left).
  int ImageX(int index) const;
  int ImageY(int index) const;
  // The cell under a point, -1 for none: margins and the space between rows and past the
  // last column hit nothing.
  int HitTest(int x, int y) const;
  // The top-left corner of a cell's box.
  int BoxX(int index) const { return (index % Columns) * 270 + 45; }
  int BoxY(int index) const { return (index / Columns) * 270 + 45; }
};
StripLayout LayOutStrip(int count);
// The strip's image keys of a button key ("Clef", "Snap", ...); empty when it has none.
QStringList StripKeysOf(const QString& buttonKey);

}  // namespace veltrimond
