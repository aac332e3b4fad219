// Chord names, the bass note, the label's logic, and the chord-symbol panel.
#include "Veltrimond/child/chdvltmain_labels.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <algorithm>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chordnames.h"
#include "Veltrimond/shell/appcontext.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/edit/bandhit.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

namespace {

const QRegularExpression& BassPattern() {
  static const QRegularExpression pattern(QStringLiteral("^[A-G][#b]?$"));
  return pattern;
}

}  // namespace

QString ChordNameFor(const QString& root, bool minor, const QString& quality) {
  QString name = root.trimmed();
  if (minor) name += QStringLiteral(" Min");
  QString q = quality.trimmed();
  if (!minor && q.isEmpty()) q = QStringLiteral("Maj");
  if (!q.isEmpty()) name += QLatin1Char(' ') + q;
  return name;
}

std::optional<int> FindChord(const std::vector<std::pair<QString, int>>& table, const QString& root,
                             bool minor, const QString& quality) {
  const QString wantedRoot = root.trimmed();
  const QString wantedQuality = quality.trimmed();
  if (wantedRoot.isEmpty()) return std::nullopt;
  for (const auto& [entry, number] : table) {
    const ChordNameParts parts = SplitChordName(entry);
    if (parts.Minor == minor && parts.Root.compare(wantedRoot, Qt::CaseInsensitive) == 0 &&
        parts.Quality.trimmed().compare(wantedQuality, Qt::CaseInsensitive) == 0)
      return number;
  }
  return std::nullopt;
}

std::optional<QString> BassAfterKey(const QString& text, int caret, QChar typed) {
  if (caret < 0 || caret > text.size()) return std::nullopt;
  QChar c = typed;
  if (caret == 1) {
    if (c == QLatin1Char('B')) c = QLatin1Char('b');
    if (c != QLatin1Char('#') && c != QLatin1Char('b')) return std::nullopt;
  } else {
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = c.toUpper();
    if (c < QLatin1Char('A') || c > QLatin1Char('G')) return std::nullopt;
  }
  QString result = text;
  result.insert(caret, c);
  if (!ValidBass(result)) return std::nullopt;
  return result;
}

bool ValidBass(const QString& text) {
  return text.isEmpty() || BassPattern().match(text).hasMatch();
}

QPoint ClampPanel(QPoint point, QSize panel, QSize area) {
  QPoint p = point;
  if (p.x() + panel.width() > area.width()) p.setX(area.width() - panel.width());
  if (p.y() + panel.height() > area.height()) p.setY(area.height() - panel.height());
  return {std::max(p.x(), 0), std::max(p.y(), 0)};
}

std::shared_ptr<notecraft::GlobalEvent> MeasureLabel(const notecraft::Staff& staff,
                                                     int measureStart, int measureLength) {
  auto label =
      staff.GlobalEvents().Find(measureStart + measureLength - 1, notecraft::evtText, false);
  if (!label || label->EventTime() < measureStart) return nullptr;
  return label;
}

std::optional<LabelAtPoint> LabelAt(notecraft::Score& score, int x, int y) {
  const auto band = score.InRegion(x, y);
  if (!band || band->Staff() < 1 || band->Staff() > score.Staffs()) return std::nullopt;
  const auto measure = notecraft::MeasureAt(*band, x);
  const int time = score.TimeByHit(x, y);
  const auto staff = score.Staff(band->Staff());
  if (!measure || time < 0 || !staff) return std::nullopt;
  int number = 0, length = 0;
  score.AllGlobals().MeasureInfo(measure->Start, number, length);
  LabelAtPoint at;
  at.Place.Staff = band->Staff();
  at.Label = MeasureLabel(*staff, measure->Start, length);
  if (at.Label) {
    at.Place.Time = at.Label->EventTime();
    at.Place.Offset1 = at.Label->Value1();
    at.Place.Offset2 = at.Label->Value2();
  } else {
    at.Place.Time = time;
    int inc = 0;
    score.TextOffsetByPos(at.Place.Offset1, at.Place.Offset2, x, y, inc);
  }
  return at;
}

void LabelEntry::Open(int x, int y, const LabelPlace& place, const notecraft::GlobalEvent* label) {
  m_place = place;
  m_existing = label != nullptr;
  m_tag = label ? QString::fromStdString(label->Text()) : QString();
  m_left = x;
  m_top = m_target.BoxTop(x, y, place);
  m_boxWidth = m_width.OnOpen(m_tag);
  m_active = true;
  m_view.PlaceBox(m_left, m_top, m_boxWidth, m_tag);
}

