#include "dialup/ras_binding.h"

#include <string>

#include "common/run_state.h"
#include "common/system_files.h"
#include "platform/kernel.h"
#include "ui/texts.h"
#include "ui/unhandled_error.h"

namespace skervo {
namespace {

constexpr std::string_view kFirstLibrary = "rasapi32.dll";
constexpr std::string_view kSecondLibrary = "rnaph.dll";

// Not inlined, so that the address it reports lies in the binding.
[[noreturn, gnu::noinline]] void Raise(const std::string& message) {
    EndWithUnhandledError({message, __builtin_return_address(0)});
}

std::string AnsiName(std::string_view baseName) {
    return std::string(baseName) + "A";
}

// From the system folder alone: a library of the same name beside the
// program or the script must never run.
bool LoadLibraryNamed(std::string_view name) {
    runState.Ras.library = platform::LoadLibraryA(SystemFilePath(name));
    return !platform::IsNull(runState.Ras.library);
}

// The first lookup: rasapi32.dll with the suffix, else rnaph.dll without it.
// The first library stays loaded when the second is taken.
RasLookup ChooseLibrary(std::string_view baseName) {
    if (!LoadLibraryNamed(kFirstLibrary)) {
        return {{}, RasMissing::FirstLibrary};
    }
    platform::ProcAddress function =
        platform::GetProcAddress(runState.Ras.library, AnsiName(baseName));
    if (!platform::IsNull(function)) {
        runState.Ras.bound = true;
        return {function, RasMissing::Nothing};
    }
    if (!LoadLibraryNamed(kSecondLibrary)) {
        return {{}, RasMissing::SecondLibrary};
    }
    function = platform::GetProcAddress(runState.Ras.library, std::string(baseName));
    if (platform::IsNull(function)) {
        return {{}, RasMissing::Function};
    }
    runState.Ras.bound = true;
    runState.Ras.secondLibrary = true;
    return {function, RasMissing::Nothing};
}

}  // namespace

RasLookup LookUpRasFunction(std::string_view baseName) {
    if (!runState.Ras.bound) {
        return ChooseLibrary(baseName);
    }
    const std::string name =
        runState.Ras.secondLibrary ? std::string(baseName) : AnsiName(baseName);
    const platform::ProcAddress function = platform::GetProcAddress(runState.Ras.library, name);
    if (platform::IsNull(function)) {
        return {{}, RasMissing::Function};
    }
    return {function, RasMissing::Nothing};
}

platform::ProcAddress BindRasFunction(std::string_view baseName) {
    const RasLookup lookup = LookUpRasFunction(baseName);
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
