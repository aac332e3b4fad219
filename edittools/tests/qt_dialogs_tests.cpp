// The three dialogs driven through QTest on the offscreen platform, and the menu commands
// from dialog to finished tool.
#include <vector>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "edittools/qt/edittoolcommands.h"
#include "edittools/qt/frmvltcopymove.h"
#include "edittools/qt/frmvltsetnote.h"
#include "edittools/qt/frmvlttranspose.h"
#include "edittools/qt/rangeframe.h"
#include "edittools/qt/toolbox.h"
#include "notecraft/dialogs/updown.h"
#include "toolfixtures.h"

namespace edittools {
namespace {

using testing::Chords;
using testing::MakeScore;
using testing::Put;
using testing::Read;

// Runs action on the dialog of type T once it is the active modal widget.
template <class T>
void WhenModal(std::function<void(T&)> action, int triesLeft = 500) {
  QTimer::singleShot(5, [action = std::move(action), triesLeft]() mutable {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
      action(*dialog);
    else if (triesLeft > 0)
      WhenModal<T>(std::move(action), triesLeft - 1);
  });
}

// Counts messages instead of showing them.
struct MessageCatcher {
  QStringList texts;
  MessageCatcher() {
    SetMessageShower([this](QWidget*, const QString& title, const QString& text) {
      EXPECT_EQ(title, QStringLiteral("Set Note"));
      texts << text;
    });
  }
  ~MessageCatcher() { SetMessageShower(nullptr); }
};

void Spin(notecraft::dialogs::UpDown* spin, bool up, int times) {
  for (int i = 0; i < times; ++i) (up ? spin->UpButton() : spin->DownButton())->click();
}

TEST(SetNoteDialog, OpensRelativeAndSwitchesModes) {
  frmVLTSetNote dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Note Value"));
  EXPECT_TRUE(dialog.optRelation[0]->isChecked());
  EXPECT_TRUE(dialog.optRelative[0]->isChecked());
  EXPECT_EQ(dialog.txtRelative->text(), QStringLiteral("1"));
  EXPECT_FALSE(dialog.cboNote->isEnabled());
  EXPECT_FALSE(dialog.txtOctave->isEnabled());

  dialog.optRelation[1]->click();
  EXPECT_EQ(dialog.cboNote->currentText(), QStringLiteral("C"));
  EXPECT_EQ(dialog.txtOctave->text(), QStringLiteral("5"));
  EXPECT_FALSE(dialog.optRelative[0]->isChecked());
  EXPECT_FALSE(dialog.txtRelative->isEnabled());
  EXPECT_EQ(dialog.Value(), 60);

  dialog.optRelative[1]->setEnabled(true);  // as if "-" had been chosen before
  dialog.optRelation[0]->click();
  EXPECT_TRUE(dialog.optRelative[0]->isChecked());
  EXPECT_EQ(dialog.txtRelative->text(), QStringLiteral("1"));
  EXPECT_EQ(dialog.cboNote->currentIndex(), -1);
}

TEST(SetNoteDialog, SpinsStopAtTheirLimitsAndBoxesTakeDigitsOnly) {
  frmVLTSetNote dialog;
  Spin(dialog.updRelative, true, 45);
  EXPECT_EQ(dialog.txtRelative->text(), QStringLiteral("40"));
  Spin(dialog.updRelative, false, 45);
  EXPECT_EQ(dialog.txtRelative->text(), QStringLiteral("0"));
  dialog.optRelation[1]->click();
  Spin(dialog.updOctave, true, 8);
  EXPECT_EQ(dialog.txtOctave->text(), QStringLiteral("10"));
  Spin(dialog.updOctave, false, 12);
  EXPECT_EQ(dialog.txtOctave->text(), QStringLiteral("0"));

  int beeps = 0;
  SetToolBeeper([&] { ++beeps; });
  dialog.txtOctave->clear();
  QTest::keyClicks(dialog.txtOctave, QStringLiteral("1x2"));
  EXPECT_EQ(dialog.txtOctave->text(), QStringLiteral("12"));
  EXPECT_EQ(beeps, 1);
  SetToolBeeper(nullptr);
  SetToolBeeper([] {});
}

TEST(SetNoteDialog, OkRefusesWithAMessageAndAcceptsAValidChoice) {
  MessageCatcher messages;
  frmVLTSetNote dialog;
  dialog.optRelation[1]->click();
  dialog.cboNote->setCurrentIndex(8);  // G#
  dialog.txtOctave->setText(QStringLiteral("10"));
  WhenModal<frmVLTSetNote>([](frmVLTSetNote& d) {
    d.OkButton()->click();  // refused: stays open
    d.cboNote->setCurrentIndex(7);
    d.OkButton()->click();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_EQ(messages.texts[0], QStringLiteral("Notes above 'G' are not permitted in the tenth octave."));
  EXPECT_EQ(dialog.Value(), 127);
}

TEST(TransposeDialog, InitListsStavesAndTheScoreKey) {
  auto score = MakeScore(3, 1);
  score->SetKey(2);
  frmVLTTranspose dialog;
  dialog.Init(*score, 4);
  auto* staves = dialog.fmeRange->cboStaff;
  ASSERT_EQ(staves->count(), 4);
  EXPECT_EQ(staves->itemText(0), QStringLiteral("All"));
  EXPECT_EQ(staves->itemText(3), QStringLiteral("3: Staff 3"));
  EXPECT_EQ(dialog.fmeRange->txtFrom->text(), QStringLiteral("4"));
  EXPECT_EQ(dialog.fmeRange->txtTo->text(), QStringLiteral("4"));
  EXPECT_EQ(dialog.cboKey[0]->currentText(), QStringLiteral("D - 2 sharps"));
  EXPECT_FALSE(dialog.cboKey[0]->isHidden());
  EXPECT_TRUE(dialog.cboKey[1]->isHidden());
  EXPECT_TRUE(dialog.chkKey->isChecked());
  EXPECT_FALSE(dialog.fmeRange->optRange[1]->isEnabled());  // nothing is selected

  score->SetMinor(true);
  frmVLTTranspose minor;
  minor.Init(*score, 1);
  EXPECT_EQ(minor.cboKey[1]->currentText(), QStringLiteral("B - 2 sharps"));
  EXPECT_TRUE(minor.cboKey[0]->isHidden());
  EXPECT_EQ(minor.Choice().KeyIndex, 9);
}

TEST(TransposeDialog, RaiseGreysTheKeyChoiceAndReadsTheAmount) {
  auto score = MakeScore(2, 1);
  frmVLTTranspose dialog;
  dialog.Init(*score, 3);
  EXPECT_TRUE(dialog.cboVoice->isEnabled());
  EXPECT_FALSE(dialog.txtQuant->isEnabled());
  dialog.optFunction[1]->click();
  EXPECT_FALSE(dialog.cboVoice->isEnabled());
  EXPECT_FALSE(dialog.cboKey[0]->isEnabled());
  EXPECT_FALSE(dialog.lblKeyOf->isEnabled());
  EXPECT_TRUE(dialog.txtQuant->isEnabled());
  EXPECT_TRUE(dialog.optInc[1]->isEnabled());
  dialog.optInc[1]->click();
  QTest::keyClicks(dialog.txtQuant, QStringLiteral("5"));
  dialog.fmeRange->cboStaff->setCurrentIndex(2);
  dialog.fmeRange->optFrom[1]->click();
  const ToolRequest r = dialog.Request();
  EXPECT_EQ(r.Range.Staff, 2);
  EXPECT_EQ(r.Range.FromMeasure, 3);
  EXPECT_EQ(r.Range.ToMeasure, 0);
  EXPECT_EQ(r.Dest.Staff, 1);
  EXPECT_EQ(r.Dest.Measure, 1);
  EXPECT_EQ(r.Dest.Voice, 5);
}

TEST(CopyMoveDialog, InitAndTheSourceVoiceReachesTheRequest) {
  auto score = MakeScore(3, 1);
  frmVLTCopyMove dialog;
  dialog.Init(*score, 6);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copy/Move Notes"));
  ASSERT_EQ(dialog.cboTo->count(), 4);
  EXPECT_EQ(dialog.cboTo->itemText(0), QStringLiteral("Same"));
  EXPECT_EQ(dialog.cboTo->itemText(2), QStringLiteral("2: Staff 2"));
  EXPECT_EQ(dialog.txtMeasure->text(), QStringLiteral("6"));
  EXPECT_TRUE(dialog.optFunc[0]->isChecked());
  EXPECT_TRUE(dialog.chkNotes->isChecked());
  EXPECT_TRUE(dialog.chkNotes->isEnabled());
  EXPECT_FALSE(dialog.cboNote->isEnabled());  // "All Notes": the filter's own controls rest
  EXPECT_EQ(dialog.txtOctave->text(), QStringLiteral("5"));
  dialog.optFunc[1]->click();
  dialog.cboVoice->setCurrentIndex(7);  // "1, 4"
  dialog.cboToVoice->setCurrentIndex(2);
  ToolRequest r = dialog.Request();
  EXPECT_TRUE(r.Parm1);
  EXPECT_EQ(r.Parm2, 7);
  EXPECT_EQ(r.Parm3, 0);  // every note
  EXPECT_EQ(r.Dest.Measure, 6);
  EXPECT_EQ(r.Dest.Voice, 2);

  // Clearing "All Notes" makes the filter usable: below G4 (octave 4, as NoteName counts).
  dialog.chkNotes->click();
  for (QWidget* w : std::initializer_list<QWidget*>{dialog.optNotes[0], dialog.optNotes[1],
                                                    dialog.cboNote, dialog.txtOctave})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  dialog.optNotes[1]->click();
  dialog.cboNote->setCurrentIndex(7);  // "G"
  dialog.txtOctave->selectAll();
  QTest::keyClicks(dialog.txtOctave, QStringLiteral("4"));
  r = dialog.Request();
  EXPECT_EQ(NoteFilterOf(r.Parm3), (NoteFilter{false, false, 55}));
  dialog.chkNotes->click();
  EXPECT_FALSE(dialog.cboNote->isEnabled());
  EXPECT_EQ(dialog.Request().Parm3, 0);
}

TEST(ToolDialogs, SelectionIsOfferedWhileNotesAreSelected) {
  notecraft::RecordingSurface surface;
  auto score = MakeScore(1, 1);
  Put(*score, 1, 1, {{0, {60}}, {16, {62}}});
  ASSERT_EQ(testing::SelectNotes(*score, surface, {1}, 0, 16), 2);
  frmVLTTranspose transpose;
  transpose.Init(*score, 1);
  frmVLTCopyMove copyMove;
  copyMove.Init(*score, 1);
  const auto rangeControls = [](RangeFrame* range) {
    return std::vector<QWidget*>{range->cboStaff, range->optFrom[1], range->txtFrom, range->txtTo,
                                 range->updTo};
  };
  // Transpose greys its staff and measures while Selection is chosen; Copy/Move keeps them.
  for (auto [range, greys] : {std::pair{transpose.fmeRange, true}, {copyMove.fmeRange, false}}) {
    ASSERT_TRUE(range->optRange[1]->isEnabled());
    EXPECT_TRUE(range->optRange[0]->isChecked());
    range->optRange[1]->click();
    for (QWidget* w : rangeControls(range))
      EXPECT_EQ(w->isEnabled(), !greys) << w->objectName().toStdString();
    EXPECT_TRUE(range->Choice().Selection);
    range->optRange[0]->click();
    for (QWidget* w : rangeControls(range))
      EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  }
  EXPECT_TRUE(copyMove.cboVoice->isEnabled());  // the voices still choose among the notes
  EXPECT_TRUE(transpose.cboVoice->isEnabled());

  score->ClearSelection();
  frmVLTCopyMove again;
  again.Init(*score, 1);
  EXPECT_FALSE(again.fmeRange->optRange[1]->isEnabled());
  score->SetWindow(nullptr);
}

// A score window as the commands see it.
struct FakeWindow : IToolWindow {
  std::shared_ptr<notecraft::Score> score;
  long measure = 1;
  int cancelPlays = 0;
  QList<int> ended;
  std::shared_ptr<notecraft::Score> ToolScore() override { return score; }
  long CurMeasure() const override { return measure; }
  void CancelPlay() override { ++cancelPlays; }
  void ToolEnded(int code) override { ended << code; }
};

TEST(EditToolCommands, TransposeFromDialogToFinishedTool) {
  QWidget window;
  FakeWindow host;
  host.score = MakeScore();
  Put(*host.score, 1, 1, {{0, {60}}, {64, {62}}});
  WhenModal<frmVLTTranspose>([](frmVLTTranspose& d) {
    d.optFunction[1]->click();
    d.optInc[1]->click();
    d.txtQuant->setText(QStringLiteral("12"));
    d.OkButton()->click();
  });
  ASSERT_TRUE(RunTranspose(&window, host));
  EXPECT_EQ(host.cancelPlays, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !host.ended.isEmpty(); }, 5000));
  EXPECT_EQ(host.ended, QList<int>{kToolFinished});
  EXPECT_EQ(Read(*host.score, 1, 1), (Chords{{0, {72}}, {64, {74}}}));
  EXPECT_TRUE(host.score->Changed());
  EXPECT_EQ(RunningTool(&window), nullptr);
}

TEST(EditToolCommands, MoveTheSelectionFromDialogToFinishedTool) {
  notecraft::RecordingSurface surface;
  QWidget window;
  FakeWindow host;
  host.score = MakeScore(2, 1);
  Put(*host.score, 1, 1, {{0, {60}}, {16, {62}}, {32, {64}}, {48, {65}}});
  ASSERT_EQ(testing::SelectNotes(*host.score, surface, {1}, 16, 32), 2);
  WhenModal<frmVLTCopyMove>([](frmVLTCopyMove& d) {
    d.fmeRange->optRange[1]->click();
    d.optFunc[1]->click();
    d.cboTo->setCurrentIndex(2);  // "2: Staff 2"
    d.txtMeasure->selectAll();
    QTest::keyClicks(d.txtMeasure, QStringLiteral("2"));
    d.OkButton()->click();
  });
  ASSERT_TRUE(RunCopyMove(&window, host));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !host.ended.isEmpty(); }, 5000));
  EXPECT_EQ(host.ended, QList<int>{kToolFinished});
  EXPECT_EQ(Read(*host.score, 1, 1), (Chords{{0, {60}}, {48, {65}}}));
  EXPECT_EQ(Read(*host.score, 2, 1), (Chords{{80, {62}}, {96, {64}}}));
  EXPECT_TRUE(host.score->Changed());
  host.score->SetWindow(nullptr);
}

