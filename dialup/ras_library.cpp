#include "dialup/ras_library.h"

#include <string>

#include "common/system_files.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

constexpr std::string_view kFirstLibrary = "rasapi32.dll";
constexpr std::string_view kSecondLibrary = "rnaph.dll";

std::string AnsiName(std::string_view baseName) {
    return std::string(baseName) + "A";
}

// From the system folder alone: a library of the same name beside the
// program or the script must never run.
bool LoadLibraryNamed(RasBinding& binding, std::string_view name) {
    binding.library = platform::LoadLibraryA(SystemFilePath(name));
    return !platform::IsNull(binding.library);
}

// The first lookup: rasapi32.dll with the suffix, else rnaph.dll without it.
// The first library stays loaded when the second is taken.
RasLookup ChooseLibrary(RasBinding& binding, std::string_view baseName) {
    if (!LoadLibraryNamed(binding, kFirstLibrary)) {
        return {{}, RasMissing::FirstLibrary};
    }
    platform::ProcAddress function = platform::GetProcAddress(binding.library, AnsiName(baseName));
    if (!platform::IsNull(function)) {
        binding.bound = true;
        return {function, RasMissing::Nothing};
    }
    if (!LoadLibraryNamed(binding, kSecondLibrary)) {
        return {{}, RasMissing::SecondLibrary};
    }
    function = platform::GetProcAddress(binding.library, std::string(baseName));
    if (platform::IsNull(function)) {
        return {{}, RasMissing::Function};
    }
    binding.bound = true;
    binding.secondLibrary = true;
    return {function, RasMissing::Nothing};
}

}  // namespace

RasLookup LookUpRasFunction(RasBinding& binding, std::string_view baseName) {
    if (!binding.bound) {
        return ChooseLibrary(binding, baseName);
    }
    const std::string name = binding.secondLibrary ? std::string(baseName) : AnsiName(baseName);
    const platform::ProcAddress function = platform::GetProcAddress(binding.library, name);
    if (platform::IsNull(function)) {
        return {{}, RasMissing::Function};
    }
    return {function, RasMissing::Nothing};
}

}  // namespace skervo
