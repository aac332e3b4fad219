#include "notecraft/core/score.h"

#include <optional>

#include "notecraft/core/internal.h"
#include "notecraft/core/playbackstream.h"

namespace notecraft {

// Every entry point catches what the stream may throw (out of memory): a host sees the end
// of the stream instead.

void Score::PlaybackStreamDeleter::operator()(PlaybackStream* stream) const noexcept {
  delete stream;
}

Score::PlaybackStream& Score::Playback() {
  if (!m_playback) m_playback.reset(new PlaybackStream(*this));
  return *m_playback;
}

std::shared_ptr<MIDIEvent> Score::GetMIDIEvent() noexcept {
  try {
    return Playback().Request(std::nullopt);
  } catch (...) {
    return nullptr;
  }
}

std::shared_ptr<MIDIEvent> Score::GetMIDIEvent(int startTime) noexcept {
  try {
    return Playback().Request(startTime);
  } catch (...) {
    return nullptr;
  }
}

bool Score::GetAsync() const noexcept { return m_playback && m_playback->Async(); }

void Score::SetGetAsync(bool on) noexcept {
  try {
    Playback().SetAsync(on);
  } catch (...) {
  }
}

void Score::PumpPlaybackEvents(Internal) noexcept {
  try {
    Playback().Pump();
  } catch (...) {
  }
}

void Score::EndPlayback(Internal) noexcept {
  if (m_playback) m_playback->End();
}

}  // namespace notecraft
