#include "tests/sim/desktop.h"

namespace sim {

Desktop desktop;

Window* Desktop::FindWindow(const std::string& className) {
    for (auto& [handle, window] : windows) {
        if (window.className == className && window.alive) {
            return &window;
        }
    }
    return nullptr;
}

// What the user does with the close cross: a close request to the window.
void Desktop::CloseWindowAfter(std::uint64_t milliseconds, const std::string& className) {
    scheduled.emplace(milliseconds, [this, className] {
        for (auto& [handle, window] : windows) {
            if (window.className == className && window.alive) {
                queue.push_back(
                    {skervo::platform::WindowHandle{handle}, skervo::platform::kWmClose});
            }
        }
    });
}

}  // namespace sim
