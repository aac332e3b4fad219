#include "tonegen/options.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace tonegen {

namespace {

std::mutex s_lock;
Options& TheOptions() {
  static Options o;
  return o;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

bool Readable(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(path.c_str(), R_OK) == 0;
}

}  // namespace

void SetOptions(const Options& options) noexcept {
  try {
    std::lock_guard lock(s_lock);
    TheOptions() = options;
  } catch (...) {
  }
}

Options CurrentOptions() {
  std::lock_guard lock(s_lock);
  return TheOptions();
}

std::vector<std::string> DefaultSoundFonts() {
  // default-GM.* are update-alternatives links to the best GM font installed
  // (fluid-soundfont-gm, musescore-general-soundfont-*, timgm6mb-soundfont).
  return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
          "/usr/share/sounds/sf2/TimGM6mb.sf2"};
}

SoundFontChoice ResolveSoundFont(const std::function<bool(const std::string&)>& usable) {
  auto ok = [&usable](const std::string& path) { return Readable(path) && (!usable || usable(path)); };
  SoundFontChoice choice;
  std::vector<std::string> named;
  if (auto env = Env("TONEGEN_SOUNDFONT"); !env.empty()) named.push_back(env);
  if (auto set = CurrentOptions().SoundFont; !set.empty()) named.push_back(set);
  for (const auto& path : named) {
    if (ok(path)) {
      choice.Path = path;
      return choice;
    }
    if (choice.Skipped.empty()) choice.Skipped = path;
  }
  for (const auto& path : DefaultSoundFonts()) {
    if (ok(path)) {
      choice.Path = path;
      break;
    }
  }
  return choice;
}

std::vector<AudioDriverChoice> AudioDriverOrder(const std::string& configured) {
  constexpr const char* kNullDevice = "/dev/null";
  if (configured == "none") return {{"none", {}}};
  if (configured == "file") return {{"file", kNullDevice}};
  if (configured.rfind("file:", 0) == 0) {
    std::string name = configured.substr(5);
    return {{"file", name.empty() ? kNullDevice : name}};
  }
  std::vector<AudioDriverChoice> order;
  if (!configured.empty()) order.push_back({configured, {}});
  for (const char* fallback : {"pulseaudio", "alsa"}) {
    if (configured != fallback) order.push_back({fallback, {}});
  }
  return order;
}

std::vector<AudioDriverChoice> AudioDriverOrder() {
  auto configured = Env("TONEGEN_AUDIO_DRIVER");
  if (configured.empty()) configured = CurrentOptions().AudioDriver;
  return AudioDriverOrder(configured);
}

}  // namespace tonegen
