#pragma once
// Lyrics typed in place: a text box under the note whose syllable it edits. Space or "-"
// stores the syllable ("-" appended) and moves on to the next note, Tab moves forward and
// Shift+Tab back, across pages; Ctrl+Up and Ctrl+Down (or a click on the status bar's Verse
// panel) choose the verse; Esc or leaving the box stores a changed syllable and ends entry.
// The score supplies the caret positions and stores the syllables.
//
// LyricEntry is the entry's logic over a caret and a text measure (tested headless);
// LyricBox is the line edit that receives Tab and Shift+Tab itself.

#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>
#include <functional>
#include <string>

namespace notecraft {
class Score;
}  // namespace notecraft

namespace veltrimond {

// What lyric entry asks of the score: the caret walking the notes of the current page, the
// syllable store, the verses and the pages.
class LyricCaret {
public:
  virtual ~LyricCaret() = default;
  virtual bool First(int& atTime, int& x, int& y, std::string& syllable) = 0;
  virtual bool Next(int& atTime, int& x, int& y, std::string& syllable) = 0;
  virtual bool Prev(int& atTime, int& x, int& y, std::string& syllable) = 0;
  virtual bool Store(int atTime, const std::string& text) = 0;
  // The verse syllables go to (1-based), and the highest one entry may choose: one past the
  // last verse holding a syllable, at least the verses the staff shows.
  virtual int Verse() const = 0;
  virtual int VerseLimit() const = 0;
  // Syllables go to verse from now on; the page may be laid out again for its line.
  virtual void SetVerse(int verse) = 0;
  virtual int CurPage() const = 0;
  virtual int LastPage() const = 0;
  virtual void SetCurPage(int page) = 0;
};

class ScoreLyricCaret : public LyricCaret {
public:
  explicit ScoreLyricCaret(notecraft::Score& score) : m_score(score) {}
  bool First(int& atTime, int& x, int& y, std::string& syllable) override;
  bool Next(int& atTime, int& x, int& y, std::string& syllable) override;
  bool Prev(int& atTime, int& x, int& y, std::string& syllable) override;
  bool Store(int atTime, const std::string& text) override;
  int Verse() const override;
  int VerseLimit() const override;
  void SetVerse(int verse) override;
  int CurPage() const override;
  int LastPage() const override;
  void SetCurPage(int page) override;

private:
  notecraft::Score& m_score;
};

// The width rules the lyric and label boxes share (twips): room for the text and a margin of
// capital letters, never below 390.
struct TextBoxWidth {
  static constexpr int kMinimum = 390;
  static constexpr int kSlack = 300;  // a box this much wider than needed shrinks
  // measure gives a text's width in twips.
  std::function<int(const QString&)> Measure;

  int OnArrival(const QString& text) const;  // "XXX" before the text
  int OnOpen(const QString& text) const;     // "XXXX" before the text
  // The new width after an edit, or the current one when it still fits ("XX" before the
  // text, within the slack).
  int AfterEdit(int current, const QString& text) const;
};

class LyricEntry {
public:
  // What the window does for the entry.
  class View {
  public:
    virtual ~View() = default;
    // Entry began: the status bar shows the verse and "Lyrics"; the page leaves the tab order.
    virtual void EntryStarted() = 0;
    // The box goes to (left, top) twips with width and text; show it, scroll it into view,
    // give it the focus and select its text.
    virtual void PlaceBox(int left, int top, int width, const QString& text) = 0;
    // The text changed the box's size: its left edge and width (twips).
    virtual void ResizeBox(int left, int width) = 0;
    // Entry ended: hide the box, restore the status bar and the tab order, focus the page.
    virtual void EntryEnded() = 0;
    // Syllables now go to verse (the status bar shows it).
    virtual void VerseChosen(int verse) = 0;
  };

  LyricEntry(LyricCaret& caret, View& view, TextBoxWidth width)
      : m_caret(caret), m_view(view), m_width(std::move(width)) {}

