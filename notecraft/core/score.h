#pragma once
// The score document: the one object every host creates. It owns its collections (score-wide
// events, instruments, voices, staves), its texts, tempo, key, display switches, page
// settings, fonts, page arrays and change state, and raises ScoreEvents to its listeners.
//
// Setters ignore values outside their limits; a setter given the value already stored does
// nothing. "Marks changed" sets Changed (raising ChangeNotify); "relayout" restarts
// pagination from page 1 and repaints; "repaint" repaints.
//
// Where the members live: score.cpp (creation, properties, CreateDefault, teardown),
// score_paint.cpp (painting and pagination), score_print.cpp (printing), score_view.cpp (drawing surface, colours and
// symbols), score_playback.cpp (playback events),
// score_files.cpp (opening and saving), score_midi.cpp (MIDI files, whole-score playback),
// score_undo.cpp (undo history), score_hit.cpp (hit testing), score_edit.cpp (note entry),
// score_repaint.cpp (partial repaint), score_select.cpp (selection), score_change.cpp
// (changing notes), score_lyric.cpp (ornaments, lyrics, caret), score_eventedit.cpp (event
// entry), score_clipboard.cpp (the clipboard), score_delete.cpp (deleting notes and
// events).

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/fontspec.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/range.h"
#include "notecraft/core/scoreevents.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voices.h"

namespace harmonygrid {
class Chord;
class Surface;
}

namespace notecraft {

struct Internal;

class Score {
public:
  static constexpr int kFontCount = 7;  // ScoreFonts 0..4, the music font 5, the expression font 6
  static constexpr int kMusicFont = 5;
  static constexpr int kExpressionFont = 6;

  Score();
  ~Score();
  Score(const Score&) = delete;
  Score& operator=(const Score&) = delete;

  // Listeners are not owned; a listener removes itself before it goes.
  void AddListener(ScoreEvents* listener);
  void RemoveListener(ScoreEvents* listener);

  // Replaces the content by a new default score: one staff, common time, "New Score".
  void CreateDefault();

  // --- Collections ---
  GlobalEvents& AllGlobals() { return *m_globals; }
  const GlobalEvents& AllGlobals() const { return *m_globals; }
  Instruments& AllInstruments() { return *m_instruments; }
  const Instruments& AllInstruments() const { return *m_instruments; }
  Voices& AllVoices() { return *m_voices; }
  const Voices& AllVoices() const { return *m_voices; }
  notecraft::Staffs& AllStaffs() { return *m_staffs; }
  const notecraft::Staffs& AllStaffs() const { return *m_staffs; }
  // The number of staves, and the staff at a 1-based position (null outside).
  int Staffs() const { return m_staffs->Count(); }
  std::shared_ptr<notecraft::Staff> Staff(int index) const { return m_staffs->Item(index); }
  harmonygrid::Chord* Chord() const { return m_chord.get(); }
  // The same table for a host that shares it (the score dialog's chord mapper).
  std::shared_ptr<harmonygrid::Chord> SharedChord() const { return m_chord; }

  // --- Texts (marks changed; all but Heading relayout) ---
  const std::string& Title() const { return m_title; }
  void SetTitle(const std::string& text);
  const std::string& SubTitle() const { return m_subTitle; }
  void SetSubTitle(const std::string& text);
  const std::string& Heading() const { return m_heading; }
  void SetHeading(const std::string& text);
  const std::string& Composer() const { return m_composer; }
  void SetComposer(const std::string& text);
  const std::string& ArrangedBy() const { return m_arrangedBy; }
  void SetArrangedBy(const std::string& text);
  // Line 0 for an index of 0 or below, line 1 for 1 and above.
  const std::string& Copyright(int index = 0) const;
  void SetCopyright(int index, const std::string& text);

  // --- Tempo and key ---
  int Beat() const { return m_beat; }
  void SetBeat(int beat);  // 8, 16, 32 or 64; anything else stores 16
  // Quarter notes a minute, 0..255. A tempo of 0 plays as 120 (see PlaybackTempo).
  int Count() const { return m_count; }
  void SetCount(int tempo);
  int PlaybackTempo() const { return m_count > 0 ? m_count : 120; }
  bool Metronome() const { return m_metronome; }
  void SetMetronome(bool on);
  // -7..7 (clamped), written through to the key event at time 0.
  int Key() const { return m_key; }
  void SetKey(int key);
  bool Minor() const { return m_minor; }
  void SetMinor(bool minor);

  // --- Chords ---
  int Capo() const { return m_capo; }
  void SetCapo(int capo);  // 0..15
  bool UseCapo() const { return m_useCapo; }
  void SetUseCapo(bool on);
  bool UseChords() const { return m_useChords; }
  void SetUseChords(bool on);
  bool UseChordMaps() const { return m_useChordMaps; }
  void SetUseChordMaps(bool on);
  // The chord table's entries for a host's list: (name, chord number).
  std::vector<std::pair<std::string, int>> LoadChordList() const;

