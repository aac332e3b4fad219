#pragma once
// Whole-score playback of one score (Score::PlayScore): the score written as a playback
// MIDI file and handed to a ScorePlayer, which plays it on its own.
//
// The playback file lives in a private folder made for this score in the system's
// temporary folder ("$VM$" and six random characters, mode 0700, so no other user can
// plant or read anything there) as "$VM$.mid"; folder and file go with the score. The file
// is rewritten only while the score's playback-stale flag is set, and the flag is cleared
// only when a complete file was written.
//
// Owned by its Score; the back reference is non-owning. Engine thread only.

#include <memory>
#include <string>

#include "notecraft/core/score.h"

namespace notecraft {

class ScorePlayer;
class Timer;

class Score::Sequencer {
public:
  static constexpr int kEndPollMs = 100;  // how often a notifying play looks for its end
  static constexpr const char* kFileName = "$VM$.mid";

  explicit Sequencer(Score& score);
  ~Sequencer();
  Sequencer(const Sequencer&) = delete;
  Sequencer& operator=(const Sequencer&) = delete;

  bool Play(bool stopPlay, bool sendEvents, PlayEndTarget* target);
  bool IsOpen() const { return m_open; }
  const std::string& Error() const { return m_error; }
  const std::string& FilePath() const { return m_path; }

private:
  bool EnsureFolder();
  void PollEnd();

  Score& m_score;  // non-owning: the score owns this object
  std::unique_ptr<ScorePlayer> m_player;
  bool m_open = false;  // the player holds the file and the output
  std::string m_folder;
  std::string m_path;
  std::string m_error;
  PlayEndTarget* m_target = nullptr;  // not owned
  std::unique_ptr<Timer> m_endTimer;  // last: goes first, before what its tick uses
};

}  // namespace notecraft
