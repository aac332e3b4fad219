#include "notecraft/io/midifilehooks.h"

#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/midiimporter.h"

namespace notecraft {

MidiFileHooks& TheMidiFileHooks() {
  static MidiFileHooks hooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
  return hooks;
}

}  // namespace notecraft
