#pragma once
// Tells UTF-8 text from text in an 8-bit code page, over bytes that arrive
// in pieces.
#include <string_view>

namespace skervo {

class Utf8Check {
  public:
    void Feed(std::string_view bytes);
    // All the bytes fed so far are well-formed UTF-8, and some are not ASCII
    // (ASCII alone reads the same either way).
    bool IsUtf8BeyondAscii() const { return valid_ && continuations_ == 0 && beyondAscii_; }

  private:
    bool valid_ = true;
    bool beyondAscii_ = false;
    int continuations_ = 0;  // bytes still owed to the sequence under way
    // The range of the next continuation byte: narrower after some lead bytes,
    // so that overlong forms, surrogates and values beyond U+10FFFF are refused.
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
};

}  // namespace skervo
