// The score windows' tags and the progress display's rules.
#include <gtest/gtest.h>

#include <QSet>

#include "Veltrimond/core/childtags.h"
#include "Veltrimond/core/progressmodel.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

TEST(ChildTags, TheSameSecondGivesTheNextNumberWithSixDigits) {
  QSet<QString> taken;
  auto isTaken = [&](const QString& t) { return taken.contains(t); };
  const QTime noon(12, 0, 0);
  taken.insert(MakeChildTag(noon, isTaken));
  taken.insert(MakeChildTag(noon, isTaken));
  taken.insert(MakeChildTag(QTime(0, 0, 5), isTaken));
  EXPECT_EQ(taken, (QSet<QString>{"SW120000", "SW120001", "SW000005"}));
  // Counting on past the last second of the day: a number, not a time.
  taken = {"SW235959"};
  EXPECT_EQ(MakeChildTag(QTime(23, 59, 59), isTaken), "SW235960");
  taken = {"SW000009", "SW000010"};
  EXPECT_EQ(MakeChildTag(QTime(0, 0, 9), isTaken), "SW000011");
}

TEST(ProgressModel, NeverMovesBackAndShowsFullPastTheEnd) {
  ProgressModel progress;
  ASSERT_TRUE(progress.Init(1000, true));
  progress.Update(400);
  progress.Update(300);
  EXPECT_EQ(progress.Value(), 400);
  progress.Update(5000);
  EXPECT_EQ(progress.Value(), 1000);
  EXPECT_TRUE(progress.Terminate());
  progress.Update(10);  // after the end: ignored
  EXPECT_EQ(progress.Value(), 1000);
  EXPECT_FALSE(progress.Terminate());
}

TEST(ProgressModel, StartsOnlyWithTheStatusBarShownAndNoneRunning) {
  ProgressModel progress;
  EXPECT_FALSE(progress.Init(10, false));
  EXPECT_FALSE(progress.Active());
  EXPECT_TRUE(progress.Init(10, true));
  EXPECT_FALSE(progress.Init(20, true));
  EXPECT_EQ(progress.Max(), 10);
  progress.Terminate();
  EXPECT_TRUE(progress.Init(20, true));
  EXPECT_EQ(progress.Value(), 0);
}

}  // namespace
}  // namespace veltrimond
