#pragma once
// Structural edits of a score that the library's prompts ask for: deleting and inserting
// measures and staves, and showing the property dialogs. Each may ask the user first through
// the installed DialogService (prompt = true); without a service, or when the user does not
// choose OK, a prompted edit does nothing.
//
// Every edit that moves notes or staves empties the undo history (its records name staff
// positions and times that no longer hold), marks the score changed and lays it out again;
// the page shown is then drawn from its new start, and the last page stands in for one the
// score no longer has.

#include <memory>
#include <optional>
#include <string_view>

namespace notecraft {

class Score;
class Staff;

// The first staff whose Selected flag is set; null when none is.
std::shared_ptr<Staff> SelectedStaff(const Score& score);

// The staff position an entry of a prompt's staff list names: entry 0 ("First") is 1, entry 1
// ("Last") is staffCount, any other entry the whole number its text starts with ("3: Violin"
// and "3" are both 3; 0 when the text starts with no number).
int StaffFromListEntry(int listIndex, std::string_view text, int staffCount);

// Deletes count measures from measure on (the Delete Measure prompt asks for both; the
// default is the selected measure, once): their notes and events go and later material moves
// back. The time, key and clef changes in force after the span stay in force. A measure or
// count below 1 deletes nothing.
void DelMeasure(Score& score, std::optional<int> measure = std::nullopt, bool prompt = false);

// Inserts empty measures of the length of measure m before m (after it with afterIt): every
// note and event from its start on moves later, except a time signature standing exactly
// there, which governs the new measures. Refused when a time would reach 2^24 64ths, the
// limit of the score file.
void AddMeasure(Score& score, std::optional<int> measure = std::nullopt, bool afterIt = false,
                bool prompt = false);

// Deletes staves from position on (default 1), the highest first; positions outside the
// staff list are skipped. The Delete Staff prompt proposes position, else the selected staff. A
// deleted staff's voices leave the score's voice list too, so they no longer sound; instruments
// stay.
void DelStaff(Score& score, std::optional<int> position = std::nullopt, bool prompt = false);

// Inserts a staff described "New" at position (default last) with one voice on the previous
// staff's instrument; with the Insert Staff prompt, the chosen number of staves, voices,
// instrument and clef instead. The (last) new staff; null when nothing was inserted.
std::shared_ptr<Staff> AddStaff(Score& score, std::optional<int> position = std::nullopt,
                                bool prompt = false);

// Shows the score (0), staff (1) or measure (3) properties dialog; any other value does
// nothing. When the dialog left the score changed and it was not before, the score's
// listeners hear ChangeNotify(true) once more after the dialog has gone.
void ShowDialog(Score& score, int dialog, std::optional<int> left = std::nullopt,
                std::optional<int> top = std::nullopt);

}  // namespace notecraft
