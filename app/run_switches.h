#pragma once
// What the parameters after the script ask of a run.
#include <string>
#include <vector>

#include "common/run_state.h"

namespace skervo {

// The longest time limit /Delai takes: a day.
inline constexpr std::uint32_t kLongestTimeLimitSeconds = 86400;

// Parameter 1 is always the script. Without /Journal, /Delai or /Arret, a
// run is the script alone or the script and /Silent, in either order; with
// any of them, a run is the script followed by any of /Silent,
// /Journal:FICHIER, /Delai:SECONDES and /Arret, each at most once. Any other
// command line calls for the usage text.
RunSwitches ReadRunSwitches(const std::vector<std::string>& parameters);

}  // namespace skervo
