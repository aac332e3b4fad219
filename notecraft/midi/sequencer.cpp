#include "notecraft/midi/sequencer.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "notecraft/core/internal.h"
#include "notecraft/core/timer.h"
#include "notecraft/io/filecommit.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/scoreplayer.h"

namespace notecraft {

Score::Sequencer::Sequencer(Score& score) : m_score(score) {}

Score::Sequencer::~Sequencer() {
  m_endTimer.reset();
  if (m_player) m_player->Close();
  m_player.reset();
  if (!m_folder.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);  // the file and any temporary left by a failed write
  }
}

bool Score::Sequencer::EnsureFolder() {
  if (!m_folder.empty() && std::filesystem::is_directory(m_folder)) return true;
  std::error_code ec;
  const auto temp = std::filesystem::temp_directory_path(ec);
  if (ec) {
    m_error = "The score cannot be played: there is no temporary folder for its playback file.";
    return false;
  }
  std::string pattern = (temp / (std::string(kTempFilePrefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) {
    m_error =
        "The score cannot be played: its playback file cannot be made in " + temp.string() + ".";
    return false;
  }
  m_folder = pattern;
  m_path = (std::filesystem::path(m_folder) / kFileName).string();
  return true;
}

bool Score::Sequencer::Play(bool stopPlay, bool sendEvents, PlayEndTarget* target) {
  const Internal key;
  m_error.clear();
  if (m_endTimer) m_endTimer->Stop();
  m_target = nullptr;
  if (m_open) {
    m_player->Close();
    m_open = false;
  }
  if (stopPlay) return true;

  if (m_score.PlaybackStale(key) || m_path.empty() || !std::filesystem::exists(m_path)) {
    if (!EnsureFolder()) return false;
    if (auto written = MidiFileWriter::WriteFile(m_score, m_path, true); !written) {
      // The flag stays set: the next play tries again rather than reuse an old file.
      m_error = written.Error().Message;
      return false;
    }
    m_score.SetPlaybackStale(key, false);
  }

  if (!m_player) m_player = CreateScorePlayer();
  auto started = m_player->Open(m_path);
  if (started) started = m_player->Play();
  if (!started) {
    // A player that opened but cannot play is closed again, so that nothing stays held.
    m_player->Close();
    m_error = started.Error().Message;
    return false;
  }
  m_open = true;

  if (sendEvents && target) {
    m_target = target;
    if (!m_endTimer) m_endTimer = CurrentTimerFactory().CreateTimer([this] { PollEnd(); });
    m_endTimer->Start(kEndPollMs);
  }
  return true;
}

void Score::Sequencer::PollEnd() {
  if (!m_open || !m_target) {
    m_endTimer->Stop();
    return;
  }
  if (!m_player->Finished()) return;
  m_endTimer->Stop();
  PlayEndTarget* target = m_target;
  m_target = nullptr;
  target->PlayEnded();  // may play again or stop: nothing of this call is used after it
}

}  // namespace notecraft
