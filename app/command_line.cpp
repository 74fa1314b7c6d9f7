#include "app/command_line.h"

#include "common/run_state.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

bool IsSeparator(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Skips separators and the empty quoted pairs that stand where a parameter would begin.
std::size_t SkipToParameter(std::string_view text, std::size_t pos) {
    for (;;) {
        while (pos < text.size() && IsSeparator(text[pos])) {
            ++pos;
        }
        if (text.substr(pos, 2) != "\"\"") {
            return pos;
        }
        pos += 2;
    }
}

}  // namespace

// Bytes are stepped one by one: in double-byte code pages trail bytes are
// never a quote or a separator, so no double-byte character is ever split.
std::vector<std::string> SplitParameters(std::string_view commandLine) {
    std::vector<std::string> parameters;
    std::size_t pos = SkipToParameter(commandLine, 0);
    for (;;) {
        std::string parameter;
        bool quoted = false;
        for (; pos < commandLine.size(); ++pos) {
            const char c = commandLine[pos];
            if (!quoted && IsSeparator(c)) {
                break;
            }
            if (c == '"') {
                quoted = !quoted;
            } else {
                parameter += c;
            }
        }
        if (parameter.empty()) {
            return parameters;
        }
        parameters.push_back(std::move(parameter));
        pos = SkipToParameter(commandLine, pos);
    }
}

void LoadParameters() {
    runState.Parameters = SplitParameters(platform::GetCommandLineA());
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
        const std::string& parameter = runState.Parameters[index];
        if (parameter[0] != '-' && parameter[0] != '/') {
            continue;
        }
        if (platform::CompareStringA(platform::kLocaleUserDefault, platform::kNormIgnoreCase,
                                     parameter.substr(1),
                                     std::string(word)) == platform::kCompareEqual) {
            return true;
        }
    }
    return false;
}

}  // namespace skervo