  // --- Display switches ---
  int DynAdjust() const { return m_dynAdjust; }
  void SetDynAdjust(int value) { m_dynAdjust = value; }
  bool Handles() const { return m_handles; }
  void SetHandles(bool on) { m_handles = on; }
  int DrumIX() const { return m_drumIX + 1; }
  void SetDrumIX(int slot);  // 1..8
  bool NumberMeasures() const { return m_numberMeasures; }
  void SetNumberMeasures(bool on);
  int NumberMeasuresBy() const { return m_numberMeasuresBy; }
  void SetNumberMeasuresBy(int every);
  int NumberPos() const { return m_numberPos; }
  void SetNumberPos(int pos);
  int PageNums() const { return m_pageNums; }
  void SetPageNums(int kind);
  bool ReverseEvenOdd() const { return m_reverseEvenOdd; }
  void SetReverseEvenOdd(bool on);
  bool Redraw() const { return m_redraw; }
  // Switching it back on carries out the paint or relayout asked for meanwhile.
  void SetRedraw(bool on) {
    if (on == m_redraw) return;
    m_redraw = on;
    RedrawSwitched();
  }

  // --- Page (inches in the page's current orientation; twips alongside) ---
  int PageOrientation() const { return m_orientation; }
  void SetPageOrientation(int orientation);
  int PageSize() const { return m_pageSize; }
  void SetPageSize(int size);
  float PageHeight() const;
  void SetPageHeight(float inches);
  float PageWidth() const;
  void SetPageWidth(float inches);
  int PageHeightTwips() const;
  int PageWidthTwips() const;
  // marTop..marRight; 0 for other margins, and setting them is ignored.
  float Margins(int margin) const;
  void SetMargins(int margin, float inches);
  int MarginTwips(int margin) const;
  float StaffHeight() const { return m_staffHeight; }
  void SetStaffHeight(float inches);
  int StaffHeightTwips() const { return m_staffHeightTw; }
  std::pair<int, int> StaffHeightClass() const { return m_staffHeightClass; }
  float StaffSpace() const { return m_staffSpace; }
  void SetStaffSpace(float inches);
  int StaffSpaceTwips() const { return m_staffSpaceTw; }
  float SystemSpace() const { return m_systemSpace; }
  void SetSystemSpace(float inches);
  int SystemSpaceTwips() const { return m_systemSpaceTw; }

  // --- Fonts: 0..6; the score hands out its own objects ---
  std::shared_ptr<FontSpec> Fonts(int index) const;
  void SetFonts(int index, std::shared_ptr<FontSpec> font);  // null is ignored

  // Process-wide unit of measure (MeasurementUnits) shared by every score.
  int UOM() const;
  void SetUOM(int unit);

  // --- Active voice and verse, pages ---
  int Voice() const { return m_activeVoice; }
  void SetVoice(int number);  // 1..4
  int Verse() const { return m_verse; }
  int CurPage() const { return m_curPage; }
  // 1..LastPage, or LastPage + 1 to go on to the next page.
  void SetCurPage(int page);
  int LastPage() const { return m_lastPage; }
  int CurTime() const { return m_curTime; }
  // Per page: start time (Low) and the time its music reaches (High): the next page's
  // start, unless the next page goes on with the lower staves of the page's last system.
  const std::vector<Range>& PageTimes() const { return m_pageTimes; }
  // Per page: staff-name column width (Low) and staff height used (High).
  const std::vector<Range>& PageLayouts() const { return m_pageLayouts; }
  int EndTime() const { return m_endTime; }

  // --- Change state ---
  bool Changed() const { return m_changed; }
  void SetChanged(bool changed);

  // --- Queries ---
  // The latest start of any voice's last note; 0 without notes.
  int HighTime() const;
  // Bar and section bits of the score-wide events standing exactly at atTime: 1 repeat
  // begin, 2 repeat end, 4 section end, 8 score end, plus the section kinds x 16.
  int MeasureFlags(int atTime) const;
  std::string InsDesc(int insCode) const;

  // --- Painting and pagination (score_paint.cpp) ---
  void PaintWindow();
  void RestartPagination(int fromPage = 1);
  // [paint: section reserved for painting and pagination]
  // PaintWindow paints page CurPage (starting at CurTime) on the window. Pages that
  // background pagination has not reached yet are laid out first, at once, so the page
  // drawn always has the systems pagination gives it. RestartPagination lays the score out
  // again, from page 1, or from page fromPage (at its start time; at CurTime for CurPage),
  // one page per tick of this score's own 180 ms timer, after recomputing EndTime from the
  // music. While Redraw is off both are only remembered. A paint or restart asked for while
  // a paint runs (by a listener of its events) is carried out once after it.
  // True while background pagination runs; LastPage grows meanwhile.
  bool Paginating() const noexcept;
  // Lays out at once every page background pagination has not reached yet, so that
  // LastPage counts the whole score (a print dialog offers every page). Draws nothing.
  void FinishPagination() noexcept;
  // The measure last painted at CurTime, clicked or chosen; 1 before any.
  int SelectedMeasure() const noexcept;
  // Where the score ends: the end of its music, of the measure of its last final bar (a
  // score-end mark), or of the empty measures a new score or Insert Measure gave it after
  // them, whichever is latest.
  int ScoreEndTime() const;

