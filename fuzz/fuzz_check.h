#pragma once
// What every fuzz target shares: a property check that libFuzzer sees as a
// crash, and a fresh simulated desktop and run state for each input.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/run_state.h"
#include "tests/sim/desktop.h"

inline void Check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

inline void FreshDesktop() {
    sim::desktop = sim::Desktop{};
    // The run state holds an atomic flag, so it is rebuilt rather than assigned.
    std::destroy_at(&skervo::runState);
    std::construct_at(&skervo::runState);
}
