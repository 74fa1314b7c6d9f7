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
};

using Findings = std::vector<Finding>;

// One line as the runner sees it: trimmed, neither empty nor a comment.
struct CheckedLine {
    int number = 0;
    std::string_view text;
    RecognisedLine recognised;
    bool lastLine = false;  // nothing follows it in the file, as the runner tests it
};

}  // namespace skervo
