#pragma once
// The time limit that /Delai sets on every wait that has no end of its own.
#include "common/stopwatch.h"

namespace skervo {

class WaitLimit {
  public:
    // True once the run's time limit has passed since the wait began; the
    // journal then says which wait (the step under way) and after how long.
    // Always false without /Delai.
    bool Reached();

  private:
    Stopwatch waited_;
};

}  // namespace skervo
