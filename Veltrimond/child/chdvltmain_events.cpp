// The score's events: the status bar, the caption, the Undo and Voice states, the handle
// marks, and what playback and file progress tell the frame.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/shell/iframe.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

void chdVLTMain::ActiveMeasure(int number) {
  const notecraft::GlobalEvents& events = m_score->AllGlobals();
  m_measureStart = events.MeasureTime(number);
  int measure = 0;
  int length = 0;
  events.MeasureInfo(static_cast<int>(m_measureStart), measure, length);
  m_measureNumber = measure;
  m_measureLength = length;
  Panel(QStringLiteral("Measure"))->setText(QStringLiteral("M:") + QString::number(measure));
}

void chdVLTMain::ActiveStaff(const std::shared_ptr<notecraft::Staff>& curStaff) {
  if (!curStaff) return;
  // A staff without a voice, or a voice without an instrument, keeps the preview's sound.
  if (const auto voice = curStaff->Voice(1)) {
    if (const auto instrument = voice->Instrument())
      m_editor.SetPreview(instrument->Value(), instrument->Channel());
  }
  m_activeStaffNumber = curStaff->Index();
  const QString description = QString::fromStdString(curStaff->Description()).trimmed();
  const QString number = QString::number(curStaff->Index());
  Panel(QStringLiteral("Staff"))
      ->setText(description.isEmpty() ? number : number + QStringLiteral(": ") + description);
}

void chdVLTMain::ActiveVoice(int number) {
  Panel(QStringLiteral("Voice"))->setText(QString::number(number));
  for (std::size_t i = 0; i < mnuVoice.size(); ++i)
    mnuVoice[i]->setChecked(static_cast<int>(i) + 1 == number);
}

void chdVLTMain::AfterOpenSave() {
  if (m_reloading) return;
  if (m_progressShown && m_frame) m_frame->UpdateStatus(m_progressSize);
}

void chdVLTMain::BeforeOpenSave(int size) {
  if (m_reloading) return;
  m_progressSize = size;
  m_progressShown = m_frame && m_frame->InitStatus(size, QStringLiteral("Opening:"));
}

void chdVLTMain::ChangeNotify(bool isChanged) {
  const QString title = QString::fromStdString(m_score->FileTitle());
  setWindowTitle(isChanged ? title + QStringLiteral(" *") : title);
  if (tbrCancel) tbrCancel->setEnabled(isChanged);
}

void chdVLTMain::GoRepeat(int nextTime) {
  if (m_frame) m_frame->SetGoRepeat(nextTime);
}

void chdVLTMain::HistoryChanged(bool canUndo) {
  if (m_frame) m_frame->SetEnableUndo(canUndo);
  mnuEditUndo->setEnabled(canUndo);
}

void chdVLTMain::LoadMIDI(const std::shared_ptr<notecraft::MIDIEvent>& eventObj) {
  if (m_frame && eventObj) m_frame->GotMidi(*eventObj);
}

void chdVLTMain::MarkHandle(int hType, int y) {
  auto row = std::find_if(m_handleMarks.begin(), m_handleMarks.end(),
                          [y](const HandleMark& mark) { return mark.Y == y; });
  if (row == m_handleMarks.end()) row = m_handleMarks.insert(m_handleMarks.end(), HandleMark{});
  row->Y = y;
  row->Type = hType;
  // Every mark is drawn, a later one over an earlier one at the same place.
  std::vector<notecraft::ScorePageWidget::HandleMark> drawn = pctScore->HandleMarks();
  drawn.push_back({y, hType});  // the handle images' HType + 1st picture
  pctScore->SetHandleMarks(std::move(drawn));
}

void chdVLTMain::MarkRepeat(int curTime) {
  if (m_frame) m_frame->SetMarkRepeat(curTime);
}

void chdVLTMain::ProgressReport(int position) {
  if (m_progressShown && m_frame) m_frame->UpdateStatus(position);
}

void chdVLTMain::SelectionCleared() {
  EnableNoteMenu();
  Panel(QStringLiteral("Msg"))->setText(QStringLiteral(" "));
}

void chdVLTMain::SkipSection(int curTime, int nextTime) {
  if (m_frame) m_frame->Ending1(curTime, nextTime);
}

void chdVLTMain::WindowCleared() {
  m_editor.WindowCleared();
  EnableNoteMenu();
  Panel(QStringLiteral("Msg"))->setText(QStringLiteral(" "));
  m_handleMarks.clear();
  pctScore->SetHandleMarks({});
  // Every page drawn is the page shown: the box follows it, however the score got there
  // (a page turned by lyric entry, a relayout that took the page away), unless the user
  // is typing in it.
  if (!txtPage->hasFocus()) txtPage->setText(QString::number(m_score->CurPage()));
}

}  // namespace veltrimond
