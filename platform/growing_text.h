#pragma once
// Text of unknown length from a call that writes into the caller's buffer:
// asked for again, in twice the room, for as long as it does not fit.
#include <cstddef>
#include <optional>
#include <string>

namespace skervo::platform {

// fill(buffer, size) writes into the buffer and answers the text's length,
// or nothing when the buffer was too small. The first buffer holds a path of
// the classic length.
template <typename Char = char, typename Fill>
std::basic_string<Char> FillGrowing(Fill fill) {
    for (std::size_t size = 260;; size *= 2) {
        std::basic_string<Char> text(size, Char{});
        if (const std::optional<std::size_t> length = fill(text.data(), size)) {
            text.resize(*length);
            return text;
        }
    }
}

}  // namespace skervo::platform
