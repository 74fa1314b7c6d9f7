#pragma once
// Which file a launch text starts. The system, given a command line alone,
// tries each word up to a blank as a program and adds .exe to a name without
// one, so a planted C:\Docs\Rapports.exe would run for the line
// C:\Docs\Rapports 2024\bilan.pdf, and a document that is a program in
// disguise would run as one. Skervo works the file out itself, and hands
// the system that file alone.
#include <functional>
#include <string>
#include <string_view>

namespace skervo {

// Why a launch text names no program.
enum class NoProgram {
    None,
    NotFound,     // nothing there, or a stream of a file
    NotAProgram,  // a folder, or a file without a program's extension
    NoFullPath,   // a bare or relative name, which the system would look for
};

struct ProgramChoice {
    std::string written;    // the program part as the text gives it, without its quotes
    std::string program;    // the file to start; empty when there is none
    std::string arguments;  // from the blank where the text was split, or empty
    NoProgram why = NoProgram::None;
};

// Whether a path names an existing file that is not a folder.
using FileTest = std::function<bool(const std::string& path)>;

// The whole text when it names an existing file (a path with blanks then
// needs no quotes), else its part up to the first blank outside the first
// quotes. That part is started only as it is written, with its folder from
// a drive's root or a share, and with a program's extension: .exe is never
// added, since the system adds it only to a name without a folder.
// Without fileExists the text alone decides, as the checker reads a script
// kept away from its machine: the whole text is never taken for a file, and
// the program part is taken to exist.
ProgramChoice ChooseProgram(std::string_view text, const FileTest& fileExists);

}  // namespace skervo
