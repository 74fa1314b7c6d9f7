#pragma once
// The language server's stream: messages framed by a Content-Length header,
// read from any source of bytes, so that a test or a fuzzer can play the
// editor.
#include <cstddef>
#include <string>
#include <string_view>

namespace skervo {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to size bytes; 0 once the stream has ended.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Larger bodies are refused: no editor sends a script of that size.
inline constexpr std::size_t kLargestMessage = 64 * 1024 * 1024;

enum class Framing {
    Message,   // a body was read
    NoLength,  // a header without a usable Content-Length: skipped, up to the next one
    TooLarge,  // a body over kLargestMessage: skipped whole
    End,       // the stream ended
};

class MessageReader {
  public:
    explicit MessageReader(ByteSource& source) : source_(source) {}
    // The next body. After NoLength or TooLarge the reader goes on from
    // the next header it finds.
    Framing Next(std::string& body);

  private:
    bool Fill();
    bool SkipToNextHeader();
    bool SkipBody();

    ByteSource& source_;
    std::string buffer_;
    std::size_t at_ = 0;    // the first byte not yet taken
    std::size_t skip_ = 0;  // bytes of a refused body still to pass over
    bool resync_ = false;   // looking for the next header
};

// A body with its header, as written to the editor.
std::string Framed(std::string_view body);

}  // namespace skervo
