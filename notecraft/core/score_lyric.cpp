// Score: ornaments toggled by position, the lyric caret walking the notes of the selected
// staff, lyric verses at the caret, and text offsets by position.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/lyricrow.h"

namespace notecraft {

namespace {

constexpr char kVerseBreak = '\r';

int OrnamentFlag(int ornament) {
  switch (ornament) {
    case ornBowUp:
      return nteBowUp;
    case ornBowDown:
      return nteBowDown;
    case ornTrill:
      return nteTrill;
    case ornAccent:
      return nteAccent;
    case ornFermata:
      return nteFermata;
    case ornStacato:
      return nteStacato;
    case ornAccent2:
      return nteAccent2;
    case ornTurn:
      return nteTurn;
    case ornMordent:
      return nteMordent;
    case ornHalfMordent:
      return nteHalfMordent;
    default:
      return 0;
  }
}

// The band of staff (its position) of the system that holds time: the last of its bands
// starting at or before it; null when none does.
std::shared_ptr<Region> StaffBandAt(const std::vector<std::shared_ptr<Region>>& bands, int staff,
                                    int time) {
  std::shared_ptr<Region> found;
  for (const auto& band : bands) {
    if (band->Staff() != staff || band->Measures() == 0) continue;
    if (band->Measure(0)->High() > time) break;
    found = band;
  }
  return found;
}

// The band on the page that shows the lyric position: its staff's band of the system that
// holds the time; null when the page (ending at pageEnd) does not show it.
std::shared_ptr<Region> LyricBand(const std::vector<std::shared_ptr<Region>>& bands,
                                  const EditState& edit, int pageEnd) {
  if (edit.LyricTime >= pageEnd) return nullptr;
  return StaffBandAt(bands, edit.LyricStaff, edit.LyricTime);
}

// Verse number verse (1-based) of a lyric text; empty past its last.
std::string VerseLine(std::string_view text, int verse) {
  const auto verses = LyricVerses(text);
  if (verse < 1 || verse > static_cast<int>(verses.size())) return {};
  return std::string(verses[static_cast<std::size_t>(verse - 1)]);
}

}  // namespace

void Score::AddOrnamentByHit(int x, int y, int ornament) {
  try {
    const int flag = OrnamentFlag(ornament);
    int time = 0, duration = 0;
    if (flag == 0 || !OnNote(x, y, time, duration)) return;
    const int at = Edit().LastBandIndex;
    if (at < 1 || at > static_cast<int>(m_bands.size())) return;
    // Held: a listener of the change may paint the page again.
    const auto band = m_bands[static_cast<std::size_t>(at - 1)];
    const auto staff = Staff(band->Staff());
    const auto voice = staff ? staff->Voice(Voice()) : nullptr;
    const auto note = voice ? voice->Notes().Lookup(time) : nullptr;
    if (!note) return;
    const int flags = note->Flags();
    note->SetFlags(Internal{},
                   flags & flag ? flags & ~flag : (flags & ~(nteBowUp | nteBowDown)) | flag);
    CommitEdit(nullptr);
    RepaintAfterEdit(Internal{}, *band, false, -1, 0, 0);
  } catch (...) {
    // Edits run with errors ignored.
  }
}

bool Score::AddLyric(int atTime, const std::string& text) {
  const auto staff = SelectedStaff();
  if (!staff) return false;
  EditState& edit = Edit();
  edit.LyricStaff = staff->Index();
  edit.LyricTime = atTime;
  SetLyric(text);
  return true;
}

bool Score::FirstActiveXY(int& atTime, int& x, int& y, std::string& activeLyric) {
  const auto staff = SelectedStaff();
  if (!staff) return false;
  if (staff->Verses() < m_verse) {
    staff->SetVerses(Internal{}, m_verse);
    RestartPagination(m_curPage);
    PaintWindow();
  }
  const auto page = static_cast<std::size_t>(m_curPage - 1);
  Edit().CaretSearchTime =
      m_curPage >= 1 && page < m_pageTimes.size() ? m_pageTimes[page].Low() : 0;
  return NextActiveXY(atTime, x, y, activeLyric);
}

bool Score::NextActiveXY(int& activeTime, int& x, int& y, std::string& activeLyric) {
  EditState& edit = Edit();
  const auto staff = SelectedStaff();
  const auto voice = staff ? staff->Voice(Voice()) : nullptr;
  const auto page = static_cast<std::size_t>(m_curPage - 1);
  const bool known = m_curPage >= 1 && page < m_pageTimes.size();
  auto note =
      voice && edit.CaretSearchTime >= 0 ? voice->Notes().Lookup(edit.CaretSearchTime) : nullptr;
  if (!note || !known || note->NoteTime() >= m_pageTimes[page].High()) {
    edit.CaretTime = -1;
    return false;
  }
  edit.CaretSearchTime = note->NoteTime() + 1;
  return PlaceCaret(*staff, *note, activeTime, x, y, activeLyric);
}

bool Score::PrevActiveXY(int& activeTime, int& x, int& y, std::string& activeLyric) {
  EditState& edit = Edit();
  const auto staff = SelectedStaff();
  const auto voice = staff ? staff->Voice(Voice()) : nullptr;
  const auto page = static_cast<std::size_t>(m_curPage - 1);
  const bool known = m_curPage >= 1 && page < m_pageTimes.size();
  auto note =
      voice && edit.CaretTime >= 1 ? voice->Notes().Lookup(edit.CaretTime, false, true) : nullptr;
  if (!note || !known || note->NoteTime() < m_pageTimes[page].Low()) {
    edit.CaretTime = -1;
    return false;
  }
  edit.CaretSearchTime = note->NoteTime() + 1;
  return PlaceCaret(*staff, *note, activeTime, x, y, activeLyric);
}

bool Score::PlaceCaret(const notecraft::Staff& staff, const Note& note, int& activeTime, int& x,
                       int& y, std::string& activeLyric) {
  EditState& edit = Edit();
  edit.CaretTime = activeTime = note.NoteTime();
  edit.CaretX = x = note.X();
  // The band of the system that holds the note: a note drawn high above its staff stands
  // above the bottom of the system before, so its height does not tell.
  if (const auto band = StaffBandAt(m_bands, staff.Index(), note.NoteTime())) {
    // The first lyric line, where the staff drew it under its notes; the verse typed into
    // has its own line under the first.
    edit.CaretY = band->LyricLine() > 0 ? SnapY(band->LyricLine()) : band->Bottom();
    y = edit.CaretY + (m_verse - 1) * kLyricLineTwips;
  }
  edit.LyricStaff = staff.Index();
  edit.LyricTime = activeTime;
  const auto lyric = staff.GlobalEvents().Find(activeTime, evtLyric, true);
  edit.LyricText = lyric ? VerseLine(lyric->Text(), m_verse) : std::string();
  activeLyric = edit.LyricText;
  return true;
}

void Score::TextOffsetByPos(int& offset1, int& offset2, int x, int y, int& inc) {
  offset1 = offset2 = 0;
  const auto band = InRegion(x, y);
  if (!band || band->IncY() < 2) return;
  EditState& edit = Edit();
  edit.TextBaseY = band->Top() + band->PadTop() + 2 * band->IncY();
  inc = band->IncY() / 2;
  if (y < edit.TextBaseY) offset1 = std::min((edit.TextBaseY - y) / inc, 255);
  if (y > edit.TextBaseY) offset2 = std::min((y - edit.TextBaseY) / inc, 255);
}

void Score::TextPosByOffset(int& y, int offset1, int offset2, int inc, bool useActive) const {
  const int base = m_edit ? m_edit->TextBaseY : 0;
  if (useActive) {
    if (offset1 > 0) y = base - offset1 * inc;
    if (offset2 > 0) y = base + offset2 * inc;
  } else {
    y -= offset1 * inc;
    y += offset2 * inc;
  }
}

std::string Score::Lyric() const {
  if (!m_edit || m_edit->LyricTime < 0) return {};
  return m_edit->LyricText;
}

void Score::SetLyric(const std::string& text) {
  EditState& edit = Edit();
  const auto staff = edit.LyricTime >= 0 ? Staff(edit.LyricStaff) : nullptr;
  if (!staff) return;
  GlobalEvents& events = staff->GlobalEvents();
  const auto event = events.Find(edit.LyricTime, evtLyric, true);
  const std::string old = event ? event->Text() : std::string();
  edit.LyricText = text;

  // Every verse keeps its own syllable, also those beyond the verses the staff shows.
  const auto verses = LyricVerses(old);
  int count = staff->Verses();
  bool relayout = false;
  if (count < m_verse) {
    count = m_verse;
    staff->SetVerses(Internal{}, m_verse);
    relayout = true;
  }
  count = std::max(count, old.empty() ? 0 : static_cast<int>(verses.size()));
  std::string joined;
  for (int v = 1; v <= count; ++v) {
    if (v > 1) joined += kVerseBreak;
    if (v == m_verse)
      joined += text;
    else if (v <= static_cast<int>(verses.size()))
      joined += verses[static_cast<std::size_t>(v - 1)];
  }
  if (event)
    event->SetText(joined);
  else
    events.Add(edit.LyricTime, evtLyric, 0, 0, joined);
  CommitEdit(nullptr);

  // The system that shows the syllable is drawn again as a paint draws it (its hyphen apart,
  // its measure widened when the syllable needs it); a new verse line lays the page out.
  const auto page = static_cast<std::size_t>(m_curPage - 1);
  const int pageEnd = m_curPage >= 1 && page < m_pageTimes.size() ? m_pageTimes[page].High() : 0;
  const std::shared_ptr<Region> band = relayout ? nullptr : LyricBand(m_bands, edit, pageEnd);
  if (band) {
    // The repaint ends the caret: the caret and lyric position are put back.
    const int searchTime = edit.CaretSearchTime;
    const int caretTime = edit.CaretTime;
    RepaintAfterEdit(Internal{}, *band, false, -1, 0, 0);
    edit.CaretSearchTime = searchTime;
    edit.CaretTime = caretTime;
  } else {
    RestartPagination(relayout ? m_curPage : 1);
    PaintWindow();
  }
}

void Score::SetVerse(int verse) {
  const auto staff = SelectedStaff();
  if (!staff || verse > 255) return;  // a staff counts its verses in a byte
  bool relayout = false;
  if (verse == 0 || (verse > 0 && staff->Verses() < verse)) {
    staff->SetVerses(Internal{}, verse);
    relayout = true;
  }
  m_verse = std::max(verse, 1);
  if (relayout) {
    RestartPagination(m_curPage);
    PaintWindow();
  }
  if (verse > 0) {
    int time = m_curTime, x = 0, y = 0;
    std::string lyric;
    FirstActiveXY(time, x, y, lyric);
  }
}

}  // namespace notecraft
