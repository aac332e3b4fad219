#include "notecraft/core/midievent.h"

#include <gtest/gtest.h>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"

namespace notecraft {
namespace {

TEST(MIDIEventRecord, ANewEventReadsZeroEverywhere) {
  const MIDIEvent e;
  EXPECT_EQ(e.Channel(), 0);
  EXPECT_EQ(e.EventTime(), 0);
  EXPECT_EQ(e.EventType(), midNoOp);
  EXPECT_EQ(e.Text(), "");
  EXPECT_EQ(e.Value(0), 0);
  EXPECT_EQ(e.Value(1), 0);
}

TEST(MIDIEventRecord, OnlyIndexesZeroAndOneHoldValues) {
  MIDIEvent e;
  const Internal key;
  e.SetValue(key, 0, 60);
  e.SetValue(key, 1, 112);
  for (int outside : {-1, 2, 1000}) {
    SCOPED_TRACE(outside);
    e.SetValue(key, outside, 5);  // ignored: nothing is stored anywhere
    EXPECT_EQ(e.Value(outside), 0);
    EXPECT_EQ(e.Value(0), 60);
    EXPECT_EQ(e.Value(1), 112);
  }
}

}  // namespace
}  // namespace notecraft
