#pragma once
// Where the sound library's failures and notices go. The library has no windows and does
// not decide how to show anything:
//  - errors a user should see (an output that cannot be opened or closed, a failed write to
//    a device, no audio at all) go to the error handler the host installs; the editor shows
//    them in a message box titled kMessageTitle. Called on the thread that called the
//    library (the user-interface thread).
//  - notices (which output is silent and why, what FluidSynth and ALSA print) go to the log
//    handler. It may be called from FluidSynth's audio thread, so it must be thread-safe.
//
// Without an installed error handler, errors go to the log at level Error. The default log
// handler writes Warning and Error lines to stderr, and every level when the environment
// variable TONEGEN_LOG is set to a non-empty value.

#include <functional>
#include <string>
#include <string_view>

namespace tonegen {

struct Internal;

inline constexpr const char* kMessageTitle = "MIDI Sound";

enum class LogLevel { Debug, Info, Warning, Error };

using ErrorHandler = std::function<void(const std::string& title, const std::string& text)>;
using LogHandler = std::function<void(LogLevel level, const std::string& text)>;

// Each returns the handler it replaces. An empty handler restores the default.
ErrorHandler SetErrorHandler(ErrorHandler handler) noexcept;
LogHandler SetLogHandler(LogHandler handler) noexcept;

// Library side. Nothing thrown by a handler leaves these functions.
void ReportError(const std::string& text) noexcept;
// Reports text unless `key` was reported before and not cleared since; true when reported.
// Used for conditions that persist across opens (no audio driver, no soundfont), which
// would otherwise be reported again on every Close/Open pair of the transport.
bool ReportOnce(std::string_view key, const std::string& text) noexcept;
void ClearReported(std::string_view key) noexcept;
void Log(LogLevel level, const std::string& text) noexcept;

// Tests: forget every ReportOnce key.
void ResetReported(Internal) noexcept;

}  // namespace tonegen