  // Library-internal.
  // The staff bands of the page painted last, in drawing order.
  const std::vector<std::shared_ptr<class Region>>& Bands(Internal) const;
  // Whether staves are bracketed by instrument group (the score-wide event 101 at time 0),
  // as found at the last restart of pagination.
  bool GroupOrder(Internal) const;
  // Measures were inserted at time start (shift 64ths, each measure length long) into a
  // score that ended at endBefore, or the span from .. to is about to be deleted: the empty
  // measures after the music and the final bar follow, so that the score still ends with
  // its last measure.
  void MeasuresInserted(Internal, int start, int shift, int length, int endBefore);
  void DeletingMeasures(Internal, int from, int to);
  // A new score's room to write: count empty measures after its (empty) music.
  void SetEmptyMeasures(Internal, int count);
  // How many page layouts the score has made: a page painted from its kept layout adds none.
  int PagesLaidOut(Internal) const;
  // Notes or events of the score's lists changed: pages laid out before are laid out again.
  void ContentEdited(Internal) noexcept;
  // One step of background pagination (the layout timer's tick): lays out the next page
  // without drawing, or finishes. Tools that want every page at once call it until
  // Paginating is false.
  void PaginateStep(Internal) noexcept;

  // --- Printing (score_print.cpp) ---
  // Prints pages fromPage..toPage (0: the first, the last; a negative first page: page 1)
  // on printer, each painted in black through the ordinary page painting. The score's
  // layout is finished first, so every page of the range exists; the pages are then laid
  // out again on the printer, which measures text as it prints it, so that each printed page
  // goes on where the one before it ended (a score without a window keeps that layout:
  // LastPage counts its pages; one with a window gets its screen pages back). The window,
  // the page shown, its bands and this score's colours are as before afterwards. False, with
  // nothing started, when no page of the range exists or a print is already running; false
  // too when the printer cannot start or no page was printed.
  bool PrintScore(class PrintTarget& printer, int fromPage = 0, int toPage = 0) noexcept;

  // --- Drawing surface, colours and symbols (score_view.cpp) ---
  // [view: section reserved for the drawing surface and symbol drawing]
  // The drawing surface the host hands the score to draw its pages on (a page buffer on
  // screen, a printer while printing); null when none. Not owned: the host keeps it alive
  // while it is attached and attaches null before destroying it. Attaching makes the
  // process's default colours the score's, clears the surface, sets plain solid drawing,
  // sizes it to the page, and paginates and paints; null detaches, leaving the drawing.
  harmonygrid::Surface* Window() const noexcept;
  void SetWindow(harmonygrid::Surface* window) noexcept;
  // Sets the five drawing colours of this score, and of windows attached later in the
  // process, with the lighter notes colour derived from colorNotes; repaints.
  void SetColors(int colorLines, int colorBars, int colorNotes, int colorTies, int colorChords);
  // Twips to the drawing device's pixels, to the nearest, halves to even.
  int TwipsToPixelsX(int value) const;
  int TwipsToPixelsY(int value) const;
  // Library-internal: the score's drawing context (notecraft/view/drawcontext.h).
  class DrawContext& View(Internal);
  const class DrawContext& View(Internal) const;
  // Library-internal: makes page (1..LastPage) the page shown, from its start as laid out
  // now, also when it is the page shown already (after a relayout). Draws nothing.
  void ShowPageFromStart(Internal, int page);

  // --- Playback events (score_playback.cpp) ---
  // [playback: section reserved for the playback event stream]
  // For a host that sounds the score itself: program changes, note-ons and note-offs in
  // time order (64ths). GetMIDIEvent(startTime) restarts the stream there (-1 ends it) and
  // gives its first event; GetMIDIEvent() gives the next. Null at the end of the stream,
  // and always null while GetAsync is on: the event then comes through LoadMIDI from the
  // score's 25 ms timer, one per request. MarkRepeat, GoRepeat and SkipSection announce
  // repeats and first endings before the first event of their measure; a request made
  // from inside one of these three gets null.
  std::shared_ptr<MIDIEvent> GetMIDIEvent() noexcept;
  std::shared_ptr<MIDIEvent> GetMIDIEvent(int startTime) noexcept;
  bool GetAsync() const noexcept;
  void SetGetAsync(bool on) noexcept;
  // Library-internal: the pump timer's handler (also called directly), and the end of the
  // stream for a score whose content is replaced (CreateDefault, opening a file).
  void PumpPlaybackEvents(Internal) noexcept;
  void EndPlayback(Internal) noexcept;


  // --- Editing by position ---
  // [edit: section reserved for hit testing, entry by position, selection and note changes]
  // Points are page twips of the page painted last (the host converts mouse pixels: x 15
  // plus the scroll offset); every query reads that page's staff bands (Bands). Each edit
  // goes through one path that records undo, marks the playback file out of date and
  // marks the score changed, then repaints only the touched system unless the measure
  // needs another number of note positions.

