#include "script/utf8_check.h"

namespace skervo {

void Utf8Check::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (!valid_) {
            return;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (continuations_ > 0) {
            valid_ = byte >= low_ && byte <= high_;
            --continuations_;
            low_ = 0x80;
            high_ = 0xBF;
        } else if (byte >= 0x80) {
            beyondAscii_ = true;
            continuations_ = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
            low_ = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
            high_ = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
            valid_ = byte >= 0xC2 && byte <= 0xF4;
        }
    }
}

}  // namespace skervo
