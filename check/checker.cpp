#include "check/checker.h"

#include <algorithm>

#include "app/switches.h"
#include "check/check_texts.h"
#include "check/language_server.h"
#include "check/report.h"
#include "check/standard_output.h"
#include "check/wildcards.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

// No file given, a file that cannot be read, a pattern that names none, or
// a report that could not be written: the check did not take place.
constexpr int kNotCheckedExitCode = 2;

}  // namespace

int RunChecker(const std::vector<ScriptFile>& parameters, Machine* machine) {
    // Probing A:\ or an empty card reader fails quietly, instead of asking
    // the user for a disk.
    platform::SetErrorMode(platform::kSemFailCriticalErrors);
    CheckOptions options;
    bool syntaxOnly = false;
    bool network = false;
    bool languageServer = false;
    std::vector<const ScriptFile*> named;
    for (const ScriptFile& parameter : parameters) {
        if (IsSwitch(parameter.path, "Expliquer")) {
            options.explanations = Explanations::Given;
        } else if (IsSwitch(parameter.path, "Syntaxe")) {
            syntaxOnly = true;
        } else if (IsSwitch(parameter.path, "Reseau")) {
            network = true;
        } else if (IsSwitch(parameter.path, "Lsp")) {
            languageServer = true;
        } else {
            named.push_back(&parameter);
        }
    }
    if (network && !syntaxOnly && machine) {
        machine->AllowNetworkProbes();
    }
    options.machine = syntaxOnly ? nullptr : machine;
    if (languageServer) {
        return RunLanguageServer(options.machine);
    }
    if (named.empty()) {
        WriteStandardOutput(check_texts::kUsage);
        return kNotCheckedExitCode;
    }
    int exitCode = 0;
    bool written = true;
    for (const ScriptFile* parameter : named) {
        const std::vector<ScriptFile> files =
            HasWildcards(*parameter) ? ExpandWildcards(*parameter) : std::vector{*parameter};
        if (files.empty()) {
            written &= WriteStandardOutput(NoMatchReport(parameter->path));
            exitCode = kNotCheckedExitCode;
        }
        for (const ScriptFile& file : files) {
            const ScriptCheck check = CheckScript(file, options);
            written &= WriteStandardOutput(Report(file.path, check));
            exitCode = std::max(exitCode, ExitCodeOf(check));
        }
    }
    return written ? exitCode : kNotCheckedExitCode;
}

}  // namespace skervo
