// Score: Standard MIDI File export and import, and whole-score playback. The file formats
// themselves are read and written in notecraft/midi/.

#include <exception>

#include "notecraft/core/internal.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/io/filecommit.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/midiimporter.h"
#include "notecraft/midi/sequencer.h"

namespace notecraft {

bool Score::WriteMIDIFile(const std::string& path, bool forPlayback) noexcept {
  try {
    const auto bytes = MidiFileWriter::Write(*this, forPlayback);
    if (!CommitFile(path, bytes)) return false;
    if (!forPlayback) m_fileLength = static_cast<std::int64_t>(bytes.size());
    return true;
  } catch (...) {
    return false;
  }
}

bool Score::ReadMIDIFile(Internal, std::span<const std::uint8_t> bytes,
                         const std::string& path) noexcept {
  bool applying = false;
  try {
    m_lastFileError.clear();
    MidiImporter importer(*this, bytes);
    if (auto refused = importer.Check()) {
      m_lastFileError = *refused;
      CurrentPlatform().ShowMessage("Open", m_lastFileError);
      return false;
    }
    if (!m_opening) m_fileLength = static_cast<std::int64_t>(bytes.size());
    applying = true;
    importer.Apply(path);
    return true;
  } catch (...) {
    m_lastFileError = "The MIDI file could not be read: out of memory or an internal error.";
    if (applying) {
      // Part of the content is replaced: forget the path, so that saving cannot write the
      // part over the file.
      m_initialising = false;
      m_filePath.clear();
    }
    try {
      CurrentPlatform().ShowMessage("Open", m_lastFileError);
    } catch (...) {
    }
    return false;
  }
}

bool Score::PlayScore(bool stopPlay, bool sendEvents, PlayEndTarget* target) noexcept {
  try {
    m_lastPlayError.clear();
    if (!m_sequencer) {
      if (stopPlay) return true;  // nothing was ever played
      m_sequencer.reset(new Sequencer(*this));
    }
    const bool ok = m_sequencer->Play(stopPlay, sendEvents, target);
    m_lastPlayError = m_sequencer->Error();
    return ok;
  } catch (...) {
    m_lastPlayError = "The score cannot be played: out of memory or an internal error.";
    return false;
  }
}

bool Score::Playing() const noexcept {
  return m_sequencer && m_sequencer->IsOpen();
}

const std::string& Score::LastPlayError() const noexcept {
  return m_lastPlayError;
}

std::string Score::PlaybackFile(Internal) const {
  return m_sequencer ? m_sequencer->FilePath() : std::string();
}

void Score::SequencerDeleter::operator()(Sequencer* sequencer) const noexcept {
  delete sequencer;
}

}  // namespace notecraft