void LabelEntry::OnTextChanged(const QString& text) {
  if (!m_active) return;
  // The left edge stays; only the width follows the text.
  const int width = m_width.AfterEdit(m_boxWidth, text);
  if (width == m_boxWidth) return;
  m_boxWidth = width;
  m_view.ResizeBox(m_boxWidth);
}

void LabelEntry::Commit(const QString& text) {
  if (!m_active) return;
  // Ends first: the store repaints the page and hiding the box takes its focus, and
  // neither may commit a second time.
  m_active = false;
  bool refused = false;
  if (text != m_tag && (m_existing || !text.isEmpty())) {
    if (m_target.Store(m_place, text)) {
      m_tag = text;
      m_existing = true;
    } else {
      refused = true;
    }
  }
  m_view.EntryEnded();
  if (refused) m_view.NotStored(text);
}

void LabelEntry::Cancel() {
  if (!m_active) return;
  m_active = false;
  m_view.EntryEnded();
}

// --- ChordPanel ---

ChordPanel::ChordPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pctChords"));
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAutoFillBackground(true);

  cboChord = new QComboBox(this);
  cboChord->setObjectName(QStringLiteral("cboChord"));
  chkChord = new QCheckBox(tr("Minor"), this);
  chkChord->setObjectName(QStringLiteral("chkChord"));
  for (int i = 0; i < 2; ++i) {
    lstQual[i] = new QListWidget(this);
    lstQual[i]->setObjectName(QStringLiteral("lstQual%1").arg(i));
  }
  auto* lblBass = new QLabel(tr("Bass     /"), this);
  txtBass = new InPlaceBox(this);
  txtBass->setObjectName(QStringLiteral("txtBass"));
  txtBass->KeepTab = false;
  txtBass->show();
  txtBass->setMaxLength(2);
  txtBass->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-G][#b]?")), txtBass));

  // Laid out by hand: the panel floats over the page at a fixed size.
  const int w = 150;
  cboChord->setGeometry(6, 6, w - 12, 24);
  chkChord->setGeometry(6, 34, w - 12, 20);
  lstQual[0]->setGeometry(6, 58, w - 12, 110);
  lstQual[1]->setGeometry(6, 58, w - 12, 110);
  lblBass->setGeometry(6, 174, 70, 22);
  txtBass->setGeometry(78, 174, w - 84, 22);
  resize(w, 202);
  lstQual[1]->hide();

  connect(chkChord, &QCheckBox::toggled, this, [this](bool minor) {
    lstQual[minor ? 1 : 0]->show();
    lstQual[minor ? 0 : 1]->hide();
  });
  for (int i = 0; i < 2; ++i)
    connect(lstQual[i], &QListWidget::itemClicked, this, [this, i] { CommitFrom(i); });

  txtBass->KeyFilter = [this](const QKeyEvent& key) {
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint() || (key.modifiers() & Qt::ControlModifier))
      return false;  // editing keys (Backspace, arrows) pass
    const int caret =
        txtBass->hasSelectedText() ? txtBass->selectionStart() : txtBass->cursorPosition();
    QString rest = txtBass->text();
    if (txtBass->hasSelectedText())
      rest.remove(txtBass->selectionStart(), txtBass->selectedText().size());
    if (const auto accepted = BassAfterKey(rest, caret, text.at(0))) {
      txtBass->setText(*accepted);
      txtBass->setCursorPosition(caret + 1);
    } else {
      QApplication::beep();
    }
    return true;
  };

  // A click on the panel itself gives the root combo the focus.
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(cboChord);

  m_focusTimer = new QTimer(this);
  m_focusTimer->setSingleShot(true);
  m_focusTimer->setInterval(100);
  connect(m_focusTimer, &QTimer::timeout, this, &ChordPanel::FocusTimerFired);
  for (QWidget* w2 : {static_cast<QWidget*>(cboChord), static_cast<QWidget*>(chkChord),
                      static_cast<QWidget*>(lstQual[0]), static_cast<QWidget*>(lstQual[1]),
                      static_cast<QWidget*>(txtBass)})
    w2->installEventFilter(this);
  hide();
}

void ChordPanel::SetChordTable(std::vector<std::pair<QString, int>> table) {
  m_table = std::move(table);
  std::vector<std::pair<std::string, int>> names;
  for (const auto& [name, number] : m_table) names.emplace_back(name.toStdString(), number);
  const ChordNameLists lists = SplitChordNames(names);
  cboChord->clear();
  cboChord->addItems(lists.Roots);
  lstQual[0]->clear();
  lstQual[0]->addItems(lists.Major);
  lstQual[1]->clear();
  lstQual[1]->addItems(lists.Minor);
}

