#include "harmonygrid/core/mapperedits.h"

#include <string>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/core/textutil.h"

namespace harmonygrid {

namespace {

// The shape takes the edited fingering; the table entry keeps its identity and Value.
void CopyFingering(clsMap& entry, const clsMap& edited) {
  while (entry.Count() > 0) entry.Remove(entry.Count() - 1);
  for (int i = 0; i < edited.Count(); ++i) entry.Add(edited.X(i), edited.Y(i));
  entry.SetTop(edited.Top());
}

}  // namespace

std::shared_ptr<clsMap> AddEditedShape(Chord& table, const clsMap& edited) noexcept {
  try {
    auto entry = table.AddChordMap(TrimSpaces(edited.Key()), TrimSpaces(edited.Text()));
    if (!entry) return nullptr;
    CopyFingering(*entry, edited);
    table.SetChanged(true);
    return entry;
  } catch (...) {  // out of memory part-way: the table keeps what was written
    return nullptr;
  }
}

bool KeyTakenByAnother(const Chord& table, std::string_view key, int position) noexcept {
  try {
    const std::string wanted = UpperCase(TrimSpaces(key));
    for (int i = 0; i < table.ChordMapCount(); ++i)
      if (i != position && UpperCase(table.ChordMapItem(i)->Key()) == wanted) return true;
  } catch (...) {
  }
  return false;
}

ShapeWriteBack WriteBackShape(Chord& table, int position, const clsMap& edited) noexcept {
  const auto entry = table.ChordMapItem(position);
  if (!entry) return ShapeWriteBack::NoShape;
  if (KeyTakenByAnother(table, edited.Key(), position)) return ShapeWriteBack::KeyTaken;
  try {
    entry->SetKey(std::string(TrimSpaces(edited.Key())));
    entry->SetText(std::string(TrimSpaces(edited.Text())));
    CopyFingering(*entry, edited);
  } catch (...) {  // out of memory part-way: sort what is there
  }
  table.SortChordMaps();
  table.SetChanged(true);
  return ShapeWriteBack::Written;
}

}  // namespace harmonygrid
