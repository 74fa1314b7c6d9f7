#pragma once
// What the program obtains from the system (a handle, key, module, object or
// interface) held by an owner that releases it once, however the code that
// holds it ends. Each part of the seam names its owners after this template,
// with the function that releases the thing.
#include <utility>

#include "platform/types.h"

namespace skervo::platform {

template <typename Handle, auto Release>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(other.Detach()) {}
    Owned& operator=(Owned&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return IsHeld(handle_); }

    // Releases what is held and takes the new handle.
    void Reset(Handle handle = Handle{}) {
        if (IsHeld(handle_)) {
            Release(handle_);
        }
        handle_ = handle;
    }
    // For a call that hands the handle out through a parameter.
    Handle& Receive() {
        Reset();
        return handle_;
    }
    // Gives the handle up without releasing it.
    Handle Detach() { return std::exchange(handle_, Handle{}); }

  private:
    Handle handle_{};
};

}  // namespace skervo::platform
