#include "tonegen/report.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "tonegen/internal.h"

namespace tonegen {

namespace {

struct Handlers {
  std::mutex Lock;
  ErrorHandler Error;
  LogHandler Logger;
  std::set<std::string, std::less<>> Reported;
};

// Never destroyed: FluidSynth's audio thread and ProcessOutput's destructor may still log
// while static objects are being torn down at exit.
Handlers& TheHandlers() {
  static Handlers* h = new Handlers;
  return *h;
}

const char* LevelName(LogLevel level) {
  switch (level) {
    case LogLevel::Debug: return "debug";
    case LogLevel::Info: return "info";
    case LogLevel::Warning: return "warning";
    case LogLevel::Error: return "error";
  }
  return "";
}

void DefaultLog(LogLevel level, const std::string& text) {
  static const bool verbose = [] {
    const char* v = std::getenv("TONEGEN_LOG");
    return v != nullptr && *v != '\0';
  }();
  if (level < LogLevel::Warning && !verbose) return;
  std::fprintf(stderr, "tonegen: %s: %s\n", LevelName(level), text.c_str());
}

}  // namespace

ErrorHandler SetErrorHandler(ErrorHandler handler) noexcept {
  auto& h = TheHandlers();
  std::lock_guard lock(h.Lock);
  std::swap(h.Error, handler);
  return handler;
}

LogHandler SetLogHandler(LogHandler handler) noexcept {
  auto& h = TheHandlers();
  std::lock_guard lock(h.Lock);
  std::swap(h.Logger, handler);
  return handler;
}

void ReportError(const std::string& text) noexcept {
  try {
    ErrorHandler handler;
    {
      auto& h = TheHandlers();
      std::lock_guard lock(h.Lock);
      handler = h.Error;
    }
    // The handler runs unlocked: a message box spins an event loop that may call us again.
    if (handler) {
      handler(kMessageTitle, text);
    } else {
      Log(LogLevel::Error, text);
    }
  } catch (...) {
  }
}

bool ReportOnce(std::string_view key, const std::string& text) noexcept {
  try {
    {
      auto& h = TheHandlers();
      std::lock_guard lock(h.Lock);
      if (!h.Reported.emplace(key).second) return false;
    }
    ReportError(text);
    return true;
  } catch (...) {
    return false;
  }
}

void ClearReported(std::string_view key) noexcept {
  auto& h = TheHandlers();
  std::lock_guard lock(h.Lock);
  if (auto it = h.Reported.find(key); it != h.Reported.end()) h.Reported.erase(it);
}

void Log(LogLevel level, const std::string& text) noexcept {
  try {
    LogHandler handler;
    {
      auto& h = TheHandlers();
      std::lock_guard lock(h.Lock);
      handler = h.Logger;
    }
    if (handler) {
      handler(level, text);
    } else {
      DefaultLog(level, text);
    }
  } catch (...) {
  }
}

void ResetReported(Internal) noexcept {
  auto& h = TheHandlers();
  std::lock_guard lock(h.Lock);
  h.Reported.clear();
}

}  // namespace tonegen
