#pragma once
// Process-wide settings of the sound library, set by the host before it opens an output
// (the editor reads them from its settings store). An environment variable, when set and
// not empty, overrides the matching setting, so that tests and headless runs can force a
// silent audio driver whatever the user's settings say:
//   TONEGEN_SOUNDFONT     path of the General MIDI soundfont (.sf2 or .sf3)
//   TONEGEN_AUDIO_DRIVER  audio driver of the software synthesizer (see AudioDriver)

#include <functional>
#include <string>
#include <vector>

namespace tonegen {

struct Options {
  // General MIDI soundfont of the software synthesizer. Empty: Debian's default GM
  // soundfont (the default-GM alternative in /usr/share/sounds/sf2 or sf3), then TimGM6mb.
  std::string SoundFont;
  // Audio driver tried first: a FluidSynth driver name ("pulseaudio", "alsa", "jack" ...),
  // "file" or "file:PATH" (writes the sound to PATH, default the null device, at real-time
  // pace), or "none" (the synthesizer runs but nothing is played). After a FluidSynth
  // driver that fails, "pulseaudio" (which PipeWire also answers) and then "alsa" are tried;
  // "file" and "none" have no fallback. Empty: "pulseaudio", then "alsa".
  std::string AudioDriver;
  // Name of the ALSA sequencer client that the port outputs open.
  std::string ClientName = "Veltrimond";
};

void SetOptions(const Options& options) noexcept;
Options CurrentOptions();

// The soundfont to use: the first readable file of the override, the setting and Debian's
// defaults that `usable` (when given) accepts. Path is empty when there is none; Skipped
// names an override or setting that was given but cannot be used.
struct SoundFontChoice {
  std::string Path;
  std::string Skipped;
};
SoundFontChoice ResolveSoundFont(const std::function<bool(const std::string&)>& usable = {});

// The audio drivers to try, in order. FileName is set for the "file" driver.
struct AudioDriverChoice {
  std::string Driver;
  std::string FileName;
  bool operator==(const AudioDriverChoice&) const = default;
};
std::vector<AudioDriverChoice> AudioDriverOrder();
// The same for a given driver value (empty: automatic); exposed for tests.
std::vector<AudioDriverChoice> AudioDriverOrder(const std::string& configured);

// Default soundfont candidates after the override and the setting, in order.
std::vector<std::string> DefaultSoundFonts();

}  // namespace tonegen