  // Hit testing (score_hit.cpp).
  // The first band holding the point, edges included; null when none.
  std::shared_ptr<class Region> InRegion(int x, int y) const;
  // Whether a band holds the point (edges included); with setIX its staff becomes the
  // selected one and ActiveStaff is raised.
  bool HitTest(float x, float y, bool setIX = false);
  // Edges excluded: selects the staff and the measure under the point (ActiveStaff,
  // ActiveMeasure).
  void SetActiveByHit(int x, int y);
  // The note of the active voice drawn under the point: a probe of a half space and 30
  // twips either side must lie in one band and one measure.
  bool OnNote(int x, int y, int& noteTime, int& noteDur);
  // The pitch under the point (MIDI 0..127); 0 off every staff and measure.
  int GetNoteValueByHit(int x, int y);
  // staffs 0 removes the brace of the staff under the point, 1..3 braces that many staves
  // (1 counts as 2, 4 and more as 3); a negative value toggles ordering staves by group.
  void SetBraceByHit(float x, float y, int staffs = 0);

  // Note entry (score_edit.cpp).
  // Adds a note of duration and flags (NoteFlags) to the active voice of the staff under
  // the point, at the time and pitch under it (the drum of DrumIX on a drum staff); snap
  // (a duration, 0: none) rounds the time within the measure down. Recorded for Undo.
  void AddNoteByHit(int x, int y, int duration, int flags, int snap = 0);
  // Adds a note to voice (1-based position in AllVoices) without undo or repaint; null
  // for a voice out of range or a value outside 0..127.
  std::shared_ptr<class Note> AddNote(int voice, int time, int value, int duration, int flags);

  // Selection (score_select.cpp).
  // Selects the notes of each staff's active voice drawn inside the rectangle; returns
  // their number. Notes removed since by any other means are passed over by every user of
  // the selection.
  int SetSelection(int left, int top, int right, int bottom);
  void ClearSelection();
  int SelCount() const;
  // One selected note that still stands in its voice at its time, with where it stands now.
  struct SelectedItem {
    std::shared_ptr<class Note> Item;
    std::shared_ptr<class Voice> Owner;
    int Staff = 0;        // the position in AllStaffs of the staff holding the voice
    int VoiceNumber = 0;  // the voice's number on that staff
  };
  // The selected notes still in the score, in selection order (what the editing tools of
  // the host work on).
  std::vector<SelectedItem> SelectedNotes() const;
  // The first staff whose Selected is set; null when none.
  std::shared_ptr<notecraft::Staff> SelectedStaff() const;

  // Changing notes (score_change.cpp); neither is recorded for Undo.
  // Moves the note entered last by AddNoteByHit: its pitch by value semitones, or with
  // alignment its time by value sixteenths between its neighbours. False, and forgotten
  // until the next entry, when that note is gone.
  bool ChangeLast(int value, bool alignment = false);
  // One change to every selected note, in this precedence: delete; tie (the first
  // selected staff's notes); stem or property code (StemTypes), new duration, new pitch
  // (1..127 one pitch, 128 a rest, 256 + n up n semitones, negative down), ornament
  // toggles (OrnamentTypes). Returns the number of notes handled.
  int ChangeSel(int newDur = 0, int newValue = 0, int stemDir = 0, int ornaments = 0,
                bool del = false, bool tie = false);

  // Ornaments, lyrics and the caret (score_lyric.cpp).
  // Toggles one OrnamentTypes mark on the note under the point; setting one clears bows.
  void AddOrnamentByHit(int x, int y, int ornament);
  // Stores the active verse's syllable at atTime on the selected staff; false without one.
  bool AddLyric(int atTime, const std::string& text);
  // The caret walks the notes of the selected staff's active voice on the current page:
  // the note's time, its x, the bottom of its band, and the active verse's syllable.
  bool FirstActiveXY(int& atTime, int& x, int& y, std::string& activeLyric);
  bool NextActiveXY(int& activeTime, int& x, int& y, std::string& activeLyric);
  bool PrevActiveXY(int& activeTime, int& x, int& y, std::string& activeLyric);
  // Half-space offsets of y above (offset1) and below (offset2) the middle line of the
  // band under the point, and the half space (inc); and back.
  void TextOffsetByPos(int& offset1, int& offset2, int x, int y, int& inc);
  void TextPosByOffset(int& y, int offset1, int offset2, int inc, bool useActive = false) const;
  // The active verse's syllable at the lyric position; setting it keeps the other verses.
  std::string Lyric() const;
  void SetLyric(const std::string& text);
  // Chooses the active verse (1..255) of the selected staff, raising its verse count; 0
  // shows no verses.
  void SetVerse(int verse);

