#include "common/files.h"

#include "platform/kernel.h"

namespace skervo {

bool FileExists(const std::string& path) {
    const std::uint32_t attributes = platform::GetFileAttributesA(path);
    return attributes != platform::kInvalidFileAttributes &&
           (attributes & platform::kFileAttributeDirectory) == 0;
}

}  // namespace skervo
