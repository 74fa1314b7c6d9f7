#include "journal/journal_rotation.h"

#include <optional>

#include "common/text_rules.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

// The journal set aside before is replaced in the same rename, which takes
// the name itself, never a file a link there leads to. Where the rename
// cannot replace (the 95 family), that journal is deleted first.
bool Renamed(const std::string& from, const std::string& to) {
    const platform::ProcAddress moveFileEx =
        platform::GetProcAddress(platform::GetModuleHandleA("kernel32.dll"), "MoveFileExA");
    if (!platform::IsNull(moveFileEx)) {
        if (platform::InvokeMoveFileExA(moveFileEx, from, to, platform::kMoveFileReplaceExisting)) {
            return true;
        }
        if (platform::GetLastError() != platform::kErrorCallNotImplemented) {
            return false;
        }
    }
    platform::DeleteFileA(to);
    return platform::MoveFileA(from, to);
}

}  // namespace

std::string SetAsideName(const std::string& path) {
    const std::size_t nameStart = path.size() - FileNameOf(path).size();
    const std::size_t dot = path.rfind('.');
    std::string name = path;
    if (dot == std::string::npos || dot <= nameStart) {
        name += ".1";
    } else {
        name.insert(dot, ".1");
    }
    return name;
}

// Other runs open the journal without sharing its deletion: while one
// holds it, the rename fails and every run goes on with it.
bool SetAsideWhenTooLarge(JournalFile& file, const std::string& path) {
    const std::optional<std::uint64_t> size =
        platform::SetFilePointer(file.Handle(), 0, platform::kFileEnd);
    if (!size || *size <= kLargestJournalBytes) {
        return false;
    }
    file.Close();
    Renamed(path, SetAsideName(path));
    return true;
}

}  // namespace skervo
