#pragma once
// A file that several runs, on one computer or many, append entries to at
// once: each entry is written whole, in one write, under a lock.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/kernel.h"

namespace skervo {

class JournalFile {
  public:
    // Where a missing journal is created: wherever its path leads, or only
    // under its own name, never at the end of a link to a file elsewhere.
    enum class Creation { WhereThePathLeads, UnderItsOwnName };

    // Opens the file, created when missing; false when it cannot be written
    // (a missing folder, no rights, a folder), with the system's error kept.
    bool Open(const std::string& path, Creation creation = Creation::WhereThePathLeads);
    void Close() { file_.Reset(); }
    bool IsOpen() const { return static_cast<bool>(file_); }
    platform::KernelHandle Handle() const { return file_.Get(); }
    std::uint32_t Error() const { return error_; }

    // Appends text of the ANSI code page, line ends included. A new file
    // begins with the UTF-8 byte-order mark; one that someone began in
    // UTF-16 goes on in UTF-16. False when the system refused the write.
    bool Append(std::string_view text);

  private:
    enum class Encoding { NotYetKnown, Utf8, Utf16 };

    bool LockForEntry();
    Encoding EncodingOfExistingFile();
    std::string Encoded(std::string_view text) const;

    platform::OwnedHandle file_;
    std::uint32_t error_ = 0;
    Encoding encoding_ = Encoding::NotYetKnown;
    bool lockGivenUp_ = false;  // after one wait for it that lasted too long
    // A dial's notification thread may write while the run does.
    platform::CriticalSection threads_;
};

}  // namespace skervo
