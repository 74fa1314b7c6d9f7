#include "programs/closing_name.h"

#include "common/text_rules.h"

namespace skervo {

std::string_view ClosingName(std::string_view name) {
    if (!name.ends_with('"')) {
        return name;
    }
    return Trim(name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view{});
}

}  // namespace skervo
