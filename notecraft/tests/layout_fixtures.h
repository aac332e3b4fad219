#pragma once
// Helpers for the layout, pagination and page painting tests: a default score (Letter,
// margins 1440 top, 720 bottom, 1080 left, 720 right; staff height L 576, staff spacing 720,
// system spacing 936) without headings, built staff by staff with measures of quarter
// notes, drawing onto a RecordingSurface (15 twips a pixel; text one half em a character).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/range.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/timer.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagebreaker.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft::testing {

inline constexpr int kPageWidth = 12240;
inline constexpr int kPageHeight = 15840;
inline constexpr int kTopMargin = 1440;
inline constexpr int kBottomY = kPageHeight - 720;
inline constexpr int kLeftMargin = 1080;
inline constexpr int kRightX = kPageWidth - 720;
inline constexpr int kWidth = kRightX - kLeftMargin;  // 10440
inline constexpr int kL = 576;

// Where text drawn at a point lands on screen: the pixel (15 twips) that holds it.
constexpr int PixelSnap(int twips) { return twips / 15 * 15; }

// A staff's voice 1 gets `measures` measures of four quarter notes from `from`.
inline void FillQuarters(Staff& staff, int measures, int pitch = 67, int from = 0, int voice = 1) {
  auto v = staff.Voice(voice);
  ASSERT_TRUE(v);
  for (int t = from; t < from + measures * 64; t += 16) v->Notes().Add(t, pitch, durQuarter, 0);
}

// Public: table cases set a score up through it.
class LayoutFixture : public ::testing::Test {
public:
  LayoutFixture() {
    SetTimerFactory(&timers);
    score.CreateDefault();
    score.SetTitle("");
    score.SetComposer("");
    score.SetArrangedBy("");
    score.SetMetronome(false);
    First().SetFlags(0);  // no staff name column unless a test asks for one
  }
  ~LayoutFixture() override {
    score.SetWindow(nullptr);
    SetTimerFactory(nullptr);
  }

  Staff& First() { return *score.Staff(1); }
  // A staff below the others, with one voice of the staff above's instrument.
  Staff& AddStaff(const std::string& description = "Staff") {
    auto staff = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), description);
    staff->SetFlags(0);
    return *staff;
  }
  // A second voice on a staff.
  void AddVoice(Staff& staff) {
    auto first = staff.Voice(1);
    staff.AddVoice(first ? first->Instrument() : nullptr);
  }

  void Attach() { score.SetWindow(&surface); }
  DrawContext& Dc() { return score.View(Internal{}); }
  // Lays out one page as pagination and painting do (the window must be attached).
  PageLayout LayOut(int page, int start, int staffHeight = kL) {
    return PageBreaker(score, Dc()).LayOut(page, start, staffHeight, 1 << 20);
  }
  // Every page at once, as the layout timer would one page per tick.
  void PaginateAll() {
    score.RestartPagination(1);
    while (score.Paginating()) score.PaginateStep(Internal{});
  }
  std::vector<int> Widths(const SystemLayout& system) const {
    std::vector<int> widths;
    for (const auto& m : system.Measures) widths.push_back(m.Width);
    return widths;
  }
  std::vector<int> MeasureCounts(const PageLayout& page) const {
    std::vector<int> counts;
    for (const auto& system : page.Systems) counts.push_back(static_cast<int>(system.Measures.size()));
    return counts;
  }

  ManualTimerFactory timers;
  Score score;
  RecordingSurface surface;
};

}  // namespace notecraft::testing
