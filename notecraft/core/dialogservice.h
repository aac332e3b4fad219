#pragma once
// How the score's structural edits and ShowDialog reach the library's own modal dialogs
// without the engine knowing about widgets. The dialogs library installs the real service;
// headless tests install a fake with canned answers; without one, prompts are never shown
// (a prompted edit does nothing) and ShowDialog shows nothing.
//
// Each Ask* shows one prompt, preset as described, and gives its answer only when the user
// chose OK (the process-wide DialogResult is 1 afterwards); Cancel (2) and closing the window
// (5) give no answer. Numbers are what the boxes read, not yet checked by the caller.

#include <optional>
#include <string>

namespace notecraft {

class Score;

struct DeleteStaffAnswer {
  int Quantity = 1;
  int ListIndex = 1;     // 0 "First", 1 "Last", then one entry per staff
  std::string ListText;  // the chosen entry: "n" or "n: description"
};

struct DeleteMeasureAnswer {
  int Quantity = 1;
  int Measure = 1;
};

struct InsertMeasureAnswer {
  int Quantity = 1;
  int Measure = 1;
  bool After = false;
};

struct InsertStaffAnswer {
  int Quantity = 1;
  int ListIndex = 1;  // as in DeleteStaffAnswer
  std::string ListText;
  bool After = true;
  int InstrumentRow = -1;  // instrument-table row of the chosen type; -1 when none
  int Voices = 1;
  int Clef = -1;  // ClefTypes; -1 when none is chosen
};

class DialogService {
public:
  virtual ~DialogService() = default;

  // The staff list starts on the entry of staff position staff; on "Last" when no staff
  // stands there (0).
  virtual std::optional<DeleteStaffAnswer> AskDeleteStaff(Score& score, int staff) = 0;
  // The measure box starts at measure.
  virtual std::optional<DeleteMeasureAnswer> AskDeleteMeasure(Score& score, int measure) = 0;
  // The measure box starts at measure, with "or After" chosen when after.
  virtual std::optional<InsertMeasureAnswer> AskInsertMeasure(Score& score, int measure,
                                                              bool after) = 0;
  virtual std::optional<InsertStaffAnswer> AskInsertStaff(Score& score) = 0;
  // Shows a property dialog (DialogTypes 0, 1 or 3) modally; it writes its own changes.
  // left and top are screen twips; without them the dialog is centred.
  virtual void ShowProperties(Score& score, int dialog, std::optional<int> left,
                              std::optional<int> top) = 0;
};

// The installed service, null when none. Not owned; single-threaded.
DialogService* CurrentDialogService() noexcept;
void SetDialogService(DialogService* service) noexcept;

}  // namespace notecraft
