#include "common/files.h"

#include "common/text_rules.h"
#include "platform/kernel.h"

namespace skervo {

bool FileExists(const std::string& path) {
    const std::uint32_t attributes = platform::GetFileAttributesA(path);
    return attributes != platform::kInvalidFileAttributes &&
           (attributes & platform::kFileAttributeDirectory) == 0;
}

bool NamesDocumentOrFolder(const std::string& path) {
    if (NamesStream(path)) {
        return false;
    }
    const std::uint32_t attributes = platform::GetFileAttributesA(path);
    if (attributes == platform::kInvalidFileAttributes) {
        return false;
    }
    return (attributes & platform::kFileAttributeDirectory) != 0 || !IsProgramPath(path);
}

std::string NormalisedPath(const std::string& path) {
    return UpperCase(platform::GetShortPathNameA(path));
}

}  // namespace skervo
