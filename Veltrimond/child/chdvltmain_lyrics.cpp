// Lyric entry's logic and the in-place text box.
#include "Veltrimond/child/chdvltmain_lyrics.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_labels.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/core/staff.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/qt/scorepagewidget.h"
#include "notecraft/view/lyricrow.h"

namespace veltrimond {

bool ScoreLyricCaret::First(int& atTime, int& x, int& y, std::string& syllable) {
  return m_score.FirstActiveXY(atTime, x, y, syllable);
}
bool ScoreLyricCaret::Next(int& atTime, int& x, int& y, std::string& syllable) {
  return m_score.NextActiveXY(atTime, x, y, syllable);
}
bool ScoreLyricCaret::Prev(int& atTime, int& x, int& y, std::string& syllable) {
  return m_score.PrevActiveXY(atTime, x, y, syllable);
}
bool ScoreLyricCaret::Store(int atTime, const std::string& text) {
  return m_score.AddLyric(atTime, text);
}
int ScoreLyricCaret::Verse() const {
  return m_score.Verse();
}
int ScoreLyricCaret::VerseLimit() const {
  const auto staff = notecraft::SelectedStaff(m_score);
  if (!staff) return 1;
  int lastSung = 0;
  for (const auto& e : staff->GlobalEvents()) {
    if (e->EventType() != notecraft::evtLyric) continue;
    const auto verses = notecraft::LyricVerses(e->Text());
    for (std::size_t k = 0; k < verses.size(); ++k)
      if (verses[k].find_first_not_of(' ') != std::string_view::npos)
        lastSung = std::max(lastSung, static_cast<int>(k) + 1);
  }
  return std::max({lastSung + 1, staff->Verses(), 1});
}
void ScoreLyricCaret::SetVerse(int verse) {
  m_score.SetVerse(verse);
}
int ScoreLyricCaret::CurPage() const {
  return m_score.CurPage();
}
int ScoreLyricCaret::LastPage() const {
  return m_score.LastPage();
}
void ScoreLyricCaret::SetCurPage(int page) {
  m_score.SetCurPage(page);
}

namespace {

int AtLeastMinimum(int width) {
  return std::max(width, TextBoxWidth::kMinimum);
}

}  // namespace

int TextBoxWidth::OnArrival(const QString& text) const {
  return AtLeastMinimum(Measure(QStringLiteral("XXX") + text));
}

int TextBoxWidth::OnOpen(const QString& text) const {
  return AtLeastMinimum(Measure(QStringLiteral("XXXX") + text));
}

int TextBoxWidth::AfterEdit(int current, const QString& text) const {
  const int fit = AtLeastMinimum(Measure(QStringLiteral("XX") + text));
  if (current >= fit && current <= fit + kSlack) return current;
  return OnOpen(text);
}

bool LyricEntry::Start() {
  int x = 0, y = 0;
  std::string syllable;
  m_active = m_caret.First(m_time, x, y, syllable);
  if (!m_active) {
    End();
    return false;
  }
  m_view.EntryStarted();
  Arrive(x, y, syllable);
  return true;
}

void LyricEntry::Arrive(int x, int y, const std::string& syllable) {
  m_tag = QString::fromStdString(syllable);
  m_boxWidth = m_width.OnArrival(m_tag);
  m_left = x - m_boxWidth / 2;
  m_top = y;
  m_view.PlaceBox(m_left, m_top, m_boxWidth, m_tag);
}

void LyricEntry::StoreIfChanged(const QString& text) {
  if (text == m_tag) return;
  // What was stored becomes the syllable at this note, so leaving the note later (by a
  // key or by losing the focus) never stores it a second time.
  if (m_caret.Store(m_time, text.toStdString())) m_tag = text;
}

void LyricEntry::OnKey(Key key, const QString& text) {
  if (!m_active) return;
  if (key == Key::Escape) {
    OnFocusLost(text);
    return;
  }
  StoreIfChanged(key == Key::Hyphen ? text + QLatin1Char('-') : text);
  if (key == Key::BackTab)
    Prev();
  else
    Next();
}

void LyricEntry::Next() {
  int x = 0, y = 0;
  std::string syllable;
  m_active = m_caret.Next(m_time, x, y, syllable);
  if (m_active) {
    Arrive(x, y, syllable);
  } else if (m_caret.CurPage() < m_caret.LastPage()) {
    m_caret.SetCurPage(m_caret.CurPage() + 1);
    Start();
  } else {
    End();
  }
}

void LyricEntry::Prev() {
  int x = 0, y = 0;
  std::string syllable;
  m_active = m_caret.Prev(m_time, x, y, syllable);
  if (m_active) {
    Arrive(x, y, syllable);
  } else if (m_caret.CurPage() > 1) {
    // The previous page opens at its first position.
    m_caret.SetCurPage(m_caret.CurPage() - 1);
    Start();
  } else {
    End();
  }
}

bool LyricEntry::Seek(int atTime, int& x, int& y, std::string& syllable) {
  int time = 0;
  const auto walkPage = [&] {
    bool found = m_caret.First(time, x, y, syllable);
    while (found && time < atTime) found = m_caret.Next(time, x, y, syllable);
    return found;
  };
  bool found = walkPage();
  if (!found && m_caret.CurPage() < m_caret.LastPage()) {
    m_caret.SetCurPage(m_caret.CurPage() + 1);
    found = walkPage();
  }
  if (found) m_time = time;
  return found;
}

bool LyricEntry::ChooseVerse(int verse, const QString& text) {
  if (!m_active) return false;
  StoreIfChanged(text);
  if (verse < 1 || verse > m_caret.VerseLimit() || verse == m_caret.Verse()) return false;
  const int at = m_time;
  m_caret.SetVerse(verse);
  m_view.VerseChosen(verse);
  int x = 0, y = 0;
  std::string syllable;
  if (Seek(at, x, y, syllable)) {
    Arrive(x, y, syllable);
  } else {
    Start();
  }
  return true;
}

int LyricEntry::NextVerse() const {
  const int next = m_caret.Verse() + 1;
  return next > m_caret.VerseLimit() ? 1 : next;
}

void LyricEntry::OnTextChanged(const QString& text) {
  if (!m_active) return;
  const int width = m_width.AfterEdit(m_boxWidth, text);
  if (width == m_boxWidth) return;
  // The box grows and shrinks about its centre.
  m_left -= (width - m_boxWidth) / 2;
  m_boxWidth = width;
  m_view.ResizeBox(m_left, m_boxWidth);
}

void LyricEntry::OnFocusLost(const QString& text) {
  if (!m_active) return;
  StoreIfChanged(text);
  End();
}

void LyricEntry::Cancel() {
  if (m_active) End();
}

void LyricEntry::End() {
  m_active = false;
  m_view.EntryEnded();
}

InPlaceBox::InPlaceBox(QWidget* parent) : QLineEdit(parent) {
  hide();
}

bool InPlaceBox::event(QEvent* event) {
  if (KeepTab && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QLineEdit::event(event);
}

bool InPlaceBox::focusNextPrevChild(bool next) {
  return KeepTab ? false : QLineEdit::focusNextPrevChild(next);
}

void InPlaceBox::keyPressEvent(QKeyEvent* event) {
  if (KeyFilter && KeyFilter(*event)) {
    event->accept();
    return;
  }
  if (KeepTab && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void InPlaceBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  selectAll();
}

void InPlaceBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A pop-up (the line edit's own context menu) is not leaving the box.
  if (event->reason() != Qt::PopupFocusReason) emit FocusLost();
}

// --- The window's side ---

namespace {

constexpr double kPageTwipsPerPixel = 15;

QFont TwipsFont(const notecraft::Score& score) {
  // Lyrics and labels are written in the score's font 4.
  const auto spec = score.Fonts(notecraft::fntCopyright);
  return spec ? notecraft::QPainterSurface::ToQFont(*spec) : QFont();
}

int Pixels(int twips) {
  return static_cast<int>(std::lround(twips / kPageTwipsPerPixel));
}

}  // namespace

TextBoxWidth ScoreTextWidth(const notecraft::Score& score) {
  // The font's size is in twips, so its advances are twips.
  return TextBoxWidth{[&score](const QString& text) {
    return QFontMetrics(TwipsFont(score)).horizontalAdvance(text);
  }};
}

QFont ScoreBoxFont(const notecraft::Score& score) {
  QFont font = TwipsFont(score);
  font.setPixelSize(std::max(1, Pixels(font.pixelSize())));
  return font;
}

void SetPageTabStops(chdVLTMain& window, bool on) {
  for (QWidget* widget :
       {static_cast<QWidget*>(window.pctScore), static_cast<QWidget*>(window.txtPage)}) {
    const Qt::FocusPolicy policy = widget->focusPolicy();
    if (on && !(policy & Qt::TabFocus) && widget->property("tabStopTaken").toBool())
      widget->setFocusPolicy(Qt::FocusPolicy(policy | Qt::TabFocus));
    if (!on && (policy & Qt::TabFocus))
      widget->setFocusPolicy(Qt::FocusPolicy(policy & ~Qt::TabFocus));
    widget->setProperty("tabStopTaken", !on);
  }
}

ScoreLyricEditor::ScoreLyricEditor(chdVLTMain& window)
    : QObject(&window),
      m_window(window),
      m_caret(window.Score()),
      m_entry(m_caret, *this, ScoreTextWidth(window.Score())) {
  txtLyric = new InPlaceBox(m_window.pctScore);
  txtLyric->setObjectName(QStringLiteral("txtLyric"));
  txtLyric->setAlignment(Qt::AlignHCenter);
  txtLyric->KeyFilter = [this](const QKeyEvent& key) { return KeyTyped(key); };
  connect(txtLyric, &QLineEdit::textEdited, this,
          [this](const QString& text) { m_entry.OnTextChanged(text); });
  connect(txtLyric, &InPlaceBox::FocusLost, this,
          [this] { m_entry.OnFocusLost(txtLyric->text()); });
  // The Verse panel takes no focus, and while entry is open it names the box as its focus
  // proxy: a click on it then leaves the focus with the box (in a window of the MDI area
  // the click would otherwise give it to the sub-window, ending entry).
  m_window.Panel(QStringLiteral("Voice"))->installEventFilter(this);
}

bool ScoreLyricEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && m_entry.Active() &&
      watched == m_window.Panel(QStringLiteral("Voice"))) {
    m_entry.ChooseVerse(m_entry.NextVerse(), txtLyric->text());
    return true;
  }
  return QObject::eventFilter(watched, event);
}

bool ScoreLyricEditor::Start() {
  if (m_entry.Active()) return true;
  return m_entry.Start();
}

void ScoreLyricEditor::Commit() {
  m_entry.OnFocusLost(txtLyric->text());
}

bool ScoreLyricEditor::KeyTyped(const QKeyEvent& key) {
  using Key = LyricEntry::Key;
  const bool shift = key.modifiers() & Qt::ShiftModifier;
  if (key.modifiers() & Qt::ControlModifier) {
    if (key.key() != Qt::Key_Up && key.key() != Qt::Key_Down) return false;
    const int verse = m_window.Score().Verse() + (key.key() == Qt::Key_Up ? -1 : 1);
    if (!m_entry.ChooseVerse(verse, txtLyric->text())) QApplication::beep();
    return true;
  }
  switch (key.key()) {
    case Qt::Key_Tab:
      m_entry.OnKey(shift ? Key::BackTab : Key::Tab, txtLyric->text());
      return true;
    case Qt::Key_Backtab:
      m_entry.OnKey(Key::BackTab, txtLyric->text());
      return true;
    case Qt::Key_Space:
      m_entry.OnKey(Key::Space, txtLyric->text());
      return true;
    case Qt::Key_Minus:
      m_entry.OnKey(Key::Hyphen, txtLyric->text());
      return true;
    case Qt::Key_Escape:
      m_entry.OnKey(Key::Escape, txtLyric->text());
      return true;
    default:
      break;
  }
  if (key.text() == QLatin1String("-")) {  // a hyphen typed by another key
    m_entry.OnKey(Key::Hyphen, txtLyric->text());
    return true;
  }
  return false;
}

void ScoreLyricEditor::EntryStarted() {
  QLabel* voice = m_window.Panel(QStringLiteral("Voice"));
  voice->setToolTip(tr("Verse"));
  voice->setText(QString::number(m_window.Score().Verse()));
  voice->setFocusProxy(txtLyric);
  m_window.Panel(QStringLiteral("Status"))->setText(tr("Lyrics"));
  txtLyric->setFont(ScoreBoxFont(m_window.Score()));
  SetPageTabStops(m_window, false);
}

void ScoreLyricEditor::PlaceBox(int left, int top, int width, const QString& text) {
  {
    const QSignalBlocker quiet(txtLyric);
    txtLyric->setText(text);
  }
  const int height = txtLyric->sizeHint().height();
  txtLyric->setGeometry(Pixels(left), Pixels(top), Pixels(width), height);
  txtLyric->show();
  txtLyric->raise();
  m_window.SetScrollBars(left, top, width, static_cast<int>(height * kPageTwipsPerPixel));
  txtLyric->setFocus(Qt::OtherFocusReason);
  txtLyric->selectAll();
}

void ScoreLyricEditor::ResizeBox(int left, int width) {
  txtLyric->setGeometry(Pixels(left), txtLyric->y(), Pixels(width), txtLyric->height());
}

void ScoreLyricEditor::VerseChosen(int verse) {
  m_window.Panel(QStringLiteral("Voice"))->setText(QString::number(verse));
}

void ScoreLyricEditor::EntryEnded() {
  QLabel* voice = m_window.Panel(QStringLiteral("Voice"));
  voice->setFocusProxy(nullptr);
  voice->setToolTip(tr("Voice"));
  voice->setText(QString::number(m_window.Score().Voice()));
  m_window.Panel(QStringLiteral("Status"))->setText(m_window.Palette().ToolKey());
  m_window.Labels().HideBox();
  txtLyric->hide();
  SetPageTabStops(m_window, true);
  m_window.pctScore->setFocus(Qt::OtherFocusReason);
}

}  // namespace veltrimond
