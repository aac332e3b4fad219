#include "notecraft/player/fluidscoreplayer.h"

#include <fluidsynth.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "tonegen/fluidsynth/engine.h"
#include "tonegen/fluidsynth/output.h"
#include "tonegen/status.h"

namespace notecraft {

namespace {

FileError Failure(FileErrorCode code, std::string message) {
  return MakeFileError(code, std::move(message));
}

}  // namespace

void FluidScorePlayer::Install() {
  SetScorePlayerFactory([] { return std::make_unique<FluidScorePlayer>(); });
}

FluidScorePlayer::FluidScorePlayer() = default;

FluidScorePlayer::~FluidScorePlayer() {
  Close();
}

void FluidScorePlayer::PlayerFree::operator()(_fluid_player_t* player) const noexcept {
  delete_fluid_player(player);
}

Result<Done> FluidScorePlayer::Open(const std::string& path) {
  Close();
  try {
    // The player gets its own copy of the file, so the file may be rewritten meanwhile.
    std::ifstream in(path, std::ios::binary);
    if (!in)
      return Failure(FileErrorCode::CannotOpen, "The playback file " + path + " cannot be read.");
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 4 || std::string(bytes.data(), 4) != "MThd") {
      return Failure(FileErrorCode::Unrecognised,
                     "The playback file " + path + " is not a MIDI file.");
    }

    tonegen::Status error;
    m_engine = tonegen::fluidsynth::Engine::Acquire(error);
    if (!m_engine) return Failure(FileErrorCode::NotSupported, error.Message());

    tonegen::OpenResult opened = tonegen::fluidsynth::Output::Open();
    if (!opened.Output) {
      Close();
      return Failure(FileErrorCode::NotSupported, opened.Error.Message());
    }
    m_output = std::move(opened.Output);
    // Without a driver the output is silent: the score would "play" without a sound.
    if (static_cast<tonegen::fluidsynth::Output&>(*m_output).DriverName().empty()) {
      Close();
      return Failure(
          FileErrorCode::NotSupported,
          "The score cannot be heard: no audio output could be opened. Check that a "
          "sound server (PipeWire or PulseAudio) is running or that a sound card is present.");
    }

    m_player.reset(new_fluid_player(m_engine->Synth()));
    if (!m_player || fluid_player_add_mem(m_player.get(), bytes.data(), bytes.size()) != FLUID_OK) {
      Close();
      return Failure(FileErrorCode::NotSupported, "The MIDI file player could not be started.");
    }
    return Done{};
  } catch (...) {
    Close();
    return Failure(FileErrorCode::NotSupported,
                   "The MIDI file player could not be started: out of memory.");
  }
}

Result<Done> FluidScorePlayer::Play() {
  if (!m_player) return Failure(FileErrorCode::NotSupported, "Nothing is open to play.");
  if (fluid_player_play(m_player.get()) != FLUID_OK)
    return Failure(FileErrorCode::NotSupported, "The MIDI file player could not start playing.");
  return Done{};
}

bool FluidScorePlayer::Finished() const {
  return !m_player || fluid_player_get_status(m_player.get()) == FLUID_PLAYER_DONE;
}

void FluidScorePlayer::Close() noexcept {
  if (m_player) (void)fluid_player_stop(m_player.get());
  // The driver goes first (its thread drives the player), then the player; the output
  // silences what still sounds as it closes.
  if (m_output) (void)m_output->Close();
  m_output.reset();
  m_player.reset();
  m_engine.reset();
}

}  // namespace notecraft
