#include "tonegen/null/output.h"

#include <atomic>

#include "tonegen/report.h"

namespace tonegen::null {

Output::Output(const std::string& reason) {
  static std::atomic<bool> said{false};
  if (!said.exchange(true)) Log(LogLevel::Warning, "MIDI output is silent: " + reason);
}

}  // namespace tonegen::null
