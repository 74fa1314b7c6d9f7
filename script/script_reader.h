#pragma once
// Reads a script file line by line: lines end at LF or CR LF, a lone CR is
// dropped, and a Ctrl-Z ends the file.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/types.h"

namespace skervo {

class ScriptReader {
  public:
    ScriptReader() = default;
    ScriptReader(const ScriptReader&) = delete;
    ScriptReader& operator=(const ScriptReader&) = delete;
    ~ScriptReader() { Close(); }

    // A file that cannot be opened reads as already at its end.
    void Open(const std::string& path);
    // No character left, or the next one is Ctrl-Z.
    bool AtEnd();
    // The next line, its line end consumed.
    std::string ReadLine();
    void Close();

  private:
    bool FillBuffer();
    bool NextIs(char c);

    platform::KernelHandle file_ = platform::kInvalidHandle;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
};

}  // namespace skervo
