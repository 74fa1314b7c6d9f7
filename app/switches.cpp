#include "app/switches.h"

#include <string>

#include "platform/kernel.h"

namespace skervo {

bool IsSwitch(std::string_view parameter, std::string_view word) {
    if (!parameter.starts_with('-') && !parameter.starts_with('/')) {
        return false;
    }
    return platform::CompareStringA(platform::kLocaleUserDefault, platform::kNormIgnoreCase,
                                    std::string(parameter.substr(1)),
                                    std::string(word)) == platform::kCompareEqual;
}

}  // namespace skervo
