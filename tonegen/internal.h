#pragma once
// Key for the sound library's internal members.
//
// Members that only tonegen itself may call (the device-list setters, the test hooks of the
// process-wide state) take an `Internal` as their first argument. Public headers only declare
// the type, so a host that does not include this header cannot call them; the library and
// its tests include it and pass `Internal{}`.

namespace tonegen {

struct Internal {
  explicit Internal() = default;
};

}  // namespace tonegen
