#include "programs/default_action.h"

namespace skervo {

// Not built yet: no document is opened, so the line falls through to the error box.
bool RunDefaultAction(std::string_view /*path*/, platform::WindowHandle /*owner*/) {
    return false;
}

}  // namespace skervo
