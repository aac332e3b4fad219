#pragma once
// The recording test surface of the shared drawing layer, for the engine's tests.

#include "harmonygrid/draw/recordingsurface.h"
#include "notecraft/view/surface.h"

namespace notecraft {
using harmonygrid::RecordingSurface;
using harmonygrid::SurfaceOp;
}  // namespace notecraft
