#pragma once
// The loaded and modified flags every property dialog keeps, apart from any widget.
//
// Loaded is off while a dialog fills its controls (and while a handler makes changes of its
// own); only then do control changes count as the user's. Modified drives the Apply button:
// it turns on only while loaded, and Apply clears it before writing, so OK without edits
// writes nothing and a second Apply does nothing.

namespace notecraft::dialogs {

class DialogFlags {
public:
  bool Loaded() const { return m_loaded; }
  void SetLoaded(bool on) { m_loaded = on; }
  bool Modified() const { return m_modified; }
  // False when nothing changed (the same value, or on while not loaded).
  bool SetModified(bool on) {
    if (on == m_modified || (on && !m_loaded)) return false;
    m_modified = on;
    return true;
  }
  // Init's end: loaded, and not modified whatever the filling did.
  void FinishLoading() {
    m_loaded = true;
    m_modified = false;
  }
  // Apply's guard: false when there is nothing to write; otherwise the flag is cleared and
  // the answer is whether the dialog is loaded (only then is anything written).
  bool BeginApply() {
    if (!m_modified) return false;
    m_modified = false;
    return m_loaded;
  }

private:
  bool m_loaded = false;
  bool m_modified = false;
};

// Clears the loaded flag for a handler's own changes and restores it afterwards.
class LoadedOff {
public:
  explicit LoadedOff(DialogFlags& flags) : m_flags(flags), m_was(flags.Loaded()) {
    flags.SetLoaded(false);
  }
  ~LoadedOff() { m_flags.SetLoaded(m_was); }
  LoadedOff(const LoadedOff&) = delete;
  LoadedOff& operator=(const LoadedOff&) = delete;

private:
  DialogFlags& m_flags;
  bool m_was;
};

}  // namespace notecraft::dialogs
