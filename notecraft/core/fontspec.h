#pragma once
// The score's fonts are the shared drawing layer's font descriptions.

#include "harmonygrid/draw/fontspec.h"

namespace notecraft {
using harmonygrid::FontSpec;
}  // namespace notecraft
