#include "harmonygrid/core/chord.h"

#include <algorithm>
#include <limits>

#include "harmonygrid/core/chorddiagram.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/core/textutil.h"

namespace harmonygrid {

Chord::Chord() noexcept = default;

Chord::~Chord() = default;

void Chord::SetInitDir(std::string_view dir) noexcept {
  try {
    // The stored folder is compared with the text as given, untrimmed.
    if (UpperCase(dir) == UpperCase(m_initDir)) return;
    std::string_view trimmed = TrimSpaces(dir);
    if (!trimmed.empty() && (trimmed.back() == '/' || trimmed.back() == '\\'))
      trimmed.remove_suffix(1);
    m_initDir.assign(trimmed);
  } catch (...) {  // allocation failure: keep the old folder and table
    return;
  }
  LoadChordMaps();
}

void Chord::Refresh() noexcept {
  LoadChordMaps();
  m_layout = ChordLayout::Standard();
  for (auto& entry : m_entries) entry->SetTop(entry->ComputeTop(m_layout.FretCount));
}

std::string Chord::ListItem(int index) const noexcept {
  try {
    if (auto entry = ChordMapItem(index)) return entry->Key();
  } catch (...) {
  }
  return {};
}

int Chord::ListVal(int index) const noexcept {
  auto entry = ChordMapItem(index);
  return entry ? entry->Value() : 0;
}

int Chord::GetIndex(int value) const noexcept {
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    if (m_entries[i]->Value() == value) return static_cast<int>(i);
  return 0;
}

bool Chord::Render(Surface& device, const ChordLayout& layout, int index, int x, int y,
                   bool showMap, int color, std::string_view bass, int capo) const noexcept {
  try {
    return ChordDiagram(*this, device, layout).Draw(index, x, y, showMap, color, bass, capo);
  } catch (...) {  // out of memory part-way: what is drawn stays drawn
    return false;
  }
}

std::shared_ptr<clsMap> Chord::AddChordMap(std::string_view key, std::string_view text) noexcept {
  try {
    const std::string wanted = UpperCase(key);
    std::shared_ptr<clsMap> entry;
    for (const auto& e : m_entries)
      if (UpperCase(e->Key()) == wanted) {
        entry = e;
        break;
      }
    if (!entry) {
      // The new shape's Value is the old ListCount, which must fit the 16-bit id.
      if (ListCount() > std::numeric_limits<std::int16_t>::max()) return nullptr;
      entry = std::make_shared<clsMap>();
      entry->SetValue(ListCount());
      m_entries.push_back(entry);
    }
    entry->SetKey(std::string(key));
    entry->SetText(std::string(text));
    SortChordMaps();
    return entry;
  } catch (...) {
    return nullptr;
  }
}

std::shared_ptr<clsMap> Chord::ChordMapItem(int position) const noexcept {
  if (position < 0 || position >= ListCount()) return nullptr;
  return m_entries[static_cast<std::size_t>(position)];
}

int Chord::FindText(std::string_view text) const noexcept {
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    if (m_entries[i]->Text() == text) return static_cast<int>(i);
  return -1;
}

void Chord::SetChordMapItem(int position, std::shared_ptr<clsMap> entry) noexcept {
  if (!entry || position < 0 || position >= ListCount()) return;
  m_entries[static_cast<std::size_t>(position)] = std::move(entry);
}

void Chord::LoadChordMaps() noexcept {
  m_entries.clear();
  m_report = {};
  try {
    auto file = ChordMapFile::Locate(m_initDir);
    if (!file.empty()) {
      m_report = ChordMapFile::Read(file, [this](const ChordMapLine& line) {
        // Ids beyond the table grow it with empty shapes whose Value is their position.
        while (ListCount() <= line.Index) {
          auto blank = std::make_shared<clsMap>();
          blank->SetValue(ListCount());
          m_entries.push_back(std::move(blank));
        }
        // A later line with the same id renames the shape and adds its pairs to the earlier.
        clsMap& entry = *m_entries[static_cast<std::size_t>(line.Index)];
        entry.SetKey(line.Key);
        entry.SetText(line.Text);
        for (const auto& [string, fret] : line.Pairs) entry.Add(string, fret);
      });
    }
  } catch (...) {  // keep what was read
  }
  SortChordMaps();
}

void Chord::SortChordMaps() noexcept {
  // Keys are UTF-8, whose byte order is code point order; std::string compares bytes unsigned.
  // stable_sort falls back to an in-place merge when it cannot get memory, so it cannot throw.
  std::stable_sort(m_entries.begin(), m_entries.end(),
                   [](const auto& a, const auto& b) { return a->Key() < b->Key(); });
}

void Chord::SetFretCount(int v) noexcept {
  if (v >= std::numeric_limits<std::int16_t>::min() &&
      v <= std::numeric_limits<std::int16_t>::max())
    m_layout.FretCount = v;
}

}  // namespace harmonygrid