void ChordPanel::Open(QPoint pos, QPoint pagePoint) {
  m_pagePoint = pagePoint;
  move(pos);
  if (cboChord->count() > 0 && cboChord->currentIndex() < 0) cboChord->setCurrentIndex(0);
  txtBass->clear();
  m_open = true;
  m_focusSeen = false;
  show();
  raise();
  cboChord->setFocus(Qt::OtherFocusReason);
}

bool ChordPanel::Minor() const {
  return chkChord->isChecked();
}

void ChordPanel::CommitFrom(int list) {
  if (!m_open || list < 0 || list > 1) return;
  const QString bass = txtBass->text();
  QListWidget* qualities = lstQual[list];
  if (!qualities->currentItem() && qualities->count() > 0) qualities->setCurrentRow(0);
  const QString quality = qualities->currentItem() ? qualities->currentItem()->text() : QString();
  if (!ValidBass(bass)) {
    QApplication::beep();
    emit Refused(tr("The bass note \"%1\" is not a note name (A to G, then # or b).").arg(bass));
    return;
  }
  const auto number = FindChord(m_table, cboChord->currentText(), Minor(), quality);
  if (!number) {
    QApplication::beep();
    emit Refused(tr("The chord table has no chord named \"%1\".")
                     .arg(ChordNameFor(cboChord->currentText(), Minor(), quality)));
    return;
  }
  emit Commit(*number, bass, m_pagePoint);
}

void ChordPanel::Close() {
  m_focusTimer->stop();
  const bool wasOpen = m_open;
  m_open = false;
  hide();
  if (wasOpen) emit Closed();
}

bool ChordPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) ArmFocusTimer(true);
  if (event->type() == QEvent::FocusOut) ArmFocusTimer(false);
  return QFrame::eventFilter(watched, event);
}

void ChordPanel::ArmFocusTimer(bool gotFocus) {
  if (!m_open) return;
  if (gotFocus) m_focusSeen = true;
  m_focusTimer->start();
}

void ChordPanel::FocusTimerFired() {
  if (!m_open) return;
  QWidget* focus = QApplication::focusWidget();
  // The focus stays among the panel's controls, or a control's pop-up list is open.
  if ((focus && isAncestorOf(focus)) || QApplication::activePopupWidget()) {
    m_focusSeen = false;
    return;
  }
  if (m_focusSeen) {
    // A control had the focus since the timer was armed, but the focus is outside now:
    // look once more after another interval.
    m_focusSeen = false;
    m_focusTimer->start();
    return;
  }
  Close();
}

// --- The window's side ---

