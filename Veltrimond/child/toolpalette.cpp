#include "Veltrimond/child/toolpalette.h"

#include "notecraft/core/enums.h"

namespace veltrimond {

const std::array<ToolButtonDef, 10> kToolButtons{{
    {"Point", "Pointer", "Pointer", ""},
    {"Group", "Groups", "G01", "G01;G02"},
    {"Clef", "Clefs", "C01", "C00;C01;C02;C03;C04"},
    {"Measure", "Measures", "M01", "M01;M02;M04;M05;M06;M07;M08;M03"},
    {"Bar", "Bars", "B01", "B01;B02;B03;B04"},
    {"Note", "Notes", "N04", "N01;N02;N04;N08;N16;N32"},
    {"Dyn", "Dynamics", "D02", "D02;D03;D04;D05;D06;D07"},
    {"Orn", "Ornaments", "X01", "X01;X02;X03;X04;X07;X06;X05;X10;X08;X09"},
    {"Chord", "Chords", "R00", ""},
    {"Text", "Text", "T00", ""},
}};

const std::array<OptionButtonDef, 4> kOptionButtons{{
    {"Snap", "Align", "Note Alignment Value", "N16", "N01;N02;N04;N08;N16;N32"},
    {"Dot", "Dotted", "Dotted Value", "Z02", ""},
    {"Stac", "Staccato", "Staccato", "Z03", ""},
    {"Triplet", "Triplet", "Triplet", "Z01", ""},
}};

const QStringList& ToolImageKeys() {
  static const QStringList keys = [] {
    QStringList list = QStringLiteral(
                           "N01 N02 N04 N08 N16 Pointer B01 B02 B03 B04 C00 C01 C02 C03 C04 "
                           "G01 G02 D02 D03 D04 D05 D06 D07")
                           .split(QLatin1Char(' '));
    for (int i = 1; i <= 8; ++i) list << QStringLiteral("M%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 1; i <= 10; ++i) list << QStringLiteral("X%1").arg(i, 2, 10, QLatin1Char('0'));
    list << QStringLiteral("R00") << QStringLiteral("Z01") << QStringLiteral("Z02")
         << QStringLiteral("N32") << QStringLiteral("Z03") << QStringLiteral("T00");
    return list;
  }();
  return keys;
}

bool IsToolImageKey(const QString& key) { return ToolImageKeys().contains(key); }

int ImageNumber(const QString& key) {
  // The digits after the first letter; a key without them counts 0.
  const QString rest = key.mid(1);
  bool ok = false;
  const int number = rest.toInt(&ok);
  return ok ? number : 0;
}

int DurationOfNoteValue(int number) {
  switch (number) {
    case 1: return 64;
    case 2: return 32;
    case 4: return 16;
    case 8: return 8;
    case 16: return 4;
    case 32: return 2;
    default: return 16;
  }
}

ToolPalette::ToolPalette() {
  for (std::size_t i = 0; i < kToolButtons.size(); ++i)
    m_toolImages[i] = QString::fromLatin1(kToolButtons[i].StartImage);
  for (std::size_t i = 0; i < kOptionButtons.size(); ++i)
    m_optionImages[i] = QString::fromLatin1(kOptionButtons[i].StartImage);
}

int ToolPalette::ToolIndex(const QString& key) const {
  for (std::size_t i = 0; i < kToolButtons.size(); ++i)
    if (key.compare(QLatin1String(kToolButtons[i].Key), Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

int ToolPalette::OptionIndex(const QString& key) const {
  for (std::size_t i = 0; i < kOptionButtons.size(); ++i)
    if (key.compare(QLatin1String(kOptionButtons[i].Key), Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

QString ToolPalette::ToolImage(int toolGroup) const {
  if (toolGroup < 1 || toolGroup > 10) return {};
  return m_toolImages[static_cast<std::size_t>(toolGroup - 1)];
}

QString ToolPalette::ButtonKey(int toolGroup) const {
  if (toolGroup < 1 || toolGroup > 10) return {};
  return QString::fromLatin1(kToolButtons[static_cast<std::size_t>(toolGroup - 1)].Key);
}

bool ToolPalette::SetTool(const QString& key) {
  const int index = ToolIndex(key);
  if (index < 0) return false;
  m_toolKey = ButtonKey(index + 1);
  m_toolGroup = index + 1;
  m_subTool = ImageNumber(m_toolImages[static_cast<std::size_t>(index)]);
  if (m_toolGroup == tglClef && m_subTool >= 0 && m_subTool <= 3) m_lastClefSlot = 13 + m_subTool;
  return true;
}

bool ToolPalette::SetSubTool(int number) {
  if (m_toolKey.compare(ButtonKey(m_toolGroup), Qt::CaseInsensitive) != 0 && !SetTool(m_toolKey))
    return false;
  QString& image = m_toolImages[static_cast<std::size_t>(m_toolGroup - 1)];
  const QString next = image.left(1) + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
  if (number < 0 || !IsToolImageKey(next)) return false;
  image = next;
  m_subTool = number;
  if (m_toolGroup == tglClef && number <= 3) m_lastClefSlot = 13 + number;
  return true;
}

bool ToolPalette::SetOption(const QString& key, int number) {
  const int index = OptionIndex(key);
  if (index < 0) return false;
  QString& image = m_optionImages[static_cast<std::size_t>(index)];
  const QString next = image.left(1) + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
  if (number < 0 || !IsToolImageKey(next)) return false;
  image = next;
  m_optionPressed[static_cast<std::size_t>(index)] = true;
  return true;
}

bool ToolPalette::OptionPressed(const QString& key) const {
  const int index = OptionIndex(key);
  return index >= 0 && m_optionPressed[static_cast<std::size_t>(index)];
}

void ToolPalette::SetOptionPressed(const QString& key, bool pressed) {
  const int index = OptionIndex(key);
  if (index >= 0) m_optionPressed[static_cast<std::size_t>(index)] = pressed;
}

QString ToolPalette::OptionImage(const QString& key) const {
  const int index = OptionIndex(key);
  return index >= 0 ? m_optionImages[static_cast<std::size_t>(index)] : QString();
}

int ToolPalette::CursorSlot() const {
  int slot = m_toolGroup;
  if (m_toolGroup == tglGroup) slot = 10 + m_subTool;
  if (m_toolGroup == tglClef) slot = m_subTool <= 3 ? 13 + m_subTool : m_lastClefSlot;
  if (m_toolGroup == tglGroup && (m_subTool < 1 || m_subTool > 2)) slot = 11;
  return slot >= 0 && slot <= 16 ? slot : 0;
}

int ToolPalette::NoteDuration() const { return DurationOfNoteValue(m_subTool); }

int ToolPalette::NoteFlags() const {
  int flags = 0;
  if (OptionPressed(QStringLiteral("Dot"))) flags |= notecraft::nteDot;
  if (OptionPressed(QStringLiteral("Stac"))) flags |= notecraft::nteStacato;
  if (OptionPressed(QStringLiteral("Triplet"))) flags |= notecraft::nteTriplet;
  return flags;
}

int ToolPalette::Snap() const {
  if (!OptionPressed(QStringLiteral("Snap"))) return 0;
  const QString image = OptionImage(QStringLiteral("Snap"));
  if (!image.startsWith(QLatin1Char('N'))) return 0;
  switch (ImageNumber(image)) {
    case 1: return 64;
    case 2: return 32;
    case 4: return 16;
    case 8: return 8;
    case 16: return 4;
    case 32: return 2;
    default: return 0;
  }
}

int StripLayout::ImageX(int index) const { return 60 + (index % Columns) * 270; }
int StripLayout::ImageY(int index) const { return 60 + (index / Columns) * 270; }

int StripLayout::HitTest(int x, int y) const {
  if (Columns <= 0 || x < 45 || y < 45) return -1;
  const int column = (x - 45) / 270;
  const int row = (y - 45) / 270;
  if (column >= Columns || row >= Rows) return -1;
  const int index = row * Columns + column;
  return index < Count ? index : -1;
}

StripLayout LayOutStrip(int count) {
  StripLayout layout;
  layout.Count = count < 0 ? 0 : count;
  if (layout.Count < 4) {
    layout.Columns = layout.Count;
    layout.Rows = 1;
    layout.Width = layout.Count * 270 + 90;
    layout.Height = 360;
  } else {
    layout.Columns = (layout.Count + 1) / 2;
    layout.Rows = 2;
    layout.Width = layout.Columns * 270 + 90;
    layout.Height = 630;
  }
  return layout;
}

QStringList StripKeysOf(const QString& buttonKey) {
  for (const ToolButtonDef& def : kToolButtons)
    if (buttonKey.compare(QLatin1String(def.Key), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(def.Strip).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  if (buttonKey.compare(QLatin1String("Snap"), Qt::CaseInsensitive) == 0)
    return QString::fromLatin1(kOptionButtons[0].Strip).split(QLatin1Char(';'));
  return {};
}

}  // namespace veltrimond