  // The clipboard (score_clipboard.cpp), through Platform::ClipboardText and
  // SetClipboardText in the notation of notecraft/edit/clipboardnotation.h.
  // Puts the selected notes on the clipboard; with isMove deletes them too (as ChangeSel
  // does). Returns the number of selected notes; with none the clipboard is left empty.
  int PutClipboard(bool isMove = false);
  // Adds the notes of the clipboard's first staff to the active voice of the selected
  // staff, moved from their measure to the start of the selected measure. Foreign text
  // adds nothing; damaged text adds the notes before the damage. Notes that would start
  // before time 0 or past the file's 24-bit limit, or whose duration is not 1..255, are
  // left out. Relays out from the current page when anything was added. Never throws.
  void GetClipboard(bool clear = false);

  // Deleting a note and events (score_delete.cpp); neither is recorded for Undo.
  // Removes the note at atTime from voice (1..4; else the active voice) of staff (a
  // position; else the selected staff); nothing without such a staff and voice. Marks
  // changed even when no note stood there; repaints the band of the last hit, or relays
  // out from the current page when the measure needs another number of note positions.
  void DelNote(int atTime, std::optional<int> voice = std::nullopt,
               std::optional<int> staff = std::nullopt);
  // Removes the event of eventType (EventTypes) at exactly atTime, or with a negative
  // atTime every event of exactly that kind. Key changes, clef changes and lyrics go from
  // the selected staff's list (nothing without one), the other kinds from AllGlobals. A
  // staff left without lyrics shows no verses. Relays out when anything went.
  void RemoveGlobalEvent(int atTime, int eventType);

  // Event entry (score_eventedit.cpp).
  // Adds, toggles, adjusts or removes the event of eventType (EventTypes) at the measure
  // and time under the point; recorded for Undo.
  void AddGlobalByHit(int x, int y, int eventType, int subType = 0, const std::string& text = {});
  // The time (64ths) at which an event placed at the point by time (a clef, chord, dynamic or
  // text) would stand: the nearest 64th drawn under it; -1 off every staff and measure.
  int TimeByHit(int x, int y) const;
  // Stores text as the text label of staff (a position in AllStaffs) at atTime, offset1
  // half spaces above or offset2 below the staff's middle line (as TextOffsetByPos counts
  // them); a label standing exactly there takes the text and the offsets. This is what a
  // label box stores: the staff and time it was opened on, however the page has moved
  // since. Recorded for Undo as a text placed at a point; ActiveMeasure names the label's
  // measure, and the system showing it is repainted when it is on the page. False, with
  // nothing changed, for a staff out of range or a negative time.
  bool AddTextLabel(int staff, int atTime, int offset1, int offset2, const std::string& text);

  // Library-internal.
  // Erases and redraws the system of band (or everything down to the page's end), with
  // measureIndex's flags changed first in each band when it is 0 or more.
  void RepaintAfterEdit(Internal, const class Region& band, bool toPageEnd, int measureIndex,
                        int setFlags, int clearFlags);
  void SetSelectedMeasure(Internal, int number);
  // After measures or staves were inserted or deleted: the selection, the last entry and
  // the band of the last hit name notes and places that moved (SelectionCleared is raised
  // when notes were selected).
  void ForgetEditPositions(Internal);
  // The last entry (ChangeLast's note) and the caret, for tests and tools.
  const struct EditState& Editing(Internal) const;

  // --- Files (score_files.cpp) ---
  // [files: section reserved for opening, saving and reloading]
  // Replaces the content by the file at path: a native score file ("Vm00") or a Standard
  // MIDI File ("MThd"), told apart by the first four bytes. Raises BeforeOpenSave,
  // ProgressReport, AfterOpenSave, ActiveVoice and ActiveStaff. A file that cannot be read
  // leaves the score as it was, is explained in a message titled "Open" and gives false;
  // so does a call made while this score is opening a file.
  bool OpenFile(const std::string& path) noexcept;
  // Writes the score to path in fileType (FileFormats), or, with an empty path, to its own
  // file in its own format. The old file is replaced only by a complete new one. On
  // success the score keeps path and type, is no longer Changed and its undo history is
  // emptied; false (LastFileError says why) when nothing was written.
  bool SaveFile(const std::string& path = {}, int fileType = fmtVeltrimond) noexcept;
  // Opens the score's file again, or makes a new default score when it has none.
  void Reload() noexcept;
  // The file path as stored; empty for a score never saved or opened.
  const std::string& FileName() const { return m_filePath; }
  // The file name without folder and extension; "New Score" without a file.
  std::string FileTitle() const;
  // The format (FileFormats) of the file the score was read from or last saved to;
  // fmtVeltrimond for a score without a file.
  int FileFormat() const { return m_filePath.empty() ? int{fmtVeltrimond} : m_fileType; }
  // Why the last OpenFile or SaveFile failed; empty after a success.
  const std::string& LastFileError() const { return m_lastFileError; }

