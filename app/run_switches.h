#pragma once
// What the parameters after the script ask of a run.
#include <string>
#include <vector>

#include "common/run_state.h"

namespace skervo {

// The longest time limit /Delai takes: a day.
inline constexpr std::uint32_t kLongestTimeLimitSeconds = 86400;

// Parameter 1 is always the script. Without /Journal or /Delai, a run is the
// script alone or the script and /Silent, in either order; with either, a
// run is the script followed by any of /Silent, /Journal:FICHIER and
// /Delai:SECONDES, each at most once. Any other command line calls for the
// usage text.
RunSwitches ReadRunSwitches(const std::vector<std::string>& parameters);

}  // namespace skervo
