#pragma once
// Finds the running processes of an executable file in the user's session,
// through whichever process listing the system offers.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace skervo {

// A process found, held open while the action runs: its id cannot go to
// another process meanwhile.
struct MatchedProcess {
    std::uint32_t id = 0;
    // Open with the access the action asked for; null when the system refused
    // it, and refusal is the error code that says why.
    platform::KernelHandle handle{};
    std::uint32_t refusal = 0;
};

// Calls action with every running process of the target file (a normalised
// path: NormalisedPath of common/files.h) that runs in the program's own
// session. Another session is another user's desktop, or another
// administrator's.
void ForEachProcessOfFile(const std::string& target, std::uint32_t actionAccess,
                          const std::function<void(const MatchedProcess&)>& action);

}  // namespace skervo
