#include "dialup/ras_binding.h"

#include <string>

#include "common/run_state.h"
#include "dialup/ras_library.h"
#include "ui/texts.h"
#include "ui/unhandled_error.h"

namespace skervo {
namespace {

// Not inlined, so that the address it reports lies in the binding.
[[noreturn, gnu::noinline]] void Raise(const std::string& message) {
    EndWithUnhandledError({message, __builtin_return_address(0)});
}

}  // namespace

platform::ProcAddress BindRasFunction(std::string_view baseName) {
    const RasLookup lookup = LookUpRasFunction(runState.Ras, baseName);
    switch (lookup.missing) {
        case RasMissing::FirstLibrary:
            Raise(std::string(texts::kCannotOpenRasapi32));
        case RasMissing::SecondLibrary:
            Raise(std::string(texts::kCannotOpenRnaph));
        case RasMissing::Function:
            Raise(std::string(texts::kFunctionStart) + std::string(baseName) +
                  std::string(texts::kFunctionMissing));
        case RasMissing::Nothing:
            break;
    }
    return lookup.function;
}

}  // namespace skervo
