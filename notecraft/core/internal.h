#pragma once
// Key for the engine's library-internal members.
//
// Members that only the engine itself may call (setters the model keeps consistent,
// back references to the owning score) take an `Internal` as their first argument.
// Public headers only declare the type, so a host that does not include this header
// cannot call them; engine code and the engine's tests include it and pass `Internal{}`.

namespace notecraft {

struct Internal {
  explicit Internal() = default;
};

}  // namespace notecraft
