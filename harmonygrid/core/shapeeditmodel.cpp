#include "harmonygrid/core/shapeeditmodel.h"

#include <algorithm>

#include "harmonygrid/core/chorddiagram.h"
#include "harmonygrid/core/textutil.h"

namespace harmonygrid {

namespace {

constexpr int kBandBefore = 45;  // a line's hit band reaches this far left of (or above) it
constexpr int kBandAfter = 60;   // and this far right of (or below) it
constexpr int kSaturate = 32767;

// The first line whose band holds v; 0 for none.
int LineAt(int v, int first, int count) {
  for (int i = 0; i < count; ++i) {
    const int line = first + ShapeEditModel::kLineStep * i;
    if (line - kBandBefore < v && v < line + kBandAfter) return i + 1;
  }
  return 0;
}

}  // namespace

void ShapeEditModel::Load(const clsMap& shape) {
  m_map = shape;
  // The controls show the shape's position, so that the first click on them starts from it.
  m_fretPosition = shape.Top() != 0;
  m_positionText = m_fretPosition ? std::to_string(Position()) : std::string();
}

int ShapeEditModel::StringAt(int x) noexcept { return LineAt(x, kFirstStringX, kStrings); }

int ShapeEditModel::RowAt(int y) noexcept { return LineAt(y, kFirstFretY, kFretRows); }

bool ShapeEditModel::Click(int x, int y) {
  const int string = StringAt(x);
  const int row = RowAt(y);
  if (string == 0 || row == 0) return false;
  const int fret = row + Position();
  int found = -1;
  int open = -1;
  for (int i = 0; i < m_map.Count(); ++i) {
    if (m_map.X(i) != string) continue;
    if (m_map.Y(i) == fret && found < 0) found = i;
    if (m_map.Y(i) == 0 && open < 0) open = i;
  }
  if (found >= 0) {
    m_map.Remove(found);
  } else {
    // A fretted string is no longer open; its other fingers stay.
    if (open >= 0) m_map.Remove(open);
    m_map.Add(string, fret);
  }
  MarkChanged();
  return true;
}

int ShapeEditModel::Position() const noexcept {
  return m_map.Top() == 0 ? 0 : std::clamp(m_map.Top(), 1, kMaxPosition);
}

std::string ShapeEditModel::FretLabel() const {
  const int p = Position();
  return p == 0 ? std::string() : ChordDiagram::Ordinal(p) + " fret";
}

int ShapeEditModel::LowestString() const {
  int lowest = kStrings + 1;
  for (int i = 0; i < m_map.Count(); ++i) lowest = std::min(lowest, m_map.X(i));
  return lowest;
}

std::array<char, ShapeEditModel::kStrings> ShapeEditModel::StringMarks() const {
  std::array<char, kStrings> marks;
  marks.fill(' ');
  if (Position() != 0) return marks;
  const int lowest = LowestString();
  for (int s = 1; s <= kStrings; ++s) {
    bool fretted = false;
    bool played = false;  // has a pair other than a muted one
    bool any = false;
    for (int i = 0; i < m_map.Count(); ++i) {
      if (m_map.X(i) != s) continue;
      any = true;
      if (m_map.Y(i) > 0) fretted = true;
      if (m_map.Y(i) != -1) played = true;
    }
    // A string whose only pairs are muted is not played, though it has a pair.
    if (s < lowest || (any && !played)) marks[static_cast<std::size_t>(s - 1)] = 'x';
    else if (!fretted) marks[static_cast<std::size_t>(s - 1)] = 'o';
  }
  return marks;
}

std::vector<std::pair<int, int>> ShapeEditModel::Fingers() const {
  std::vector<std::pair<int, int>> fingers;
  const int p = Position();
  for (int i = 0; i < m_map.Count(); ++i) {
    const int row = m_map.Y(i) - p;
    const int string = m_map.X(i);
    if (row >= 1 && row <= kFretRows && string >= 1 && string <= kStrings)
      fingers.emplace_back(string, row);
  }
  return fingers;
}

void ShapeEditModel::SetKey(std::string_view key) {
  if (key == m_map.Key()) return;
  m_map.SetKey(std::string(key));
  MarkChanged();
}

void ShapeEditModel::SetText(std::string_view text) {
  if (text == m_map.Text()) return;
  m_map.SetText(std::string(text));
  MarkChanged();
}

void ShapeEditModel::ChooseOpen() {
  m_fretPosition = false;
  m_map.SetTop(0);
  SetPositionText("");
}

void ShapeEditModel::ChooseFret() {
  m_fretPosition = true;
  m_map.SetTop(1);
  SetPositionText("1");
}

void ShapeEditModel::SetPositionText(std::string_view text) {
  if (text == m_positionText) return;
  m_positionText.assign(text);
  MarkChanged();
  int p = LeadingNumber(text);
  if (p <= 0) return;
  if (p > kMaxPosition) {
    p = kMaxPosition;
    m_positionText = std::to_string(kMaxPosition);
  }
  RemovePairsUpTo(p);
  m_map.SetTop(p);
}

void ShapeEditModel::StepUp() {
  if (!m_fretPosition) return;
  const int v = LeadingNumber(m_positionText);
  if (v < 1) SetPositionText("1");
  else if (v < kMaxPosition) SetPositionText(std::to_string(v + 1));
}

void ShapeEditModel::StepDown() {
  if (!m_fretPosition) return;
  const int v = LeadingNumber(m_positionText);
  if (v < 1) SetPositionText("1");
  else if (v > 1) SetPositionText(std::to_string(v - 1));
}

void ShapeEditModel::RemovePairsUpTo(int fret) {
  for (int i = m_map.Count() - 1; i >= 0; --i)
    if (m_map.Y(i) <= fret) m_map.Remove(i);
}

void ShapeEditModel::Normalise() {
  if (!m_changed) return;
  std::string key(TrimSpaces(m_map.Key()));
  if (key.empty()) key = TrimSpaces(m_map.Text());
  if (key.empty()) key = "New";
  if (TrimSpaces(m_map.Text()).empty()) m_map.SetText(key);
  m_map.SetKey(key);
  if (m_map.Top() != 0) {
    // Up the neck a diagram shows no open strings.
    for (int i = m_map.Count() - 1; i >= 0; --i)
      if (m_map.Y(i) == 0) m_map.Remove(i);
    return;
  }
  const int lowest = LowestString();
  for (int s = lowest + 1; s <= kStrings; ++s) {
    bool any = false;
    for (int i = 0; i < m_map.Count() && !any; ++i) any = m_map.X(i) == s;
    if (!any) m_map.Add(s, 0);
  }
}

void ShapeEditModel::Accept() {
  Normalise();
  m_result = kOk;
}

int ShapeEditModel::LeadingNumber(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(kSaturate, value * 10 + (text[i] - '0'));
  return negative ? -value : value;
}

}  // namespace harmonygrid
