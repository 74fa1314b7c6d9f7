#pragma once
// Reads a script file whole, then hands it out line by line: lines end at LF
// or CR LF, a lone CR is dropped, and a Ctrl-Z ends the file. Lines come in
// the ANSI code page, also from a script saved in UTF-8.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace skervo {

// Opens a file to read it, others reading it meanwhile but not changing it;
// by its UTF-16 path when one is given (the ANSI one lost characters).
platform::KernelHandle OpenForReading(const std::string& path, const std::wstring& widePath);

class ScriptReader {
  public:
    ScriptReader() = default;

    // Whether the file may be read, asked once it is open and before a byte
    // of it is read: no other program may write it meanwhile.
    using ReadPermission = std::function<bool(platform::KernelHandle file)>;

    // Reads the whole file and closes it at once: the script can then be
    // replaced or deleted while the run goes on, which carries out the script
    // as it was now. A file that cannot be opened, or may not be read, reads
    // as already at its end. The file is opened by its wide path when one is
    // given.
    void Open(const std::string& path, const std::wstring& widePath = {},
              const ReadPermission& mayRead = {});
    // Takes a script's bytes already in memory, as Open reads them.
    void Take(std::string bytes);
    // Whether the file could be opened and read.
    bool Opened() const { return opened_; }
    // Why it could not: the system's error code.
    std::uint32_t OpenError() const { return openError_; }
    // No character left, or the next one is Ctrl-Z.
    bool AtEnd() const;
    // The next line, its line end consumed.
    std::string ReadLine();

    // Whether the script is UTF-8 beyond ASCII (its lines then come in the
    // ANSI code page, converted unless that code page is UTF-8 itself).
    bool IsUtf8() const { return utf8_; }
    // Once at the end: whether anything but blanks and control characters
    // follows the Ctrl-Z that ended the script.
    bool HasTextAfterEnd() const;
    // The file's bytes as read, for what the lines smooth over.
    std::string_view Bytes() const { return text_; }

  private:
    bool ReadWholeFile(const std::string& path, const std::wstring& widePath,
                       const ReadPermission& mayRead);

    std::string text_;
    std::size_t position_ = 0;
    bool opened_ = false;
    std::uint32_t openError_ = 0;
    bool utf8_ = false;
    bool convertUtf8_ = false;  // a UTF-8 script, and an ANSI code page that is not
};

}  // namespace skervo
