#pragma once
// Which measures form one system and how wide each is. A measure is as wide as the note
// positions its staves need (one staff height each); the first also holds the clef and the
// widest key signature, and at the score's start the time signature. A line-end event
// starts a new system, a measure-size event widens or narrows its measure, a system holds
// at most 16 measures, and what room is left is shared among the measures taken, so that
// the last bar line stands at the right edge. The score's last system ends with the measure
// that holds its end (nothing follows its final bar line); when its measures take less than
// half the line they keep their own widths, and the system ends at its last bar line.

namespace notecraft {

class Score;
struct SystemLayout;

class SystemMeasures {
public:
  static constexpr int kMaxMeasures = 16;

  explicit SystemMeasures(Score& score) : m_score(score) {}

  // Takes measures from system.Start across system.Left .. system.Right at staff height
  // staffHeight (twips), none starting at or after endTime but the first: fills
  // system.Measures (at least one) and system.End, where the next system starts; a short
  // last system moves system.Right in to its last bar line.
  void Fill(SystemLayout& system, int staffHeight, int endTime);

private:
  Score& m_score;
};

}  // namespace notecraft