namespace {

constexpr double kPageTwipsPerPixel = 15;

int Pixels(int twips) {
  return static_cast<int>(std::lround(twips / kPageTwipsPerPixel));
}

QColor FromPacked(std::int32_t rgb) {
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

}  // namespace

ScoreLabelEditor::ScoreLabelEditor(chdVLTMain& window)
    : QObject(&window), m_window(window), m_entry(*this, *this, ScoreTextWidth(window.Score())) {
  txtLabel = new InPlaceBox(m_window.pctScore);
  txtLabel->setObjectName(QStringLiteral("txtLabel"));
  connect(txtLabel, &QLineEdit::textEdited, this,
          [this](const QString& text) { m_entry.OnTextChanged(text); });
  connect(txtLabel, &InPlaceBox::FocusLost, this, [this] { m_entry.Commit(txtLabel->text()); });

  pctChords = new ChordPanel(m_window.pctBase);
  connect(pctChords, &ChordPanel::Commit, this, &ScoreLabelEditor::ChordChosen);
  connect(pctChords, &ChordPanel::Refused, this, [this](const QString& message) {
    m_window.Panel(QStringLiteral("Msg"))->setText(message);
  });
}

void ScoreLabelEditor::OpenTextLabel(int x, int y) {
  const auto at = LabelAt(m_window.Score(), x, y);
  if (!at) {
    QApplication::beep();
    return;
  }
  m_entry.Open(x, y, at->Place, at->Label.get());
}

int ScoreLabelEditor::BoxTop(int x, int y, const LabelPlace& place) {
  notecraft::Score& score = m_window.Score();
  int offset1 = 0, offset2 = 0, inc = 0;
  score.TextOffsetByPos(offset1, offset2, x, y, inc);
  int top = y;
  score.TextPosByOffset(top, place.Offset1, place.Offset2, inc, true);
  return top;
}

void ScoreLabelEditor::PlaceBox(int left, int top, int width, const QString& text) {
  m_window.Panel(QStringLiteral("Status"))->setText(tr("Text"));
  txtLabel->setFont(ScoreBoxFont(m_window.Score()));
  QPalette colours = txtLabel->palette();
  colours.setColor(QPalette::Text, FromPacked(m_window.Context().State.Options.Color[1]));
  txtLabel->setPalette(colours);
  {
    const QSignalBlocker quiet(txtLabel);
    txtLabel->setText(text);
  }
  const int height = txtLabel->sizeHint().height();
  txtLabel->setGeometry(Pixels(left), Pixels(top), Pixels(width), height);
  txtLabel->show();
  txtLabel->raise();
  SetPageTabStops(m_window, false);
  m_window.SetScrollBars(left, top, width, static_cast<int>(height * kPageTwipsPerPixel));
  txtLabel->setFocus(Qt::OtherFocusReason);
  txtLabel->selectAll();
}

void ScoreLabelEditor::ResizeBox(int width) {
  txtLabel->resize(Pixels(width), txtLabel->height());
}

bool ScoreLabelEditor::Store(const LabelPlace& place, const QString& text) {
  return m_window.Score().AddTextLabel(place.Staff, place.Time, place.Offset1, place.Offset2,
                                       text.toStdString());
}

void ScoreLabelEditor::NotStored(const QString& text) {
  QApplication::beep();
  m_window.Panel(QStringLiteral("Msg"))
      ->setText(tr("The text \"%1\" was not stored: its staff is gone.").arg(text));
}

void ScoreLabelEditor::EntryEnded() {
  m_window.Panel(QStringLiteral("Status"))->setText(m_window.Palette().ToolKey());
  HideBox();
  SetPageTabStops(m_window, true);
  m_window.pctScore->setFocus(Qt::OtherFocusReason);
}

void ScoreLabelEditor::HideBox() {
  // Closing with lyric entry stores what the box holds, as leaving it does.
  if (m_entry.Active()) m_entry.Commit(txtLabel->text());
  txtLabel->hide();
}

void ScoreLabelEditor::EndEntry() {
  m_entry.Commit(txtLabel->text());
  pctChords->Close();
}

void ScoreLabelEditor::CloseAll() {
  m_entry.Cancel();
  pctChords->Close();
}

void ScoreLabelEditor::CommitLabel() {
  m_entry.Commit(txtLabel->text());
}

void ScoreLabelEditor::CancelLabel() {
  m_entry.Cancel();
}

std::optional<QPoint> ChordTarget(const notecraft::Score& score, int x, int y) {
  if (score.InRegion(x, y)) return QPoint(x, y);
  // Chord symbols stand over their staff: a point above a staff band, in the room between
  // systems that no band holds, means the staff below, as far up as a staff's height.
  constexpr int kReach = 1440;  // further than any staff's four line spaces
  for (int below = 1; below <= kReach; ++below) {
    const auto band = score.InRegion(x, y + below);
    if (!band) continue;
    if (below > 4 * band->IncY()) return std::nullopt;
    return QPoint(x, y + below);
  }
  return std::nullopt;
}

void ScoreLabelEditor::OpenChordPanel(int x, int y) {
  // A point that names no staff's measure opens nothing: a chord picked there could not
  // be stored.
  const auto target = ChordTarget(m_window.Score(), x, y);
  if (!target) {
    QApplication::beep();
    return;
  }
  if (!m_chordTableLoaded) {
    std::vector<std::pair<QString, int>> table;
    for (const auto& [name, number] : m_window.Score().LoadChordList())
      table.emplace_back(QString::fromStdString(name), number);
    pctChords->SetChordTable(std::move(table));
    m_chordTableLoaded = true;
  }
  const QPoint at = m_window.pctScore->pos() + QPoint(Pixels(x), Pixels(y));
  pctChords->Open(ClampPanel(at, pctChords->size(), m_window.pctBase->size()), *target);
}

void ScoreLabelEditor::ChordChosen(int number, const QString& bass, QPoint pagePoint) {
  m_window.Score().AddGlobalByHit(pagePoint.x(), pagePoint.y(), notecraft::evtChord, number,
                                  bass.toStdString());
  // Leaving the panel closes it.
  m_window.pctScore->setFocus(Qt::OtherFocusReason);
}

void ScoreLabelEditor::CommitChord(int list) {
  pctChords->CommitFrom(list);
}

void ScoreLabelEditor::CloseChord() {
  m_window.pctScore->setFocus(Qt::OtherFocusReason);
}

}  // namespace veltrimond
