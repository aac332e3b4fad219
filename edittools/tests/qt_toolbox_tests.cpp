// The tool host on Qt's offscreen platform: its rules with fake tools, and real tools run
// from the event loop with their progress window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "edittools/core/steppedtool.h"
#include "edittools/qt/toolbox.h"
#include "toolfixtures.h"

namespace edittools {
namespace {

using testing::Chords;
using testing::MakeScore;
using testing::Put;
using testing::Read;

// Counts its steps; throws at step failAt (0: never) or in Setup with failSetup.
class FakeTool : public SteppedTool {
public:
  FakeTool(int steps, int failAt, bool failSetup, bool* abandonedFlag)
      : m_steps(steps), m_failAt(failAt), m_failSetup(failSetup), m_abandoned(abandonedFlag) {}
  std::string Label() const override { return "Working..."; }
  void Setup() override {
    if (m_failSetup) throw std::runtime_error("no setup");
  }
  bool Step() override {
    ++stepsDone;
    if (stepsDone == m_failAt) throw std::runtime_error("step failed");
    QTest::qSleep(1);
    return stepsDone < m_steps;
  }
  void Finish() override { finished = true; }
  void Abandon(bool) override { *m_abandoned = true; }
  bool Changed() const override { return false; }
  std::int64_t WorkDone() const override { return stepsDone; }
  std::int64_t WorkTotal() const override { return m_steps; }

  int stepsDone = 0;
  bool finished = false;

private:
  int m_steps, m_failAt;
  bool m_failSetup;
  bool* m_abandoned;
};

class FakeBox : public ToolBox {
public:
  int steps = 3, failAt = 0;
  bool failSetup = false;
  bool abandoned = false;  // by the last tool
  FakeTool* last = nullptr;

protected:
  std::unique_ptr<SteppedTool> CreateTool(int tool, const QVariant&, const QVariant&,
                                          const QVariant&) override {
    if (tool != toolTranspose && tool != toolCopyMove) return nullptr;
    auto t = std::make_unique<FakeTool>(steps, failAt, failSetup, &abandoned);
    last = t.get();
    return t;
  }
};

bool WaitIdle(const ToolBox& box) {
  return QTest::qWaitFor([&] { return !box.Busy(); }, 5000);
}

TEST(ToolBox, RefusesBeforeInitAndUnknownTools) {
  FakeBox box;
  box.SetRange(false, 2, 3, 4);  // ignored before Init
  box.SetDest(1, 2, 3);          // kept
  EXPECT_FALSE(box.UseTool(toolTranspose));
  EXPECT_EQ(box.last, nullptr);
  EXPECT_EQ(box.Range().Staff, 0);
  EXPECT_EQ(box.Dest().Voice, 3);
  box.Init(MakeScore());
  box.SetRange(false, 2, 3, 4);
  box.SetRange(true);  // selection: only the flag changes
  EXPECT_TRUE(box.Range().UseSelection);
  EXPECT_EQ(box.Range().ToMeasure, 4);
  EXPECT_FALSE(box.UseTool(3));
  EXPECT_FALSE(box.Busy());
  EXPECT_EQ(ToolBox::ToolEnum(1), QStringLiteral("&Transpose Notes..."));
  EXPECT_EQ(ToolBox::ToolEnum(2), QStringLiteral("Copy/&Move Notes..."));
  EXPECT_EQ(ToolBox::ToolEnum(0), QString());
  EXPECT_EQ(ToolBox::ToolEnum(3), QString());
}

TEST(ToolBox, RunsInStepsFromTheEventLoopBehindAProgressWindow) {
  FakeBox box;
  box.steps = 40;
  box.Init(MakeScore());
  QSignalSpy ended(&box, &ToolBox::toolEnded);
  ASSERT_TRUE(box.UseTool(toolTranspose));
  EXPECT_TRUE(box.Busy());  // UseTool returns before the steps
  EXPECT_EQ(box.last->stepsDone, 0);
  ASSERT_TRUE(box.ProgressWindow());
  EXPECT_TRUE(box.ProgressWindow()->isVisible());
  EXPECT_EQ(box.ProgressWindow()->labelText(), QStringLiteral("Working..."));
  EXPECT_FALSE(box.UseTool(toolTranspose));  // one tool at a time
  ASSERT_TRUE(WaitIdle(box));
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), kToolFinished);
  EXPECT_EQ(box.ProgressWindow(), nullptr);
}

TEST(ToolBox, CancelHalfWayAbandonsTheTool) {
  FakeBox box;
  box.steps = 100000;
  box.Init(MakeScore());
  QSignalSpy ended(&box, &ToolBox::toolEnded);
  ASSERT_TRUE(box.UseTool(toolCopyMove));
  FakeTool* tool = box.last;
  ASSERT_TRUE(QTest::qWaitFor([&] { return tool->stepsDone > 5; }, 5000));
  auto* cancel = box.ProgressWindow()->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
  ASSERT_TRUE(cancel);
  EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
  cancel->click();
  ASSERT_TRUE(WaitIdle(box));
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), kToolCancelled);
  EXPECT_TRUE(box.abandoned);
  EXPECT_EQ(box.ProgressWindow(), nullptr);
}

