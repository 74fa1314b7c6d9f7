#pragma once
#include <cstdint>

#include "platform/kernel.h"

namespace skervo {

// Milliseconds since it started, whatever the tick counter's wrap-arounds
// in between, as long as it is read at least every 49 days.
class Stopwatch {
  public:
    Stopwatch() : last_(platform::GetTickCount()) {}
    std::int64_t Elapsed() {
        const std::uint32_t now = platform::GetTickCount();
        elapsed_ += static_cast<std::uint32_t>(now - last_);
        last_ = now;
        return elapsed_;
    }

  private:
    std::uint32_t last_;
    std::int64_t elapsed_ = 0;
};

}  // namespace skervo
