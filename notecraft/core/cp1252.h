#pragma once
// The suite's Windows-1252 codec (harmonygrid/core/cp1252.h), for the engine's files.

#include "harmonygrid/core/cp1252.h"

namespace notecraft {
using harmonygrid::Cp1252ToUtf8;
using harmonygrid::Utf8ToCp1252;
}  // namespace notecraft
