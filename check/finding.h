#pragma once
// What the checker finds in a script, and the line it is about.
#include <string>
#include <string_view>
#include <vector>

#include "script/line_recognition.h"

namespace skervo {

enum class Severity { Error, Warning, Remark };

struct Finding {
    int line = 0;
    Severity severity = Severity::Error;
    std::string message;    // Windows-1252
    std::string_view code;  // fixed, for scripts that filter on it
    // The fault within the line as the runner reads it, in bytes of the
    // ANSI code page; the whole line when length is 0.
    std::size_t column = 0;
    std::size_t length = 0;
};

using Findings = std::vector<Finding>;

// One line as the runner sees it: trimmed, neither empty nor a comment.
struct CheckedLine {
    int number = 0;
    std::string_view text;
    RecognisedLine recognised;
    bool lastLine = false;   // nothing follows it in the file, as the runner tests it
    std::size_t indent = 0;  // where text begins in the line as read
};

// A finding about part of a line: part is a piece of line.text, or text
// equal to its first such piece; the whole line when it is neither.
Finding FindingAt(const CheckedLine& line, std::string_view part, Severity severity,
                  std::string_view code, std::string message);

}  // namespace skervo
