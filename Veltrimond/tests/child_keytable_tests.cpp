// The score window's key table and the staff-spacing handle list, without a window.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <tuple>

#include "Veltrimond/child/chdvltmain_handles.h"
#include "Veltrimond/child/chdvltmain_keys.h"

namespace veltrimond {
namespace {

constexpr int kCtrlW = 23, kCtrlH = 8, kCtrlQ = 17, kCtrlE = 5, kCtrlS = 19, kCtrlT = 20;
constexpr int kCtrlR = 18, kCtrlD = 4, kEnter = 13, kEsc = 27;

KeyContext Plain(int tool = 1, bool selection = false) {
  KeyContext c;
  c.ToolGroup = tool;
  c.ToolKey = tool == 6 ? QStringLiteral("Note") : QStringLiteral("Point");
  c.HasSelection = selection;
  return c;
}

KeyResult Swallowed(KeyAction action, int arg = 0) {
  return {action, arg, false, true};
}

TEST(KeyTable, EditingKeysInThePlainWindowState) {
  const KeyContext c = Plain();
  const std::vector<std::tuple<int, KeyResult>> cases = {
      {'1', Swallowed(KeyAction::Voice, 0)},
      {'4', Swallowed(KeyAction::Voice, 3)},
      {'5', {}},
      {'0', {}},
      {'+', Swallowed(KeyAction::WidthIncrease)},
      {'-', Swallowed(KeyAction::WidthDecrease)},
      {kCtrlD, Swallowed(KeyAction::ToggleDot)},
      {kCtrlW, Swallowed(KeyAction::NoteValue, 1)},
      {kCtrlH, Swallowed(KeyAction::NoteValue, 2)},  // also Backspace
      {kCtrlQ, Swallowed(KeyAction::NoteValue, 4)},
      {kCtrlE, Swallowed(KeyAction::NoteValue, 8)},
      {kCtrlS, Swallowed(KeyAction::NoteValue, 16)},
      {kCtrlT, Swallowed(KeyAction::NoteValue, 32)},
      {kCtrlR, Swallowed(KeyAction::None)},  // the pointer tool already
      {kEsc, {}},                            // nothing selected: the key passes on
      {'a', {}},
      {kEnter, {}},
      {0, {}},
  };
  for (const auto& [code, expected] : cases)
    EXPECT_EQ(KeyTable::Character(c, code), expected) << "code " << code;

  EXPECT_EQ(KeyTable::Character(Plain(6), kCtrlR), Swallowed(KeyAction::PointerTool));
  EXPECT_EQ(KeyTable::Character(Plain(1, true), kEsc), Swallowed(KeyAction::ResetSelection));
}

TEST(KeyTable, OpenEditorsComeFirstInTheirOrder) {
  KeyContext chord = Plain(9, true);
  chord.ChordPanelOpen = true;
  chord.LabelActive = true;  // the chord panel is asked first
  EXPECT_EQ(KeyTable::Character(chord, kEnter, false), Swallowed(KeyAction::CommitChord, 0));
  EXPECT_EQ(KeyTable::Character(chord, kEnter, true), Swallowed(KeyAction::CommitChord, 1));
  EXPECT_EQ(KeyTable::Character(chord, kEsc), Swallowed(KeyAction::CloseChord));
  EXPECT_EQ(KeyTable::Character(chord, '+'), KeyResult{});  // the width stays
  EXPECT_EQ(KeyTable::Character(chord, '1'), KeyResult{});

  KeyContext label = Plain(10);
  label.LabelActive = true;
  EXPECT_EQ(KeyTable::Character(label, kEnter), Swallowed(KeyAction::CommitLabel));
  EXPECT_EQ(KeyTable::Character(label, kEsc), Swallowed(KeyAction::CancelLabel));
  EXPECT_EQ(KeyTable::Character(label, '-'), KeyResult{});

  for (bool lyric : {true, false}) {
    KeyContext own = Plain(6, true);
    own.LyricActive = lyric;
    own.PageBoxFocus = !lyric;
    for (int code : {int{'1'}, int{'+'}, int{'-'}, kCtrlW, kCtrlR, kEsc, kEnter})
      EXPECT_EQ(KeyTable::Character(own, code), KeyResult{}) << code << " lyric " << lyric;
  }
}

TEST(KeyTable, ArrowsNudgeTheLastNoteOnlyWithTheNoteToolAndNoEditor) {
  const KeyContext note = Plain(6);
  EXPECT_EQ(KeyTable::Arrow(note, Qt::Key_Up), (KeyResult{KeyAction::ChangeLast, 1, false, true}));
  EXPECT_EQ(KeyTable::Arrow(note, Qt::Key_Down),
            (KeyResult{KeyAction::ChangeLast, -1, false, true}));
  EXPECT_EQ(KeyTable::Arrow(note, Qt::Key_Right),
            (KeyResult{KeyAction::ChangeLast, 1, true, true}));
  EXPECT_EQ(KeyTable::Arrow(note, Qt::Key_Left),
            (KeyResult{KeyAction::ChangeLast, -1, true, true}));
  EXPECT_EQ(KeyTable::Arrow(note, Qt::Key_PageUp), KeyResult{});
  EXPECT_EQ(KeyTable::Arrow(Plain(3), Qt::Key_Up), KeyResult{});  // the clef tool
  for (int open = 0; open < 4; ++open) {
    KeyContext c = Plain(6);
    c.ChordPanelOpen = open == 0;
    c.LabelActive = open == 1;
    c.LyricActive = open == 2;
    c.PageBoxFocus = open == 3;
    EXPECT_EQ(KeyTable::Arrow(c, Qt::Key_Up), KeyResult{}) << open;
  }
}

TEST(KeyTable, CharacterCodesOfKeyPresses) {
  auto code = [](int key, Qt::KeyboardModifiers mods, const QString& text = {}) {
    QKeyEvent e(QEvent::KeyPress, key, mods, text);
    return KeyTable::CharCode(e);
  };
  EXPECT_EQ(code(Qt::Key_W, Qt::ControlModifier), 23);
  EXPECT_EQ(code(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier), 18);
  EXPECT_EQ(code(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")), 13);
  EXPECT_EQ(code(Qt::Key_Enter, Qt::KeypadModifier), 13);
  EXPECT_EQ(code(Qt::Key_Escape, Qt::NoModifier), 27);
  EXPECT_EQ(code(Qt::Key_Backspace, Qt::NoModifier), 8);
  EXPECT_EQ(code(Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+")), '+');
  EXPECT_EQ(code(Qt::Key_2, Qt::NoModifier, QStringLiteral("2")), '2');
  EXPECT_EQ(code(Qt::Key_F5, Qt::NoModifier), 0);
  EXPECT_EQ(code(Qt::Key_1, Qt::ControlModifier, QStringLiteral("1")), 0);
}

TEST(HandleMarks, AMarkAtAListedYReplacesItsType) {
  HandleMarks marks;
  marks.Add(0, 1000);
  marks.Add(0, 2000);
  marks.Add(3, 1000);
  ASSERT_EQ(marks.Marks().size(), 2u);
  EXPECT_EQ(marks.Marks()[0].Type, 3);
  EXPECT_EQ(marks.Marks()[1].Y, 2000);
  marks.Clear();
  EXPECT_TRUE(marks.Marks().empty());
}

TEST(HandleMarks, APressHitsTheFirstMarkWithinReachInTheStrip) {
  HandleMarks marks;
  marks.Add(0, 1000);
  marks.Add(0, 1150);  // overlapping reach: the first listed wins
  const std::vector<std::tuple<int, int, std::optional<int>>> cases = {
      {0, 1000, 0},
      {360, 1000, 0},
      {361, 1000, std::nullopt},
      {-1, 1000, std::nullopt},
      {100, 1105, 0},
      {100, 895, 0},
      {100, 1106, 1},
      {100, 894, std::nullopt},
      {100, 1255, 1},
      {100, 1256, std::nullopt},
  };
  for (const auto& [x, y, hit] : cases) EXPECT_EQ(marks.HitTest(x, y), hit) << x << "," << y;
}

TEST(HandleMarks, StepsRoundToTheNearestHalvesToEven) {
  const std::vector<std::pair<int, int>> cases = {
      {200, 2}, {135, 2}, {225, 2}, {-135, -2}, {45, 0},    {-45, 0}, {44, 0},
      {46, 1},  {90, 1},  {315, 4}, {405, 4},   {-225, -2}, {0, 0},
  };
  for (const auto& [delta, steps] : cases)
    EXPECT_EQ(HandleMarks::Steps(1000, 1000 + delta), steps) << delta;
}

TEST(HandleMarks, ADropAsksForStepsOnlyWhenAStaffSpaceHandleMovedAWholeStep) {
  HandleMarks marks;
  marks.Add(0, 1000);
  marks.Add(2, 3000);
  auto drag = [&](int index, std::vector<int> ys) {
    marks.BeginDrag(index);
    for (int y : ys) marks.DragTo(y);
    return marks.EndDrag();
  };
  const auto down = drag(0, {1050, 1200});
  ASSERT_TRUE(down);
  EXPECT_EQ(down->Y, 1000);
  EXPECT_EQ(down->Steps, 2);
  const auto up = drag(0, {800});
  ASSERT_TRUE(up);
  EXPECT_EQ(up->Steps, -2);
  // A jiggle that rounds to no step, a return to the start, another handle's type.
  EXPECT_FALSE(drag(0, {1045}));
  EXPECT_FALSE(drag(0, {1300, 1000}));
  EXPECT_FALSE(drag(1, {3400}));
  EXPECT_FALSE(marks.Dragging());
  EXPECT_FALSE(marks.EndDrag());  // no drag
}

TEST(HandleMarks, DragToReportsOnlyMoves) {
  HandleMarks marks;
  marks.Add(0, 500);
  EXPECT_FALSE(marks.DragTo(600));  // not dragging
  marks.BeginDrag(0);
  EXPECT_EQ(marks.DragY(), 500);
  EXPECT_FALSE(marks.DragTo(500));
  EXPECT_TRUE(marks.DragTo(530));
  EXPECT_EQ(marks.DragY(), 530);
  EXPECT_EQ(marks.DragIndex(), 0);
}

}  // namespace
}  // namespace veltrimond
