#pragma once
// The note list of one voice: notes ordered by NoteTime, at most one per time, found by
// binary search.
//
// The list keeps a cursor: the position (1-based) left by the last search by time, which
// NextItem and PrevItem step from. Any lookup by time moves it, so a caller stepping with
// NextItem/PrevItem must not interleave other lookups on the same list. Engine loops that
// only read use ByIndex/iteration and leave the cursor alone.
//
// Notes are held by shared_ptr: a host (a selection, a play queue) may keep a note after it
// has been removed from the list.

#include <memory>
#include <vector>

#include "notecraft/core/note.h"

namespace notecraft {

class Score;
struct Internal;

class Notes {
public:
  using NotePtr = std::shared_ptr<Note>;
  using const_iterator = std::vector<NotePtr>::const_iterator;

  // Adds Value to the chord at AtTime (creating the note when there is none), gives the
  // note the new Duration and Flags, and shortens the note before it so that the two do
  // not overlap. Returns the note at AtTime. A value outside 0..127 adds nothing, changes
  // nothing and returns null.
  NotePtr Add(int atTime, int value, int duration, int flags);
  // Shortens the last note that starts before AtTime as Add shortens the note before a new
  // one at AtTime (a score file is read back through Add, so this is how a note written
  // over the one before it reopens).
  void TrimBefore(int atTime);

  NotePtr ByIndex(int index) const;  // 1-based; null outside 1..Count
  int Count() const { return static_cast<int>(m_notes.size()); }

  // The first note at or after AtTime. With le, the last note at or before it; with lt, the last
  // note before it. Null when there is none. The cursor stays where the search left it.
  NotePtr Item(int atTime, bool le = false, bool lt = false);
  // Item without moving the cursor, for engine code that only reads.
  NotePtr Lookup(int atTime, bool le = false, bool lt = false) const;
  // 1-based position of the first note at or after atTime (Count + 1 when none); no cursor.
  int IndexAtOrAfter(int atTime) const;
  NotePtr NextItem();
  NotePtr PrevItem();

  // Removes the note at exactly AtTime, if any.
  void Remove(int atTime);
  // Deletes the span [from, to): notes inside are removed, later ones move back by
  // to - from. Durations are not changed.
  void RemoveRange(int fromTime, int toTime);

  // Bulk edits for tools that rewrite many notes: each costs one pass over the notes from
  // the first time it touches, where a loop of Add or Remove would shift the list per note.
  // Removes the notes starting in [fromTime, toTime); later notes keep their times.
  void RemoveSpan(int fromTime, int toTime);
  // One chord to place: its pitches (the first one decides, as Add's value does), duration
  // and flags.
  struct Entry {
    int Time = 0;
    int Duration = 0;
    int Flags = 0;
    std::vector<int> Values;
  };
  // The same as Add(Time, Values[0], Duration, Flags) then AddValue of the other pitches
  // for every entry in ascending time; entries must be sorted by time, one per time. An
  // entry without pitches or whose first pitch is outside 0..127 adds nothing.
  void AddSorted(const std::vector<Entry>& entries);

  const_iterator begin() const { return m_notes.begin(); }
  const_iterator end() const { return m_notes.end(); }

  // Library-internal.
  // Add for a score file being read: a triplet before the note is cut only where it
  // overlaps even at half its value, the length triplets had when older files were written,
  // so that such files reopen as they were saved.
  NotePtr AddStored(Internal, int atTime, int value, int duration, int flags);
  // Puts a note that was taken out of the list back at its time, as it is (undo); false,
  // changing nothing, when a note stands at that time.
  bool Restore(Internal, const NotePtr& note);
  int CurIndex(Internal) const;
  // Room for count more notes (a reader that knows how many follow).
  void Reserve(Internal, std::size_t count);
  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;
  void Reset(Internal);

private:
  // The list changed: the score's pages are laid out anew.
  void Edited();
  // Sets the cursor to the position of the first note at or after t (Count + 1 when
  // none) and the found time to that note's time (-1 when none).
  void BinarySearch(int t);
  NotePtr AddNote(int atTime, int value, int duration, int flags, bool stored);
  void TrimPrevious(std::size_t index, int atTime, bool stored = false);

  std::vector<NotePtr> m_notes;
  int m_cursor = 0;
  int m_foundTime = 0;
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
};

}  // namespace notecraft