  // Library-internal.
  // Empties the score for a reader: staves, voices, instruments, events, texts, key and
  // pages; stores path. Fonts, page settings, spacing and switches keep their values, and
  // nothing is raised or marked changed.
  void ClearContents(Internal, const std::string& path);
  // Sets a text font (ScoreFonts) from "text|name|size|bold": name, size and bold (when the
  // bold field reads 1), each when its field is there; underline always goes off.
  void SplitImportText(Internal, int font, const std::string& text);
  int FileType(Internal) const;  // FileFormats of the file path
  void SetFileType(Internal, int type);
  // The native reader on a file's bytes: the whole file is checked before the score is
  // touched, then replaces the content. False (LastFileError says why) leaves the score as
  // it was; shows no message.
  bool ReadScoreFile(Internal, std::span<const std::uint8_t> bytes,
                     const std::string& path) noexcept;
  // N4 of the score files: four bytes, most significant first; read back from the low
  // three bytes of exactly four, else 0.
  static std::string LongToBytes(Internal, std::uint32_t value);
  static std::int32_t BytesToLong(Internal, std::string_view text);

  // --- Standard MIDI Files and whole-score playback (score_midi.cpp) ---
  // [midi: section reserved for MIDI file export, import and sequencer playback]
  // Writes the score to path as a Standard MIDI File (format 1, 128 ticks per quarter
  // note). forPlayback leaves out the texts, the layout numbers and the voices of muted
  // staves. path is replaced only by a complete file; the score does not change.
  bool WriteMIDIFile(const std::string& path, bool forPlayback = false) noexcept;

  // Told when a whole-score playback started with sendEvents reaches its end. Not owned:
  // stop the playback (PlayScore(true)) before the target goes.
  class PlayEndTarget {
  public:
    virtual ~PlayEndTarget() = default;
    virtual void PlayEnded() = 0;
  };
  // Plays the whole score from its start through the host's ScorePlayer
  // (notecraft/midi/scoreplayer.h), closing a playback that still runs first; stopPlay
  // only stops. The playback file is rewritten only when the score changed since it was
  // last written. With sendEvents, target->PlayEnded() follows (from the score's timer)
  // when the end is reached. True when playing started, or after a stop; false, with
  // LastPlayError saying why, when the score cannot be heard (no player, no audio device,
  // the file cannot be written).
  bool PlayScore(bool stopPlay = false, bool sendEvents = false,
                 PlayEndTarget* target = nullptr) noexcept;
  // A playback started by PlayScore holds the player (until the next PlayScore).
  bool Playing() const noexcept;
  const std::string& LastPlayError() const noexcept;

  // Library-internal.
  // The MIDI reader of OpenFile: checks the whole file, then replaces the content. A file
  // it refuses leaves the score as it was, is explained in a message titled "Open"
  // (LastFileError says the same) and gives false.
  bool ReadMIDIFile(Internal, std::span<const std::uint8_t> bytes,
                    const std::string& path) noexcept;
  // The playback file; empty until first written.
  std::string PlaybackFile(Internal) const;

  // --- Undo (score_undo.cpp) ---
  // [undo: section reserved for the undo history]
  // Each score keeps its newest ten edits by position (notes and events added, removed or
  // changed). Undo takes back the newest and raises HistoryChanged(false) when that empties
  // the history; a successful save empties it.
  bool CanUndo() const { return UndoCount() != 0; }
  void Undo() noexcept;
  int UndoCount() const;
  // Library-internal (the record: notecraft/edit/didwhat.h).
  void PushUndo(Internal, int action, int atTime, int arg1, int arg2, int arg3, int arg4,
                const std::string& text);
  void PushUndo(Internal, const class DidWhat& record);
  std::shared_ptr<class DidWhat> PopUndo(Internal);
  // Empties the history, raising HistoryChanged(false) when it held records. Edits after
  // which records would name other staves or times (inserting or deleting measures or
  // staves, re-sorting staves, replacing the content) call it.
  void ClearUndo(Internal);

  // Library-internal.
  bool Initialising(Internal) const;
  void SetInitialising(Internal, bool on);
  bool PlaybackStale(Internal) const;
  void SetPlaybackStale(Internal, bool stale);
  void SetEndTime(Internal, int time);
  void SetVerse(Internal, int verse);
  void SetLastPage(Internal, int page);
  std::vector<Range>& MutablePageTimes(Internal);
  std::vector<Range>& MutablePageLayouts(Internal);
  const std::string& FilePath(Internal) const;
  void SetFilePath(Internal, std::string path);
  // AllGlobals was emptied: puts back the time-0 key event that Key and Minor stand for.
  void ScoreEventsCleared(Internal);
  int TwipsPerPixelX(Internal) const;
  int TwipsPerPixelY(Internal) const;

