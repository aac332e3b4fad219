#pragma once
// The engine draws through the suite's shared drawing surface (harmonygrid/draw), which the
// chord diagrams use too.

#include "harmonygrid/draw/surface.h"
#include "notecraft/core/fontspec.h"

namespace notecraft {
using harmonygrid::DrawMode;
using harmonygrid::DrawStyle;
using harmonygrid::EmTwips;
using harmonygrid::Surface;
using harmonygrid::SurfacePoint;
using harmonygrid::SurfaceState;
}  // namespace notecraft
