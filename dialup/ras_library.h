#pragma once
// Choosing the remote-access library and finding its functions by name, for
// a binding its caller keeps: the run's, or the checker's own.
#include <string_view>

#include "common/run_state.h"
#include "platform/types.h"

namespace skervo {

enum class RasMissing { Nothing, FirstLibrary, SecondLibrary, Function };
struct RasLookup {
    platform::ProcAddress function{};
    RasMissing missing = RasMissing::Nothing;
};

// The address of a function, by its base name (without the A suffix), in the
// library the binding's first lookup chose: rasapi32.dll with the suffix, or
// rnaph.dll without it. A null function and what is missing on failure.
RasLookup LookUpRasFunction(RasBinding& binding, std::string_view baseName);

}  // namespace skervo