  // Raises an event on every listener. A listener removed during the event (by itself or
  // by another) is not called again, even within this event: it may be gone. One added
  // during the event hears the next one.
  template <typename F>
  void Raise(F&& call) {
    RaiseScope scope(*this);
    const std::size_t count = m_listeners.size();
    for (std::size_t i = 0; i < count && i < m_listeners.size(); ++i)
      if (ScoreEvents* l = m_listeners[i]) call(*l);
  }

private:
  // [private: paint]
  // Carries out what was asked for while Redraw was off; the Redraw setter calls it once
  // the value changed.
  void RedrawSwitched();
  void PaintPage();
  // Paints a page laid out already: the page on the window, or a printed page laid out on
  // the screen.
  void PaintLaidOut(const struct PageLayout& page,
                    std::shared_ptr<const struct PageLayout> kept = nullptr);
  struct PageLayout LayOutPage(int page, int start, int firstStaff);
  // The layout of page page from start: the one kept from pagination or an earlier paint
  // while nothing it depends on changed since (the score, its staff height and end, the
  // window and its resolution), else laid out now and kept.
  std::shared_ptr<const struct PageLayout> LaidOutPage(int page, int start, int firstStaff);
  // Something a page's layout reads changed: the kept layouts are laid out again.
  void LayoutInputsChanged() noexcept { ++m_layoutRevision; }
  struct KeptLayout {
    std::shared_ptr<const struct PageLayout> Page;
    unsigned long long Revision = 0;
    int StaffHeight = 0;  // handed to the page breaker
    int End = 0;
    const void* Window = nullptr;
    double PixelX = 0;
    double PixelY = 0;
    int ScreenPixelY = 0;
    bool Printing = false;
  };
  std::vector<KeptLayout> m_keptPages;  // by page number - 1
  unsigned long long m_layoutRevision = 1;
  int m_pagesLaidOut = 0;  // page layouts made, kept ones not counted
  int m_heightGuess = 0;   // the lowered staff height a page found last
  // What the page layouts read from each measure, kept from page to page while nothing
  // they read changed.
  std::shared_ptr<class LayoutMemo> m_layoutMemo;
  void StorePage(const struct PageLayout& page);
  int PageStaffHeight(int page) const;  // L that page page starts with
  int PageFirstStaff(int page, int start) const;  // the staves of its first system page leaves out
  int MusicEndTime() const;
  int FinalBarEnd() const;
  // Where the pages end: with the measure of the final bar where the score has one (music
  // after it is not shown), else at EndTime. The last system ends with the measure that
  // holds it.
  int PagesEnd() const;
  void StartLayoutTimer(int milliseconds);
  void StopLayoutTimer();
  void LayoutTimerTick() noexcept;
  struct LayoutTimerDeleter {
    void operator()(class Timer* timer) const noexcept;
  };
  // This score's own layout timer, made on first use.
  std::unique_ptr<class Timer, LayoutTimerDeleter> m_layoutTimer;
  std::vector<std::shared_ptr<class Region>> m_bands;
  // The layout the bands were painted from: a repaint draws only as long as the page would
  // still be laid out so.
  std::shared_ptr<const struct PageLayout> m_paintedPage;
  // Whether the page on screen would be laid out as it was painted (after an edit).
  bool PaintedLayoutHolds();
  // Per page: the score's staff height when the page was laid out, and the one used; a
  // page starts with the height its predecessor used until StaffHeight is set again.
  std::vector<std::pair<int, int>> m_pageHeights;
  // Per page: the staves of its first system that the page before holds, and of its last
  // system that the next page holds (0 and 0 where systems do not go on over pages).
  std::vector<std::pair<int, int>> m_pageStaves;
  int m_paginatePage = 1;  // the next page pagination lays out
  int m_paginateTime = 0;  // and its start time
  int m_paginateStaff = 0;  // and the staves of its first system the page before holds
  int m_roomEnd = 0;        // the end of the empty measures the score holds after its music
  int m_selectedMeasure = 0;
  int m_restartAfterPaint = 0;  // page to restart from once the running paint ends; 0: none
  bool m_paginating = false;
  bool m_stepBusy = false;
  bool m_paintBusy = false;
  bool m_tickRunning = false;
  bool m_relayoutPending = false;
  bool m_paintPending = false;
  bool m_repaintAfterPaint = false;
  bool m_replaying = false;  // the repaint asked for during a paint runs now
  bool m_groupOrder = false;
  // [private: view]
  struct DrawContextDeleter {
    void operator()(class DrawContext* context) const noexcept;
  };
  // Made on first use; it keeps a non-owning reference back to this score.
  mutable std::unique_ptr<class DrawContext, DrawContextDeleter> m_view;
  // [private: playback]
  class PlaybackStream;  // playbackstream.h
  struct PlaybackStreamDeleter {
    void operator()(PlaybackStream* stream) const noexcept;
  };
  PlaybackStream& Playback();
  // Created on first use; the stream keeps a non-owning reference back to this score.
  std::unique_ptr<PlaybackStream, PlaybackStreamDeleter> m_playback;
  // [private: edit]
  struct EditStateDeleter {
    void operator()(struct EditState* state) const noexcept;
  };
  struct EditState& Edit();  // made on first use
  // The one path of every edit by position: records undo (null: none), marks the
  // playback file out of date and the score changed, raising HistoryChanged(true) when
  // the history was empty.
  void CommitEdit(const class DidWhat* record);
  void RedrawBand(class Region& band, int joinTop);
  // Puts the caret on note of staff and reads the lyric there.
  bool PlaceCaret(const notecraft::Staff& staff, const class Note& note, int& activeTime, int& x,
                  int& y, std::string& activeLyric);
  // Moves the notes of measure mesNo (duration 64ths) of every voice so that none starts
  // before the one before it ends.
  void RetimeAfterDuration(int mesNo, int duration);
  // The number of the measure in which music ending at endTime ends.
  int EndMeasure(int endTime) const;
  std::unique_ptr<struct EditState, EditStateDeleter> m_edit;
  // [private: files]
  bool OpenFileUnguarded(const std::string& path);
  bool WriteScoreFile(const std::string& path);
  void ApplyScoreImage(const struct ScoreImage& image, const std::string& path);
  int m_fileType = 0;  // FileFormats of the file path
  bool m_opening = false;
  std::int64_t m_fileLength = 0;  // of the file being opened
  std::string m_lastFileError;
  // [private: midi]
  friend class MidiImporter;  // rebuilds the content as the native reader does
  class Sequencer;            // notecraft/midi/sequencer.h
  struct SequencerDeleter {
    void operator()(Sequencer* sequencer) const noexcept;
  };
  // Created on first use; holds the player and the playback file.
  std::unique_ptr<Sequencer, SequencerDeleter> m_sequencer;
  std::string m_lastPlayError;
  // [private: undo]
  bool TakeBack(const class DidWhat& record);
  bool TakeBackEntry(const class DidWhat& record);
  std::shared_ptr<class UndoHistory> m_undo;  // made on first use

