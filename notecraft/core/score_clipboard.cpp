// Score: copying, cutting and pasting notes through the desktop clipboard as text.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/clipboardnotation.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/edit/liveselection.h"

namespace notecraft {

namespace {

// Times at or beyond this do not fit the score file's 24-bit fields.
constexpr long long kTimeLimit = 1LL << 24;

}  // namespace

int Score::PutClipboard(bool isMove) {
  Platform& platform = CurrentPlatform();
  platform.SetClipboardText({});
  const int count = SelCount();
  if (count == 0) return 0;
  ClipboardWriter writer;
  for (const LiveNote& n : LiveSelection(*m_voices, Edit().Selection)) {
    const auto staff = Staff(n.Staff);
    if (!staff) continue;
    const Note& note = *n.Item;
    int number = 0, length = 0;
    m_globals->MeasureInfo(note.NoteTime(), number, length);
    const auto values = note.Values();
    writer.AddNote(staff->StaffID(Internal{}), n.Owner->ID(), m_globals->MeasureTime(number),
                   note.NoteTime(), note.Duration(), note.Flags(),
                   std::vector<int>(values.begin(), values.end()));
  }
  platform.SetClipboardText(writer.Text());
  if (isMove) ChangeSel(0, 0, 0, 0, true);
  return count;
}

void Score::GetClipboard(bool clear) {
  (void)clear;  // kept for hosts that pass it; pasting never empties the clipboard
  try {
    const ClipContent content = ReadClipboardNotation(CurrentPlatform().ClipboardText());
    if (!content.Accepted) return;
    const auto staff = SelectedStaff();
    if (!staff) return;
    const auto voice = staff->Voice(std::min(Voice(), staff->Voices()));
    if (!voice) return;
    const long long shift =
        static_cast<long long>(m_globals->MeasureTime(SelectedMeasure())) - content.SourceStart;
    bool added = false;
    for (const ClipNote& clip : content.Notes) {
      const long long time = clip.Time + shift;
      // A note that would start before the score or past what a file holds, or whose
      // duration does not fit its byte, is left out; the others still come.
      if (time < 0 || time >= kTimeLimit || clip.Duration < 1 || clip.Duration > 255 ||
          clip.Flags > 0xFFFF)
        continue;
      for (const int pitch : clip.Pitches) {
        voice->Notes().Add(static_cast<int>(time), pitch, clip.Duration, clip.Flags);
        m_endTime = std::max(
            m_endTime, NoteEnd(static_cast<int>(time), clip.Duration, clip.Flags, m_globals.get()));
        added = true;
      }
    }
    if (!added) return;
    CommitEdit(nullptr);
    RestartPagination(m_curPage);
    PaintWindow();
  } catch (...) {
    // Pasting runs with errors ignored: the notes added stay.
  }
}

}  // namespace notecraft
