#pragma once
// Conversions between the seam's opaque values and the platform's own
// handles, pointers and functions.
#include <cstdint>

#include "platform/types.h"

namespace skervo::platform {

template <typename Native, typename Opaque>
Native ToNative(Opaque value) {
    return reinterpret_cast<Native>(static_cast<std::uintptr_t>(value));
}

template <typename Opaque, typename Native>
Opaque FromNative(Native native) {
    return Opaque{reinterpret_cast<std::uintptr_t>(native)};
}

// A function found by name, as the type it is called through.
template <typename Function>
Function As(ProcAddress address) {
    return ToNative<Function>(address);
}

}  // namespace skervo::platform