  // The "Lyrics" button: the box goes under the first note of the page; false (and no
  // entry) when the page has none.
  bool Start();

  enum class Key { Space, Hyphen, Tab, BackTab, Escape };
  // A key typed in the box with the box's text.
  void OnKey(Key key, const QString& text);
  void OnTextChanged(const QString& text);
  // The box lost the focus with text: stores a changed syllable and ends entry. Nothing
  // once entry has ended (hiding the box takes its focus away too).
  void OnFocusLost(const QString& text);
  // Ends entry without storing (the window is going).
  void Cancel();
  // Stores a changed syllable, then edits verse verse at the same note (on the next page
  // when the verse's line pushed the note there). False, on the same verse, when verse lies
  // outside 1..VerseLimit or entry is not open.
  bool ChooseVerse(int verse, const QString& text);
  // The verse after the one typed into, back to 1 after the highest one may choose.
  int NextVerse() const;

  bool Active() const { return m_active; }
  int Time() const { return m_time; }
  // The syllable as stored at this note (what the box arrived with, or last stored).
  const QString& Tag() const { return m_tag; }
  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const { return m_boxWidth; }

private:
  void Arrive(int x, int y, const std::string& syllable);
  void StoreIfChanged(const QString& text);
  void Next();
  void Prev();
  void End();
  // Puts the caret on the first note at or after atTime, from the page shown on.
  bool Seek(int atTime, int& x, int& y, std::string& syllable);

  LyricCaret& m_caret;
  View& m_view;
  TextBoxWidth m_width;
  bool m_active = false;
  int m_time = 0;
  QString m_tag;
  int m_left = 0;
  int m_top = 0;
  int m_boxWidth = TextBoxWidth::kMinimum;
};

// A line edit for typing on the page. Its owner sees each key first (KeyFilter: true
// swallows it), Tab and Shift+Tab included, which Qt would otherwise spend on moving the
// focus; it selects its whole text when it gets the focus and tells when it loses it.
class InPlaceBox : public QLineEdit {
  Q_OBJECT
public:
  explicit InPlaceBox(QWidget* parent = nullptr);

  std::function<bool(const QKeyEvent&)> KeyFilter;
  // Tab and Shift+Tab are the box's keys; off, they move the focus as usual.
  bool KeepTab = true;

signals:
  void FocusLost();

protected:
  bool event(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

class chdVLTMain;

// The window's side of lyric entry: the box on the page, the status bar and the tab order.
class ScoreLyricEditor : public QObject, private LyricEntry::View {
  Q_OBJECT
public:
  explicit ScoreLyricEditor(chdVLTMain& window);

  // The "Lyrics" button.
  bool Start();
  // Stores a changed syllable and ends entry, as leaving the box does: the window closes,
  // saves or turns the page.
  void Commit();
  // Ends entry without storing the box's text: the window is going, and nothing the box
  // does while it goes may reach the window.
  void Cancel() { m_entry.Cancel(); }
  bool Active() const { return m_entry.Active(); }
  const LyricEntry& Entry() const { return m_entry; }
  InPlaceBox* txtLyric = nullptr;

private:
  void EntryStarted() override;
  void PlaceBox(int left, int top, int width, const QString& text) override;
  void ResizeBox(int left, int width) override;
  void EntryEnded() override;
  void VerseChosen(int verse) override;
  bool KeyTyped(const QKeyEvent& key);
  bool eventFilter(QObject* watched, QEvent* event) override;

  chdVLTMain& m_window;
  ScoreLyricCaret m_caret;
  LyricEntry m_entry;
};

// The lyric and label boxes use the score's font 4: its width in twips for measuring, and
// the font a box shows on the page.
TextBoxWidth ScoreTextWidth(const notecraft::Score& score);
QFont ScoreBoxFont(const notecraft::Score& score);
// Takes the page and the page box out of the tab order while a box is open, and back.
void SetPageTabStops(chdVLTMain& window, bool on);

}  // namespace veltrimond
