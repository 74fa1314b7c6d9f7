#include "dialup/ras_error_text.h"

#include "dialup/ras_functions.h"

namespace skervo {
namespace {

constexpr std::uint32_t kErrorTextCharacters = 100;

}  // namespace

std::optional<std::string> RasErrorText(std::uint32_t error) {
    std::string text;
    if (RasGetErrorString(error, text, kErrorTextCharacters) != 0) {
        return std::nullopt;
    }
    return text;
}

}  // namespace skervo
