// skervo-check's entry as a Windows console program. Each file is named to
// the checker in the ANSI code page, and also by its UTF-16 path when that
// code page cannot hold it, as skervo.exe opens its script.
#include <string>
#include <vector>

#include "app/parameter_split.h"
#include "check/checker.h"
#include "check/system_machine.h"
#include "common/ansi_text.h"
#include "common/system_files.h"
#include "platform/kernel.h"

int main() {
    using namespace skervo;
    RestrictSearchPaths();
    const std::wstring commandLine = platform::GetCommandLineW();
    std::vector<std::wstring> words = SplitParameters(std::wstring_view(commandLine));
    std::vector<ScriptFile> parameters;
    for (std::size_t index = 1; index < words.size(); ++index) {
        const bool exact = IsExactInAnsi(words[index]);
        parameters.push_back({WideToAnsi(words[index]).value_or(std::string()),
                              exact ? std::wstring() : words[index]});
    }
    SystemMachine machine;
    return RunChecker(parameters, &machine);
}
