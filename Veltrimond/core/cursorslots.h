#pragma once
// Which cursor file fills which cursor slot (see AppState::CursorIDs). The files live in the
// install folder's Common/Cursors.

#include <array>

namespace veltrimond {

struct CursorSlotFile {
  int Slot;
  const char* File;
};

inline constexpr std::array<CursorSlotFile, 15> kCursorSlotFiles{{
    {0, "CT000.cur"},
    {1, "CT010.cur"},
    {4, "CT040.cur"},
    {5, "CT050.cur"},
    {6, "CT060.cur"},
    {7, "CT070.cur"},
    {8, "CT080.cur"},
    {9, "CT090.cur"},
    {10, "CT100.cur"},
    {11, "CT021.cur"},
    {12, "CT022.cur"},
    {13, "CT030.cur"},
    {14, "CT031.cur"},
    {15, "CT032.cur"},
    {16, "CT033.cur"},
}};

}  // namespace veltrimond
