#include "programs/program_choice.h"

#include "common/text_rules.h"
#include "programs/command_split.h"

namespace skervo {
namespace {

NoProgram WhyNotAProgram(const std::string& path, const FileTest& fileExists) {
    if (path.empty() || NamesStream(path)) {
        return NoProgram::NotFound;
    }
    if (!IsFullPath(path)) {
        return NoProgram::NoFullPath;
    }
    if (fileExists && !fileExists(path)) {
        return NoProgram::NotFound;
    }
    return IsProgramPath(path) ? NoProgram::None : NoProgram::NotAProgram;
}

}  // namespace

ProgramChoice ChooseProgram(std::string_view text, const FileTest& fileExists) {
    const std::string whole(text);
    const bool wholeIsFile =
        fileExists && !text.starts_with('"') && !whole.empty() && fileExists(whole);
    const CommandSplit split = wholeIsFile ? CommandSplit{whole, ""} : SplitCommandLine(text);
    ProgramChoice choice{split.program, "", split.arguments,
                         WhyNotAProgram(split.program, fileExists)};
    if (choice.why == NoProgram::None) {
        choice.program = split.program;
    }
    return choice;
}

}  // namespace skervo
