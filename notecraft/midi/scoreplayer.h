#pragma once
// Plays a Standard MIDI File on its own, from start to end, for Score::PlayScore: the
// engine writes the score to a file and hands it over, and the player sounds it while the
// host goes on. The engine links no sound library, so the player comes from the host:
// notecraft/player/ has one on FluidSynth (notecraft::FluidScorePlayer::Install).
//
// Lifecycle: Open (file and audio output taken) -> Play -> Close. Close may be called at
// any time, also after a failed Open or Play, and releases whatever was taken. A player
// that cannot be heard (no audio device) fails to open: it never reports success in
// silence. Used from the engine's thread only.

#include <functional>
#include <memory>
#include <string>

#include "notecraft/io/result.h"

namespace notecraft {

class ScorePlayer {
public:
  virtual ~ScorePlayer() = default;

  // Loads the file and takes the audio output.
  virtual Result<Done> Open(const std::string& path) = 0;
  // Starts playing the opened file from its start; returns at once.
  virtual Result<Done> Play() = 0;
  // True once the file has played to its end.
  virtual bool Finished() const = 0;
  // Stops playing and releases the file and the output. Harmless when nothing is open.
  virtual void Close() noexcept = 0;
};

using ScorePlayerFactory = std::function<std::unique_ptr<ScorePlayer>()>;

// The process-wide factory, installed by the host (or a test); an empty factory restores
// the default, whose players fail to open with a message saying no player is installed.
void SetScorePlayerFactory(ScorePlayerFactory factory);
std::unique_ptr<ScorePlayer> CreateScorePlayer();

}  // namespace notecraft
