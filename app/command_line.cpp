#include "app/command_line.h"

#include <optional>

#include "app/switches.h"
#include "common/ansi_text.h"
#include "common/run_state.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

// The system makes the 8-bit command line from the UTF-16 one with best
// fit, which may turn a character the code page lacks into a quote or a
// blank, and so into other words. When it is not exact, every parameter is
// taken from the UTF-16 words, and the script is opened by its UTF-16 path.
// nullopt when the 8-bit command line is exact, or a word cannot be converted.
std::optional<std::vector<std::string>> ParametersFromWideWords(
    const std::wstring& commandLine, const std::vector<std::wstring>& words) {
    if (IsExactInAnsi(commandLine)) {
        return std::nullopt;
    }
    std::vector<std::string> parameters;
    for (const std::wstring& word : words) {
        std::optional<std::string> parameter = WideToAnsi(word);
        if (!parameter) {
            return std::nullopt;
        }
        parameters.push_back(std::move(*parameter));
    }
    return parameters;
}

}  // namespace

void LoadParameters() {
    const std::wstring wideCommandLine = platform::GetCommandLineW();
    const std::vector<std::wstring> wideWords = SplitParameters(std::wstring_view(wideCommandLine));
    std::optional<std::vector<std::string>> fromWide =
        ParametersFromWideWords(wideCommandLine, wideWords);
    runState.ScriptWidePath = fromWide && wideWords.size() >= 2 ? wideWords[1] : std::wstring();
    runState.Parameters = fromWide ? std::move(*fromWide)
                                   : SplitParameters(std::string_view(platform::GetCommandLineA()));
    // The first word names the program as it was called; its full path replaces it.
    const std::string modulePath = platform::GetModuleFileNameA();
    if (runState.Parameters.empty()) {
        runState.Parameters.push_back(modulePath);
    } else {
        runState.Parameters[0] = modulePath;
    }
}

int ParameterCount() {
    return static_cast<int>(runState.Parameters.size()) - 1;
}

bool HasSwitch(std::string_view word) {
    for (int index = 1; index <= ParameterCount(); ++index) {
        if (IsSwitch(runState.Parameters[index], word)) {
            return true;
        }
    }
    return false;
}

}  // namespace skervo
