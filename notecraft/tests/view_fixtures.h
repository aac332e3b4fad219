#pragma once
// Helpers for the drawing tests: a score drawing onto a RecordingSurface at the default
// staff height (L = 576 twips, line space s = 144, glyph baseline 225, 15 twips a pixel),
// one staff whose top line is at kTop, and readers of the recorded operations.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/recordingsurface.h"

namespace harmonygrid {
inline void PrintTo(const SurfacePoint& p, std::ostream* out) {
  *out << "(" << p.X << "," << p.Y << ")";
}
}  // namespace harmonygrid

namespace notecraft::testing {

inline constexpr int L = 576;
inline constexpr int S = 144;
inline constexpr int kBaseline = 225;
inline constexpr int kPx = 15;
inline constexpr int kTop = 3000;           // the staff's top line
inline constexpr int kY = kTop - kBaseline;  // the staff's reference y
inline constexpr int kBottomLine = kTop + 4 * S;

// Where DrawTextAt puts a point on screen: the pixel that holds it.
constexpr int Snap(int twips) { return twips / kPx * kPx; }

// The anchor y of a glyph k line spaces below the bottom line (halves for spaces).
inline int StepY(double k) { return kY + static_cast<int>(k * S); }

class ViewFixture : public ::testing::Test {
protected:
  ViewFixture() : dc(score.View(Internal{})) {
    score.SetWindow(&surface);
    dc.SetStaffScale(1.0f);
    dc.SetStaffUnit(S);
    dc.SelectFont(DrawContext::kMusicFont);
    dc.Symbols().NoteColor = dc.ColorNotes();
    surface.SetForeColor(dc.ColorNotes());
    surface.ClearRecord();
  }
  ~ViewFixture() override { score.SetWindow(nullptr); }

  // The text operations, optionally only those whose text is one of texts.
  std::vector<SurfaceOp> Texts(std::vector<std::string_view> texts = {}) const {
    std::vector<SurfaceOp> out;
    for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text))
      if (texts.empty() || std::find(texts.begin(), texts.end(), op.Text) != texts.end())
        out.push_back(op);
    return out;
  }
  std::vector<SurfaceOp> Lines() const { return surface.Ops(SurfaceOp::Kind::Line); }
  int Width(std::string_view text) const { return surface.TextWidth(text); }

  Score score;
  RecordingSurface surface;
  DrawContext& dc;
};

}  // namespace notecraft::testing
