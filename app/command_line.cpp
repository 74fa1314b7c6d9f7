#include "app/command_line.h"

#include "app/switches.h"
#include "common/run_state.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

template <typename Char>
bool IsSeparator(Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code >= 1 && code <= 32;
}

// Skips separators and the empty quoted pairs that stand where a parameter would begin.
template <typename Char>
std::size_t SkipToParameter(std::basic_string_view<Char> text, std::size_t pos) {
    for (;;) {
        while (pos < text.size() && IsSeparator(text[pos])) {
            ++pos;
        }
        if (pos + 1 >= text.size() || text[pos] != '"' || text[pos + 1] != '"') {
            return pos;
        }
        pos += 2;
    }
}

// A script path with characters outside the ANSI code page reaches the 8-bit
// command line with those characters lost: the script is then opened by the
// path that the UTF-16 command line gives.
void LoadWideScriptPath() {
    const std::wstring commandLine = platform::GetCommandLineW();
    const std::vector<std::wstring> wide = SplitParameters(std::wstring_view(commandLine));
    bool lossy = false;
    if (wide.size() >= 2) {
        platform::WideCharToMultiByte(platform::kCpAcp, wide[1], lossy);
    }
    runState.ScriptWidePath = lossy ? wide[1] : std::wstring();
}

}  // namespace

// Characters are stepped one by one: in double-byte code pages trail bytes
// are never a quote or a separator, so no double-byte character is split.
template <typename Char>
std::vector<std::basic_string<Char>> SplitParameters(std::basic_string_view<Char> commandLine) {
    std::vector<std::basic_string<Char>> parameters;
    std::size_t pos = SkipToParameter(commandLine, 0);
    for (;;) {
        std::basic_string<Char> parameter;
        bool quoted = false;
        for (; pos < commandLine.size(); ++pos) {
            const Char c = commandLine[pos];
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

template std::vector<std::string> SplitParameters(std::string_view);
template std::vector<std::wstring> SplitParameters(std::wstring_view);

void LoadParameters() {
    runState.Parameters = SplitParameters(std::string_view(platform::GetCommandLineA()));
    // The first word names the program as it was called; its full path replaces it.
    const std::string modulePath = platform::GetModuleFileNameA();
    if (runState.Parameters.empty()) {
        runState.Parameters.push_back(modulePath);
    } else {
        runState.Parameters[0] = modulePath;
    }
    LoadWideScriptPath();
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