  void SetText(std::string& field, const std::string& text, bool relayout);
  void MarkChanged() { SetChanged(true); }
  void Relayout();
  void WriteKeyThrough();
  void SetPaperDimensions(int heightTwips, int widthTwips);
  void RecomputePageSize();
  // The attached window takes the page's size (score_view.cpp).
  void FitWindowToPage();
  void ClearCollections();

  // Removal during an event leaves a null slot, so positions stay put until the outermost
  // event ends and the list is compacted.
  class RaiseScope {
  public:
    explicit RaiseScope(Score& score) : m_score(score) { ++m_score.m_raiseDepth; }
    ~RaiseScope() {
      if (--m_score.m_raiseDepth == 0) m_score.CompactListeners();
    }
    RaiseScope(const RaiseScope&) = delete;
    RaiseScope& operator=(const RaiseScope&) = delete;

  private:
    Score& m_score;
  };
  void CompactListeners();
  std::vector<ScoreEvents*> m_listeners;
  int m_raiseDepth = 0;

  std::unique_ptr<GlobalEvents> m_globals;
  std::unique_ptr<Instruments> m_instruments;
  std::unique_ptr<Voices> m_voices;
  std::unique_ptr<notecraft::Staffs> m_staffs;
  std::shared_ptr<harmonygrid::Chord> m_chord;  // shared with the chord mapper of the score dialog

  std::string m_title, m_subTitle, m_heading, m_composer, m_arrangedBy;
  std::array<std::string, 2> m_copyright;
  std::string m_filePath;

  int m_beat = 0;
  int m_count = 0;
  bool m_metronome = false;
  int m_key = 0;
  bool m_minor = false;
  int m_capo = 0;
  bool m_useCapo = false;
  bool m_useChords = false;
  bool m_useChordMaps = false;
  int m_dynAdjust = 0;
  int m_drumIX = 0;  // stored minus one
  bool m_numberMeasures = false;
  int m_numberMeasuresBy = 0;
  int m_numberPos = 0;
  int m_pageNums = 0;
  bool m_reverseEvenOdd = false;

  int m_orientation = 0;
  int m_pageSize = 0;
  float m_paperHeight = 11.0f, m_paperWidth = 8.5f;  // portrait, inches
  int m_paperHeightTw = 15840, m_paperWidthTw = 12240;
  std::array<float, 4> m_margins{1.0f, 0.5f, 0.75f, 0.5f};
  std::array<int, 4> m_marginsTw{1440, 720, 1080, 720};
  float m_staffHeight = 0.4f, m_staffSpace = 0.5f, m_systemSpace = 0.65f;
  int m_staffHeightTw = 576, m_staffSpaceTw = 720, m_systemSpaceTw = 936;
  std::pair<int, int> m_staffHeightClass{4, 105};

  std::array<std::shared_ptr<FontSpec>, kFontCount> m_fonts;

  int m_activeVoice = 0;
  int m_verse = 0;
  int m_curPage = 0;
  int m_lastPage = 0;
  int m_curTime = 0;
  std::vector<Range> m_pageTimes;
  std::vector<Range> m_pageLayouts;
  int m_endTime = 0;

  bool m_changed = false;
  bool m_playbackStale = true;
  bool m_handles = false;
  bool m_redraw = true;
  bool m_initialising = false;
  int m_twipsPerPixelX = 15;
  int m_twipsPerPixelY = 15;
};

}  // namespace notecraft
