#include "listenbox/app/listenplayer.h"

#include "notecraft/core/score.h"

namespace listenbox {

notecraft::PlaybackScheduler::Rules ListenPlayer::Rules() {
  notecraft::PlaybackScheduler::Rules rules;
  rules.QueueLimit = kQueueLimit;
  rules.FollowRepeats = false;
  // The notes' own velocities (112, accents and drums 127), as the editor plays them: the
  // sound's default velocity of 64 left the player some 12 dB below the editor and the style
  // editor's Listen.
  rules.EventVelocity = true;
  rules.ProgramVolume = kProgramVolume;
  return rules;
}

ListenPlayer::ListenPlayer(notecraft::Score& score, tonegen::SoundMaster& sound, QObject* parent)
    : QObject(parent),
      m_score(score),
      m_source(score),
      m_scheduler(m_clock, sound, Rules()),
      m_timer(m_scheduler, m_clock) {
  connect(&m_timer, &notecraft::PlaybackTimer::finished, this, &ListenPlayer::finished);
}

ListenPlayer::~ListenPlayer() { Stop(); }

void ListenPlayer::Play() {
  Stop();
  m_scheduler.Start(m_source, m_score.PlaybackTempo());
  m_timer.Run();
}

void ListenPlayer::Stop() {
  m_timer.Halt();
  m_scheduler.Stop();
}

}  // namespace listenbox