TEST(EditToolCommands, StopToolsEndsARunningToolAndKeepsItsWork) {
  QWidget window;
  FakeWindow host;
  host.score = MakeScore();
  Chords music;
  for (int m = 0; m < 2000; ++m) music[m * 64] = {60};
  Put(*host.score, 1, 1, music);
  WhenModal<frmVLTTranspose>([](frmVLTTranspose& d) {
    d.optFunction[1]->click();
    d.optInc[1]->click();
    d.txtQuant->setText(QStringLiteral("1"));
    d.OkButton()->click();
  });
  ASSERT_TRUE(RunTranspose(&window, host));
  ASSERT_TRUE(RunningTool(&window));
  // A second command while it runs is refused without a dialog.
  EXPECT_FALSE(RunCopyMove(&window, host));
  StopTools(&window);
  EXPECT_EQ(host.ended, QList<int>{kToolCancelled});
  EXPECT_EQ(RunningTool(&window), nullptr);
  EXPECT_TRUE(window.findChildren<ToolBox*>().isEmpty());
}

TEST(EditToolCommands, CancelledDialogStartsNothing) {
  QWidget window;
  FakeWindow host;
  host.score = MakeScore();
  WhenModal<frmVLTCopyMove>([](frmVLTCopyMove& d) { d.CancelButton()->click(); });
  EXPECT_FALSE(RunCopyMove(&window, host));
  EXPECT_EQ(window.findChildren<ToolBox*>().size(), 0);
  EXPECT_FALSE(host.score->Changed());
}

TEST(EditToolCommands, SetNoteChangesTheSelection) {
  WhenModal<frmVLTSetNote>([](frmVLTSetNote& d) {
    d.optRelative[1]->click();
    d.txtRelative->setText(QStringLiteral("2"));
    d.OkButton()->click();
  });
  EXPECT_EQ(AskNoteValue(nullptr, QPoint(100, 100)), -2);
  WhenModal<frmVLTSetNote>([](frmVLTSetNote& d) { d.CancelButton()->click(); });
  EXPECT_EQ(AskNoteValue(nullptr), std::nullopt);
}

}  // namespace
}  // namespace edittools
