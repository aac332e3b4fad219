#include "tonegen/alsa/messages.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include <alsa/asoundlib.h>

#include "tonegen/report.h"

namespace tonegen::alsa {

namespace {

void Handler(const char* file, int line, const char* function, int err, const char* fmt, ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  std::string message = std::string("ALSA lib ") + (file ? file : "") + ":" + std::to_string(line) +
                        ":(" + (function ? function : "") + ") " + text;
  if (err != 0) message += std::string(": ") + snd_strerror(err);
  Log(LogLevel::Debug, message);
}

}  // namespace

void RouteLibraryMessages() noexcept {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&Handler); });
}

}  // namespace tonegen::alsa
