#pragma once
// A printer for the printing tests: it records what it is asked for on a page-sized
// recording surface.

#include <algorithm>
#include <memory>

#include "notecraft/view/printtarget.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft::testing {

class RecordingPrinter : public PrintTarget {
public:
  Surface* BeginJob(const PrintSettings& s) override {
    ++jobs;
    settings = s;
    if (refuse) return nullptr;
    surface = std::make_unique<RecordingSurface>(12240, 15840, twipsPerPixel, twipsPerPixel);
    return surface.get();
  }
  void EndJob() override { ++ended; }

  int Pages() const {
    if (!surface) return 0;
    const auto& ops = surface->Ops();
    return 1 + static_cast<int>(std::count_if(ops.begin(), ops.end(), [](const SurfaceOp& op) {
             return op.What == SurfaceOp::Kind::NewPage;
           }));
  }

  std::unique_ptr<RecordingSurface> surface;
  PrintSettings settings;
  bool refuse = false;
  double twipsPerPixel = 15.0;  // 96 dpi; 1.2 is a 1200-dpi printer
  int jobs = 0;
  int ended = 0;
};

}  // namespace notecraft::testing
