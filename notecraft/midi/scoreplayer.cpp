#include "notecraft/midi/scoreplayer.h"

#include <utility>

namespace notecraft {

namespace {

class NoScorePlayer : public ScorePlayer {
public:
  Result<Done> Open(const std::string&) override {
    return MakeFileError(FileErrorCode::NotSupported,
                         "The score cannot be played: no MIDI player is installed.");
  }
  Result<Done> Play() override {
    return MakeFileError(FileErrorCode::NotSupported, "Nothing is open to play.");
  }
  bool Finished() const override { return true; }
  void Close() noexcept override {}
};

ScorePlayerFactory& Factory() {
  static ScorePlayerFactory factory;
  return factory;
}

}  // namespace

void SetScorePlayerFactory(ScorePlayerFactory factory) {
  Factory() = std::move(factory);
}

std::unique_ptr<ScorePlayer> CreateScorePlayer() {
  if (Factory()) {
    if (auto player = Factory()()) return player;
  }
  return std::make_unique<NoScorePlayer>();
}

}  // namespace notecraft
