#pragma once
// Paints one laid-out page (PageBreaker's PageLayout) on the score's window: the page text,
// then system by system the staff lines, group brackets with their same-instrument
// sub-brackets, braces with the bar lines joined between braced staves, the staff names of
// page 1's first system, every staff's content (DrawStaffSystem, DrawTies) and the left
// system line. Makes one staff band (Region) per visible staff per system, in drawing order,
// for hit testing and repaints.
//
// A grand staff is drawn braced, with its bar lines joined between its two staves.
//
// Painting writes back what the staves remember of it: each staff's lyric offset and brace
// state; a grand staff, and a staff inside a brace, lose their stored brace. It raises
// WindowCleared (not while printing) and with handles MarkHandle for each staff's top line,
// and reports the measure at the score's CurTime (the score decides whether it is selected).

#include <memory>
#include <string>
#include <vector>

#include "notecraft/layout/pagelayout.h"

namespace notecraft {

class DrawContext;
class Region;
class Score;
class Staff;

class PagePainter {
public:
  PagePainter(Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {}

  struct Result {
    std::vector<std::shared_ptr<Region>> Bands;
    int SelectedMeasure = 0;  // number of the measure starting at CurTime; 0 when none
  };
  Result Paint(const PageLayout& page, bool handles);

private:
  void DrawTexts(const PageLayout& page);
  void DrawSystem(const PageLayout& page, const SystemLayout& laidOut);
  SystemLayout FitSystem(const PageLayout& page, const SystemLayout& laidOut);
  void DrawStaffLines(int left, int top, int right);
  void Brackets(const Staff& staff, int topLine, int left);
  void CloseGroup(int left);
  void CloseRun(int left);
  std::string ColumnName(const std::string& name, int column) const;
  void DrawBrace(int top, int bottom, int left, int pageLeft, const std::string& name);

  Score& m_score;
  DrawContext& m_dc;
  bool m_handles = false;
  bool m_groupOrder = false;
  Result m_result;

  // Group brackets of the system being drawn: the open group and its run of staves of one
  // instrument, with the tops of their first staves.
  int m_groupID = -1;
  int m_runType = 0;
  int m_groupTop = 0;
  int m_runTop = 0;
  int m_lastTop = 0;
  int m_bracketX = 0;
  int m_glyphY = 0;
  // The open brace (top 0: none), the staves it still spans, and the name it shows.
  int m_braceTop = 0;
  int m_braceLeft = 0;
  std::string m_braceName;
};

}  // namespace notecraft
