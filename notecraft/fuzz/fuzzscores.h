#pragma once
// What the fuzz targets share: two scores made once per process (making one loads the
// instrument table and chord shapes from their files), messages kept quiet, and a failed
// check that stops the run with its reason.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"

namespace fuzzscores {

class QuietPlatform : public notecraft::Platform {
public:
  void ShowMessage(const std::string&, const std::string&) override {}
};

// The score each input is read into: a default score, so a refused file can be seen to
// leave it as it was.
inline notecraft::Score& First() {
  static notecraft::Score* score = [] {
    static QuietPlatform quiet;
    notecraft::SetPlatform(&quiet);
    auto* s = new notecraft::Score;
    s->CreateDefault();
    return s;
  }();
  return *score;
}

// The score what was written is read back into.
inline notecraft::Score& Second() {
  static notecraft::Score* score = new notecraft::Score;
  return *score;
}

[[noreturn]] inline void Fail(const char* target, const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s: %s\n", target, what, detail.c_str());
  std::abort();
}

}  // namespace fuzzscores
