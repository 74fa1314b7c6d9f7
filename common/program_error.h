#pragma once
// The program's own error type. Only the binding of the remote-access
// functions raises it, and nothing in the run catches it: it ends the
// program through the top-level handler.
#include <stdexcept>
#include <string>
#include <string_view>

namespace skervo {

class ProgramError : public std::runtime_error {
  public:
    // The name the top-level handler shows for this type.
    static constexpr std::string_view kTypeName = "ProgramError";

    ProgramError(const std::string& message, const void* codeAddress)
        : std::runtime_error(message), codeAddress_(codeAddress) {}

    // Where in the program the error was raised.
    const void* CodeAddress() const { return codeAddress_; }

  private:
    const void* codeAddress_;
};

}  // namespace skervo
