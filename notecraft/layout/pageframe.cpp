#include "notecraft/layout/pageframe.h"

#include <algorithm>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drawcontext.h"

namespace notecraft {

namespace {

// Stands for the beat's note sign in the tempo line (DrawContext::DrawTempoLine).
constexpr char kNotePlaceholder = '\x02';

// Runs a page text line's drawer with drawing off, for the room it takes.
class MeasureOnly {
public:
  explicit MeasureOnly(DrawContext& dc) : m_dc(dc), m_kept(dc.Paginating()) {
    dc.SetPaginating(true);
  }
  ~MeasureOnly() { m_dc.SetPaginating(m_kept); }
  MeasureOnly(const MeasureOnly&) = delete;
  MeasureOnly& operator=(const MeasureOnly&) = delete;

private:
  DrawContext& m_dc;
  bool m_kept;
};

}  // namespace

int PageFrame::LayOut(PageLayout& page) {
  const int pageWidth = m_score.PageWidthTwips();
  const int left = m_score.MarginTwips(marLeft);
  const int right = m_score.MarginTwips(marRight);
  const bool mirrored = m_score.ReverseEvenOdd() && page.Page % 2 == 0;
  page.LeftX = mirrored ? right : left;
  page.RightX = pageWidth - (mirrored ? left : right);
  page.TopY = m_score.MarginTwips(marTop);
  page.BottomY = m_score.PageHeightTwips() - m_score.MarginTwips(marBottom);
  page.Texts.clear();
  if (!m_dc.Window()) return page.TopY;

  const MeasureOnly measuring(m_dc);
  PageNumber(page, mirrored);
  Footers(page);
  return page.Page == 1 ? Headings(page) : page.TopY;
}

void PageFrame::PageNumber(PageLayout& page, bool mirrored) {
  const int kind = m_score.PageNums();
  if (kind != pgnAllPages && !(kind == pgnNoPageOne && page.Page != 1)) return;
  Surface& window = *m_dc.Window();
  m_dc.SelectFont(fntHeader);
  PageTextLine line;
  line.Line = PageTextLine::Kind::PageNumber;
  line.Font = fntHeader;
  line.Text = "Page " + std::to_string(page.Page);
  page.BottomY -= window.TextHeight();
  line.Y = page.BottomY;
  line.X = mirrored ? page.LeftX : page.RightX - window.TextWidth(line.Text);
  page.Texts.push_back(std::move(line));
}

void PageFrame::Footers(PageLayout& page) {
  const std::string& upper = m_score.Copyright(0);
  const std::string& lower = m_score.Copyright(1);
  if (upper.empty() && lower.empty()) return;
  m_dc.SelectFont(fntCopyright);
  // Stacked upwards from the bottom margin: the second line lies lowest.
  int y = m_score.PageHeightTwips() - m_score.MarginTwips(marBottom);
  for (const std::string* text : {&lower, &upper}) {
    if (text->empty()) continue;
    page.Texts.push_back({PageTextLine::Kind::Footer, fntCopyright, *text, 0, y});
    m_dc.DrawFooterLine(y, *text);
  }
  page.BottomY = std::min(page.BottomY, y);
}

int PageFrame::Headings(PageLayout& page) {
  int y = page.TopY;
  auto add = [&](PageTextLine::Kind kind, int font, const std::string& text) {
    page.Texts.push_back({kind, font, text, 0, y});
    switch (kind) {
      case PageTextLine::Kind::Heading: m_dc.DrawHeadingLine(y, text); break;
      case PageTextLine::Kind::Right: m_dc.DrawRightLine(y, text); break;
      case PageTextLine::Kind::Tempo: m_dc.DrawTempoLine(y, text); break;
      default: break;
    }
  };
  if (!m_score.Title().empty()) {
    m_dc.SelectFont(fntTitle);
    add(PageTextLine::Kind::Heading, fntTitle, m_score.Title());
  }
  if (!m_score.SubTitle().empty()) {
    m_dc.SelectFont(fntSubTitle);
    add(PageTextLine::Kind::Heading, fntSubTitle, m_score.SubTitle());
  }
  bool composerLine = false;
  if (!m_score.Composer().empty() || !m_score.ArrangedBy().empty()) {
    m_dc.SelectFont(fntComposer);
    for (const std::string* text : {&m_score.Composer(), &m_score.ArrangedBy()}) {
      if (text->empty()) continue;
      add(PageTextLine::Kind::Right, fntComposer, *text);
      composerLine = true;
    }
  }
  if (!m_score.Heading().empty() || m_score.Metronome()) {
    std::string text = m_score.Heading();
    if (m_score.Metronome()) {
      const std::string mark = std::string(1, kNotePlaceholder) + " = " + std::to_string(m_score.Count());
      text = text.empty() ? mark : text + " (" + mark + ")";
    }
    m_dc.SelectFont(fntHeader);
    // The heading shares the last composer line, at the other margin.
    if (composerLine) y -= m_dc.Window()->TextHeight();
    add(PageTextLine::Kind::Tempo, fntHeader, text);
  }
  return y;
}

}  // namespace notecraft
