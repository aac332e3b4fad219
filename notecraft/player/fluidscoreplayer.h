#pragma once
// The ScorePlayer on FluidSynth: plays a Standard MIDI File with FluidSynth's MIDI file
// player on the sound library's General MIDI synthesizer (tonegen's one engine per
// process, its soundfont and its audio driver choice, TONEGEN_AUDIO_DRIVER included).
//
// Opening fails when the synthesizer cannot start (no soundfont) and when no audio output
// opens: a score that would play in silence is reported, never started. The "file" audio
// driver counts as an output (it writes the sound to a file at real-time pace).
//
// The synthesizer is shared with the live note output of the sound library: a score
// played while a SoundMaster holds the synthesizer open would run a second audio driver on
// it, so hosts play scores through one or the other at a time.

#include <memory>
#include <string>

#include "notecraft/midi/scoreplayer.h"

struct _fluid_player_t;

namespace tonegen {
class MidiOut;
namespace fluidsynth {
class Engine;
}
}  // namespace tonegen

namespace notecraft {

class FluidScorePlayer : public ScorePlayer {
public:
  // Makes every score's PlayScore use this player.
  static void Install();

  FluidScorePlayer();
  ~FluidScorePlayer() override;
  FluidScorePlayer(const FluidScorePlayer&) = delete;
  FluidScorePlayer& operator=(const FluidScorePlayer&) = delete;

  Result<Done> Open(const std::string& path) override;
  Result<Done> Play() override;
  bool Finished() const override;
  void Close() noexcept override;

private:
  struct PlayerFree {
    void operator()(_fluid_player_t* player) const noexcept;
  };

  std::shared_ptr<tonegen::fluidsynth::Engine> m_engine;
  std::unique_ptr<tonegen::MidiOut> m_output;  // the audio driver on the engine
  std::unique_ptr<_fluid_player_t, PlayerFree> m_player;
};

}  // namespace notecraft
