// skervo-check's entry on a POSIX system, for scripts kept in a repository:
// the text alone is checked, since no Windows machine is there to ask.
// Arguments are UTF-8; each file is opened by its own name and shown in the
// ANSI code page the checker writes in.
#include <optional>
#include <string>
#include <vector>

#include "check/checker.h"
#include "platform/kernel.h"

int main(int argc, char** argv) {
    using namespace skervo;
    std::vector<ScriptFile> parameters;
    for (int index = 1; index < argc; ++index) {
        // A name that is not UTF-8 is opened by its bytes as they are.
        const std::optional<std::wstring> wide =
            platform::MultiByteToWideChar(platform::kCpUtf8, 0, argv[index]);
        parameters.push_back(
            wide ? ScriptFile{*platform::WideCharToMultiByte(platform::kCpAcp, 0, *wide), *wide}
                 : ScriptFile{argv[index], {}});
    }
    return RunChecker(parameters, nullptr);
}
