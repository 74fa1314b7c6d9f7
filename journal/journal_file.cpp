#include "journal/journal_file.h"

#include <mutex>
#include <optional>

#include "common/stopwatch.h"
#include "common/windows_family.h"

namespace skervo {
namespace {

// One byte far past any journal's end: locking it keeps the others' writes
// waiting without blocking reads of the journal. Below 4 GiB, which every
// file system can lock.
constexpr std::uint64_t kLockOffset = 0xFFFFFFFE;
constexpr std::uint64_t kLockLength = 1;
// Wine, and some network file systems, interleave appends unless each is
// locked. A lock that another run keeps too long is given up on, for the
// rest of the run: an entry written unlocked is better than a run held up.
constexpr std::int64_t kLockWaitMilliseconds = 2000;
constexpr std::uint32_t kLockRetryMilliseconds = 10;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// Written here, since the first Windows 95 has no UTF-8 conversion. A
// surrogate without its other half becomes U+FFFD.
std::string AsUtf8(std::wstring_view wide) {
    std::string bytes;
    bytes.reserve(wide.size() * 3);
    for (std::size_t at = 0; at < wide.size(); ++at) {
        std::uint32_t code = static_cast<std::uint16_t>(wide[at]);
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        const std::uint32_t next =
            at + 1 < wide.size() ? static_cast<std::uint16_t>(wide[at + 1]) : 0;
        if (high && next >= 0xDC00 && next <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
            ++at;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        const int continuations = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        constexpr unsigned char kLeads[] = {0x00, 0xC0, 0xE0, 0xF0};
        bytes += static_cast<char>(kLeads[continuations] | (code >> (6 * continuations)));
        for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
            bytes += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
        }
    }
    return bytes;
}

std::string AsUtf16(std::wstring_view wide) {
    std::string bytes;
    bytes.reserve(wide.size() * 2);
    for (const wchar_t unit : wide) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
}

}  // namespace

// Others append at the same time, and may read the journal meanwhile. On
// NT, the right to append without the right to write makes every write land
// at the end, even one another run's lock did not protect; reading tells a
// journal begun in UTF-16. Under its own name, a link to a missing file is
// there all the same: creating fails, and so does opening.
bool JournalFile::Open(const std::string& path, Creation creation) {
    const std::uint32_t access = platform::kGenericRead | (IsWindowsNT() ? platform::kFileAppendData
                                                                         : platform::kGenericWrite);
    const auto open = [&](std::uint32_t disposition) {
        file_.Reset(platform::CreateFileA(
            path, access, platform::kFileShareRead | platform::kFileShareWrite, disposition));
        error_ = file_ ? 0 : platform::GetLastError();
        return IsOpen();
    };
    if (creation == Creation::WhereThePathLeads) {
        return open(platform::kOpenAlways);
    }
    return open(platform::kOpenExisting) ||
           (error_ == platform::kErrorFileNotFound &&
            (open(platform::kCreateNew) ||
             (error_ == platform::kErrorFileExists && open(platform::kOpenExisting))));
}

// Timed by the clock: on a share, each attempt takes time of its own.
bool JournalFile::LockForEntry() {
    Stopwatch waited;
    for (;;) {
        if (platform::LockFile(file_.Get(), kLockOffset, kLockLength)) {
            return true;
        }
        // A system or file system that cannot lock at all gets no lock.
        if (platform::GetLastError() != platform::kErrorLockViolation || lockGivenUp_) {
            return false;
        }
        if (waited.Elapsed() >= kLockWaitMilliseconds) {
            lockGivenUp_ = true;
            return false;
        }
        platform::Sleep(kLockRetryMilliseconds);
    }
}

// Read once, under the lock, from the file's first bytes.
JournalFile::Encoding JournalFile::EncodingOfExistingFile() {
    char start[2] = {};
    std::uint32_t read = 0;
    const bool utf16 = platform::SetFilePointer(file_.Get(), 0, platform::kFileBegin) &&
                       platform::ReadFile(file_.Get(), start, sizeof start, read) &&
                       std::string_view(start, read) == kUtf16Mark;
    return utf16 ? Encoding::Utf16 : Encoding::Utf8;
}

// Text that the system cannot convert goes as it is.
std::string JournalFile::Encoded(std::string_view text) const {
    const std::optional<std::wstring> wide =
        platform::MultiByteToWideChar(platform::kCpAcp, 0, text);
    if (!wide) {
        return std::string(text);
    }
    return encoding_ == Encoding::Utf16 ? AsUtf16(*wide) : AsUtf8(*wide);
}

bool JournalFile::Append(std::string_view text) {
    if (!file_) {
        return false;
    }
    const std::lock_guard threads(threads_);
    const bool locked = LockForEntry();
    std::optional<std::uint64_t> end = platform::SetFilePointer(file_.Get(), 0, platform::kFileEnd);
    if (end && encoding_ == Encoding::NotYetKnown) {
        encoding_ = *end == 0 ? Encoding::Utf8 : EncodingOfExistingFile();
        end = platform::SetFilePointer(file_.Get(), 0, platform::kFileEnd);
    }
    bool written = false;
    if (end) {
        const std::string_view mark = encoding_ == Encoding::Utf16 ? kUtf16Mark : kUtf8Mark;
        written = platform::WriteFile(
            file_.Get(), (*end == 0 ? std::string(mark) : std::string()) + Encoded(text));
    }
    if (locked) {
        platform::UnlockFile(file_.Get(), kLockOffset, kLockLength);
    }
    return written;
}

}  // namespace skervo
