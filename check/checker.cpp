#include "check/checker.h"

#include <algorithm>

#include "app/switches.h"
#include "check/check_texts.h"
#include "check/report.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

constexpr int kUsageExitCode = 2;

}  // namespace

int RunChecker(const std::vector<ScriptFile>& parameters, Machine* machine) {
    CheckOptions options;
    std::vector<const ScriptFile*> files;
    for (const ScriptFile& parameter : parameters) {
        if (IsSwitch(parameter.path, "Expliquer")) {
            options.explanations = Explanations::Given;
        } else if (IsSwitch(parameter.path, "Syntaxe")) {
            machine = nullptr;
        } else {
            files.push_back(&parameter);
        }
    }
    if (files.empty()) {
        platform::WriteStandardOutput(check_texts::kUsage);
        return kUsageExitCode;
    }
    options.machine = machine;
    int exitCode = 0;
    for (const ScriptFile* file : files) {
        const ScriptCheck check = CheckScript(*file, options);
        platform::WriteStandardOutput(Report(file->path, check));
        exitCode = std::max(exitCode, ExitCodeOf(check));
    }
    return exitCode;
}

}  // namespace skervo
