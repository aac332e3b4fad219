#pragma once
// Mouse editing on the score page, without widgets: presses, drags and releases (page twips)
// become score operations chosen by the current tool and sub-tool, a rubber band that
// selects notes, the right-click menus, and the pitch that sounds while a note is placed.
// Everything it asks of the score, the frame and the window goes through PageEditHost, so
// a test drives it with a recording fake.

#include <QRect>
#include <QString>
#include <optional>

namespace veltrimond {

class ToolPalette;

// The states the Note menu and Edit > Cut/Copy can be put in by mouse editing.
enum class NoteMenuState {
  NoSelection,   // nothing selected
  NoteClicked,   // a right-clicked note: Delete, Make Rest, Ornament, Set, Stem, Set Value
  BandSelected,  // a band selected notes: all items and Cut and Copy
};

enum class PagePopup { Note, Score, Measure };

class PageEditHost {
public:
  virtual ~PageEditHost() = default;

  // --- The score (positions in page twips) ---
  virtual void AddNoteByHit(int x, int y, int duration, int flags, int snap) = 0;
  virtual void AddGlobalByHit(int x, int y, int eventType, int subType) = 0;
  virtual void AddOrnamentByHit(int x, int y, int ornament) = 0;
  virtual void SetBraceByHit(float x, float y, int staffs) = 0;
  virtual int SetSelection(int left, int top, int right, int bottom) = 0;
  virtual void ClearSelection() = 0;
  virtual void SetActiveByHit(int x, int y) = 0;
  virtual bool OnNote(int x, int y, int& noteTime, int& noteDur) = 0;
  virtual int GetNoteValueByHit(int x, int y) = 0;
  virtual bool HitTest(float x, float y) = 0;

  // --- The frame and the window ---
  virtual void PlayNote(int pitch, bool stop, int program, int channel) = 0;
  // The cursor slot to show over the page (0: off the score).
  virtual void ShowCursor(int slot) = 0;
  // The dotted selection rectangle (page twips, corners as dragged); none hides it.
  virtual void ShowBand(const std::optional<QRect>& band) = 0;
  virtual void SetMessage(const QString& text) = 0;
  virtual void SetNoteMenuState(NoteMenuState state) = 0;
  // Edit > Cut and Copy and the frame's buttons, while a band is dragged.
  virtual void EnableCutCopy(bool enabled) = 0;
  // Shows a pop-up menu and returns once it is closed (a command chosen has run).
  virtual void ShowPopup(PagePopup popup) = 0;
  // The key Ctrl+R: back to the pointer tool.
  virtual void PointerTool() = 0;
  // A press on a staff-spacing handle starts a drag the host carries out; false: none.
  virtual bool StartHandleDrag(int x, int y) { (void)x, (void)y; return false; }
  virtual void DragHandle(int y) { (void)y; }
  virtual void DropHandle() {}
  // The drum of the active staff's drum-panel entry, for a note placed on a drum staff.
  virtual void ChooseDrum() {}
  virtual void OpenChordPanel(int x, int y) { (void)x, (void)y; }
  virtual void OpenTextLabel(int x, int y) { (void)x, (void)y; }
};

class PageEditor {
public:
  PageEditor(PageEditHost& host, const ToolPalette& palette) : m_host(host), m_palette(palette) {}

  // Points are page twips, unrounded.
  void LeftPress(double x, double y, bool modifiers);
  void RightPress(double x, double y);
  void Move(double x, double y, bool buttonHeld);
  void Release(double x, double y, bool leftButton);
  // The page lost the mouse (focus, a window on top, hidden) while a button was held: a
  // sounding preview stops, as its release may never come.
  void MouseLost();

  // Clears a selection made on the page (band or right-click) and the score's selection.
  void ResetSelection();
  // The page was cleared: the band and the selection went with it.
  void WindowCleared();
  // The Note menu went back to its no-selection state.
  void SelectionForgotten() { m_hasSelection = false; }

  // For the preview of a placed note: the active staff's instrument.
  void SetPreview(int program, int channel) {
    m_previewProgram = program;
    m_previewChannel = channel;
  }
  int PreviewProgram() const { return m_previewProgram; }
  int PreviewChannel() const { return m_previewChannel; }

  bool ButtonDown() const { return m_buttonDown; }
  bool HasSelection() const { return m_hasSelection; }
  bool BandActive() const { return m_bandActive; }
  bool OffScore() const { return m_offScore; }
  void SetOffScore(bool off) { m_offScore = off; }
  int SoundingPitch() const { return m_soundingPitch; }
  int SelectionCount() const { return m_selectionCount; }
  // The last point pressed on the page (whole twips), where the menus' event commands act.
  int DownX() const { return m_downX; }
  int DownY() const { return m_downY; }
  int ClickedNoteTime() const { return m_clickedNoteTime; }
  bool NotePopupOpen() const { return m_notePopupOpen; }
  const QRect& BandRect() const { return m_band; }

  // "No items selected.", "1 item selected.", "2 items selected."
  static QString SelectionText(int count);

private:
  void PlaceAt(double x, double y);
  void FinishBand(double x, double y);
  void StopPreview();

  PageEditHost& m_host;
  const ToolPalette& m_palette;
  bool m_buttonDown = false;
  int m_downX = 0;
  int m_downY = 0;
  int m_soundingPitch = 0;
  bool m_bandActive = false;
  QRect m_band;  // corners as dragged: left/top the press, right/bottom the pointer
  bool m_hasSelection = false;
  int m_selectionCount = 0;
  bool m_offScore = false;
  int m_clickedNoteTime = 0;
  bool m_notePopupOpen = false;
  bool m_handleDrag = false;
  int m_previewProgram = 0;
  int m_previewChannel = 0;
};

// Page twips to whole twips, halves to even.
int RoundTwips(double value);

}  // namespace veltrimond
