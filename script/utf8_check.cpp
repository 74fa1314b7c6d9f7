#include "script/utf8_check.h"

#include <cstdint>
#include <cstring>

namespace skervo {
namespace {

// Runs of ASCII, most of any script, are passed over eight bytes at a time.
std::size_t SkipAscii(std::string_view bytes, std::size_t i) {
    for (std::uint64_t eight = 0; i + 8 <= bytes.size(); i += 8) {
        std::memcpy(&eight, bytes.data() + i, 8);
        if ((eight & 0x8080808080808080u) != 0) {
            break;
        }
    }
    return i;
}

}  // namespace

// The state is kept in locals while the bytes are walked: the compiler could
// not otherwise keep it in registers, since the bytes might alias it.
void Utf8Check::Feed(std::string_view bytes) {
    bool valid = valid_;
    bool beyondAscii = beyondAscii_;
    int continuations = continuations_;
    unsigned char low = low_;
    unsigned char high = high_;
    for (std::size_t i = 0; valid && i < bytes.size(); ++i) {
        if (continuations == 0 && (i = SkipAscii(bytes, i)) == bytes.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (continuations > 0) {
            valid = byte >= low && byte <= high;
            --continuations;
            low = 0x80;
            high = 0xBF;
        } else if (byte >= 0x80) {
            beyondAscii = true;
            continuations = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
            low = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
            high = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
            valid = byte >= 0xC2 && byte <= 0xF4;
        }
    }
    valid_ = valid;
    beyondAscii_ = beyondAscii;
    continuations_ = continuations;
    low_ = low;
    high_ = high;
}

}  // namespace skervo
