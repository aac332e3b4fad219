#pragma once
// Saving a score window: File > Save (the score's own file and format, or Save As for a
// window that has none) and File > Save As (a path and format from the Save As dialog).
// Every save is checked: only a save that wrote the file clears the change mark, makes the
// window titled and enters the recent-file list; a failed one keeps all of that as it was
// and says why in a message titled "Save".

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace notecraft {
class Score;
}  // namespace notecraft

namespace platform {
class RecentFiles;
}  // namespace platform

namespace veltrimond {

// The Save As dialog's filters, in the order of their indexes 1 (native), 2 (MIDI), 3 (all).
QString SaveAsFilters();

// What the Save As dialog starts with: a folder, a file name without extension, a filter.
struct SaveAsOffer {
  QString Folder;
  QString Name;
  int Filter = 1;
};

// The file and filter index chosen in the Save As dialog.
struct SaveAsChoice {
  QString Path;
  int FilterIndex = 1;
};

// The Save As dialog (title "Save As", Qt's overwrite confirmation kept) as offered (a folder
// that does not exist gives way to the home folder); a name typed without an extension gets
// the filter's (".sco" or ".mid"), and choosing the other of those two filters changes a
// name's ".sco" or ".mid" to match. Nothing when cancelled.
std::optional<SaveAsChoice> RunSaveAsDialog(QWidget* parent, const SaveAsOffer& offer);

// What a Save As choice writes: the extension typed decides the format (".sco" and ".sty"
// native, ".mid" and ".midi" MIDI); a name without one takes the chosen filter's format
// and its extension; another extension keeps the name and takes the filter's format ("All
// Files" is native). Filter is the filter index the choice stands for.
struct SaveAsTarget {
  QString Path;
  int Format = 0;  // FileFormats
  int Filter = 1;
};
SaveAsTarget SaveAsTargetOf(const SaveAsChoice& choice);

// The name Save As offers: the score's file name, else its title (without characters a
// file name cannot hold), else "Untitled".
QString SaveAsName(const notecraft::Score& score);

// Whether File > Save writes the score's own file without asking: only a native score file
// of a titled window. An untitled window, and a score read from (or saved as) a MIDI file,
// go to Save As.
bool SavesInPlace(const notecraft::Score& score, bool untitled);

class ScoreSaving {
public:
  enum class Outcome { Saved, Cancelled, Failed };

  // The Save As question; unset, RunSaveAsDialog over no parent.
  using SaveAsPrompt = std::function<std::optional<SaveAsChoice>(const SaveAsOffer& offer)>;
  // How a failure is told; unset, the engine's platform message.
  using Message = std::function<void(const QString& title, const QString& text)>;

  // Neither is owned; both outlive this object.
  ScoreSaving(notecraft::Score& score, platform::RecentFiles& history);

  void SetSaveAsPrompt(SaveAsPrompt prompt) { m_prompt = std::move(prompt); }
  void SetMessage(Message message) { m_message = std::move(message); }
  // Where Save As starts for a score without a file.
  void SetDefaultFolder(const QString& folder) { m_defaultFolder = folder; }

  // File > Save (also the toolbar's Save and the close prompt's Yes): the score's own file
  // when SavesInPlace, else Save As; for a score whose file is MIDI, Save As offers that
  // name with ".sco" on the native filter.
  Outcome Save(bool untitled);
  // File > Save As: asks (in the score's folder, else the default folder, with the name of
  // SaveAsName, starting on the filter of Files/Type), writes as SaveAsTargetOf says and
  // remembers its filter in Files/Type. On success the path tops the recent-file list.
  Outcome SaveAs();

private:
  SaveAsOffer DefaultOffer() const;
  Outcome SaveAs(const SaveAsOffer& offer);
  void Fail(const QString& path);

  notecraft::Score& m_score;
  platform::RecentFiles& m_history;
  SaveAsPrompt m_prompt;
  Message m_message;
  QString m_defaultFolder;
};

}  // namespace veltrimond
