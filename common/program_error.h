#pragma once
// The program's own error type. Only the binding of the remote-access
// functions raises it. Nothing in the program could handle it, so raising it
// hands it at once to the top-level handler, which ends the program.
#include <string>
#include <string_view>

namespace skervo {

struct ProgramError {
    // The name the top-level handler shows for this type.
    static constexpr std::string_view kTypeName = "ProgramError";

    std::string message;
    // Where in the program the error was raised.
    const void* codeAddress = nullptr;
};

}  // namespace skervo
