#pragma once
// Which measures form one system and how wide each is. A measure is as wide as the note
// positions its staves need (one staff height each); the first also holds the clef and the
// widest key signature, and at the score's start the time signature. A line-end event
// starts a new system, a measure-size event widens or narrows its measure (never below what
// its lyrics need to keep their syllables apart, view/lyricspacing.h), a system holds at
// most 16 measures, and what room is left is shared among the measures taken, so that the
// last bar line stands at the right edge.

namespace notecraft {

class Score;
struct SystemLayout;

class SystemMeasures {
public:
  static constexpr int kMaxMeasures = 16;

  explicit SystemMeasures(Score& score) : m_score(score) {}

  // Takes measures from system.Start across system.Left .. system.Right at staff height
  // staffHeight (twips): fills system.Measures (at least one) and system.End, where the
  // next system starts.
  void Fill(SystemLayout& system, int staffHeight);

private:
  Score& m_score;
};

}  // namespace notecraft
