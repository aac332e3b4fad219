#pragma once
// libasound prints its own errors ("ALSA lib seq_hw.c:...: open /dev/snd/seq failed") on
// stderr unless an error handler is installed. The handler is process-wide, so this also
// quiets FluidSynth's ALSA audio driver. Messages go to the library log at level Debug.

namespace tonegen::alsa {

// Installs the handler once; later calls do nothing.
void RouteLibraryMessages() noexcept;

}  // namespace tonegen::alsa
