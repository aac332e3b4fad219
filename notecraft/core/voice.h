#pragma once
// One musical line: its notes, the ID of its instrument, a description, its track number,
// and a playback cursor that hands its notes out in time order from a start time.

#include <memory>
#include <string>

#include "notecraft/core/notes.h"

namespace notecraft {

class Instrument;
class Score;
struct Internal;

class Voice {
public:
  Voice();

  const std::string& Description() const { return m_description; }
  void SetDescription(std::string description) { m_description = std::move(description); }
  const std::string& ID() const { return m_id; }
  // The instrument in the score's instruments; null without an instrument ID, without a
  // score, or when the score no longer holds that instrument.
  std::shared_ptr<notecraft::Instrument> Instrument() const;
  notecraft::Notes& Notes() { return *m_notes; }
  const notecraft::Notes& Notes() const { return *m_notes; }
  int Track() const { return m_track; }
  void SetTrack(int track) { m_track = track; }

  // Places the playback cursor on the first note at or after startTime and marks a program
  // change as due.
  void GetInit(int startTime);
  // The note at the playback cursor, moving the cursor on; null at the end. Independent of
  // the note list's own search cursor.
  Notes::NotePtr GetNext();

  // Library-internal.
  void SetID(Internal, std::string id);
  void SetInstrumentID(Internal, std::string id);
  const std::string& InstrumentID(Internal) const;
  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;
  // Empties the voice's note list; references to the list stay valid.
  void ResetNotes(Internal);
  int NextTime(Internal) const;  // time of the next note GetNext gives, -1 when none
  bool ProgramPending(Internal) const;
  void SetProgramPending(Internal, bool pending);

private:
  std::string m_description;
  int m_cursor = 0;  // 1-based position of the next note GetNext returns
  int m_nextTime = -1;
  std::string m_id;
  std::string m_instrumentID;
  const std::shared_ptr<notecraft::Notes> m_notes;  // one list for the voice's life
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
  bool m_programPending = false;
  int m_track = 0;
};

}  // namespace notecraft
