#pragma once
// The music font's metrics table lives with the shared drawing layer.

#include "harmonygrid/draw/musicfontmetrics.h"

namespace notecraft {
namespace musicfont = harmonygrid::musicfont;
}  // namespace notecraft
