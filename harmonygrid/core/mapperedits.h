#pragma once
// Confirmed shape-editor results written into a Chord table: what the mapper control's New and
// Properties do with the shape the editor hands back. Both mark the table Changed. Nothing
// here deletes a shape: score chord events store shape Values, and a gap would make them
// draw with another shape.

#include <memory>
#include <string_view>

namespace harmonygrid {

class Chord;
class clsMap;

// New: the edited shape goes in by its key (trimmed), ignoring case: an existing shape with
// that key takes the edited key, text, top and pairs and keeps its Value; otherwise a shape is
// added. Returns the table's shape; null when the table is full.
std::shared_ptr<clsMap> AddEditedShape(Chord& table, const clsMap& edited) noexcept;

// True when a shape other than the one at position has key (trimmed) ignoring case.
bool KeyTakenByAnother(const Chord& table, std::string_view key, int position) noexcept;

enum class ShapeWriteBack {
  Written,    // the shape took the edit and the table is sorted again
  KeyTaken,   // another shape has the edited key: nothing written
  NoShape,    // no shape at position: nothing written
};

// Properties: the shape at position takes the edited key and text (trimmed), top and pairs,
// keeping its Value; then the table is sorted again.
ShapeWriteBack WriteBackShape(Chord& table, int position, const clsMap& edited) noexcept;

}  // namespace harmonygrid