TEST(ToolBox, EscapeInTheProgressWindowCancels) {
  FakeBox box;
  box.steps = 100000;
  box.Init(MakeScore());
  QSignalSpy ended(&box, &ToolBox::toolEnded);
  ASSERT_TRUE(box.UseTool(toolTranspose));
  QTest::keyClick(box.ProgressWindow(), Qt::Key_Escape);
  ASSERT_TRUE(WaitIdle(box));
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), kToolCancelled);
}

TEST(ToolBox, AnErrorAlwaysEndsTheTool) {
  // In a step: the run ends with -2 and the host takes the next tool.
  FakeBox box;
  box.steps = 10;
  box.failAt = 4;
  box.Init(MakeScore());
  QSignalSpy ended(&box, &ToolBox::toolEnded);
  ASSERT_TRUE(box.UseTool(toolTranspose));
  ASSERT_TRUE(WaitIdle(box));
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), kToolFailed);
  EXPECT_EQ(box.LastError(), QStringLiteral("step failed"));
  EXPECT_EQ(box.ProgressWindow(), nullptr);
  box.failAt = 0;
  EXPECT_TRUE(box.UseTool(toolTranspose));
  ASSERT_TRUE(WaitIdle(box));

  // In the setup: ended first, then thrown on to the caller.
  box.failSetup = true;
  EXPECT_THROW(box.UseTool(toolTranspose), std::runtime_error);
  EXPECT_FALSE(box.Busy());
  EXPECT_EQ(ended.count(), 3);
  EXPECT_EQ(ended.at(2).at(0).toInt(), kToolFailed);
}

TEST(ToolBox, TimerRunsShareOneTimer) {
  FakeBox first, second;
  for (FakeBox* b : {&first, &second}) {
    b->steps = 1000;
    b->SetRunMode(runAsynchronous);
    b->Init(MakeScore());
  }
  ASSERT_TRUE(first.UseTool(toolTranspose));
  EXPECT_EQ(first.ProgressWindow(), nullptr);
  FakeTool* firstTool = first.last;
  ASSERT_TRUE(QTest::qWaitFor([&] { return firstTool->stepsDone >= 1; }, 2000));
  ASSERT_TRUE(second.UseTool(toolTranspose));
  const int firstSteps = firstTool->stepsDone;
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.last->stepsDone >= 2; }, 2000));
  EXPECT_EQ(firstTool->stepsDone, firstSteps);  // no more ticks for the first
  EXPECT_TRUE(first.Busy());
}

TEST(ToolBox, ReleasedMidRunEndsWithCancel) {
  auto score = MakeScore();
  Chords music;
  for (int m = 0; m < 100; ++m) music[m * 64] = {60};
  Put(*score, 1, 1, music);
  auto box = std::make_unique<ToolBox>();
  box->SetRunMode(runAsynchronous);
  box->Init(score);
  box->SetDest(1, 1, 1);
  int code = 1;
  QObject::connect(box.get(), &ToolBox::toolEnded, [&](int c) { code = c; });
  ASSERT_TRUE(box->UseTool(toolTranspose));
  auto& notes = testing::NotesOf(*score, 1, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return notes.ByIndex(1)->Value(0) == 61; }, 2000));
  box.reset();
  EXPECT_EQ(code, kToolCancelled);
  EXPECT_EQ(Read(*score, 1, 1).at(0), std::vector<int>{61});
  EXPECT_EQ(Read(*score, 1, 1).at(99 * 64), std::vector<int>{60});
  EXPECT_TRUE(score->Changed());  // the steps done are kept and marked
}

TEST(ToolBox, AReceiverMayDeleteTheHostWhenItEnds) {
  for (int mode : {runSynchronous, runAsynchronous}) {
    auto* box = new FakeBox;
    box->steps = 3;
    box->SetRunMode(mode);
    box->Init(MakeScore());
    bool ended = false;
    QObject::connect(box, &ToolBox::toolEnded, [&ended, box] {
      ended = true;
      delete box;
    });
    ASSERT_TRUE(box->UseTool(toolTranspose));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, 5000));
    QTest::qWait(100);  // the tick that ended the run returns safely
  }
}

TEST(ToolBox, TransposesAScoreAndMarksItChanged) {
  auto score = MakeScore();
  Put(*score, 1, 1, {{0, {60}}, {64, {0}}, {128, {62}}});
  ToolBox box;
  box.Init(score);
  box.SetRange(false, 0, 0, 0);
  box.SetDest(1, 1, 2);  // raise two half-steps
  QSignalSpy ended(&box, &ToolBox::toolEnded);
  ASSERT_TRUE(box.UseTool(toolTranspose, true));
  ASSERT_TRUE(WaitIdle(box));
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{0, {62}}, {64, {0}}, {128, {64}}}));
  EXPECT_TRUE(score->Changed());
  EXPECT_EQ(ended.at(0).at(0).toInt(), kToolFinished);

  // Copy/move takes its source voices from the second parameter.
  auto two = MakeScore(1, 2);
  Put(*two, 1, 1, {{0, {60}}});
  Put(*two, 1, 2, {{0, {67}}});
  ToolBox copier;
  copier.Init(two);
  copier.SetRange(false, 1, 1, 1);
  copier.SetDest(0, 2, 1);
  ASSERT_TRUE(copier.UseTool(toolCopyMove, false, 2));
  ASSERT_TRUE(WaitIdle(copier));
  EXPECT_EQ(Read(*two, 1, 1), (Chords{{0, {60}}, {64, {67}}}));
}

}  // namespace
}  // namespace edittools
