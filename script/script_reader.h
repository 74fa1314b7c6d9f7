#pragma once
// Reads a script file line by line: lines end at LF or CR LF, a lone CR is
// dropped, and a Ctrl-Z ends the file. Lines come in the ANSI code page, also
// from a script saved in UTF-8.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/kernel.h"

namespace skervo {

class ScriptReader {
  public:
    ScriptReader() = default;

    // A file that cannot be opened reads as already at its end. The file is
    // opened by its wide path when one is given.
    void Open(const std::string& path, const std::wstring& widePath = {});
    // No character left, or the next one is Ctrl-Z.
    bool AtEnd();
    // The next line, its line end consumed.
    std::string ReadLine();
    void Close();

    bool IsOpen() const { return static_cast<bool>(file_); }
    // Whether the script is UTF-8 beyond ASCII (its lines then come in the
    // ANSI code page, converted unless that code page is UTF-8 itself).
    bool IsUtf8() const { return utf8_; }
    // Once at the end: whether anything but blanks and control characters
    // follows the Ctrl-Z that ended the script. Reads the rest of the file.
    bool HasTextAfterEnd();

  private:
    bool FillBuffer();
    bool NextIs(char c);
    void SkipByteOrderMark();
    void ChooseEncoding();

    platform::OwnedHandle file_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool utf8_ = false;
    bool convertUtf8_ = false;  // a UTF-8 script, and an ANSI code page that is not
};

}  // namespace skervo
