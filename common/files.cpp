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
    const std::uint32_t attributes = platform::GetFileAttributesA(path);
    if (attributes == platform::kInvalidFileAttributes) {
        return false;
    }
    if ((attributes & platform::kFileAttributeDirectory) != 0) {
        return true;
    }
    const std::string_view name = FileNameOf(path);
    return name.find('.') != std::string_view::npos && !IsProgramPath(name);
}

std::string NormalisedPath(const std::string& path) {
    return UpperCase(platform::GetShortPathNameA(path));
}

std::string QuotedWhenFile(std::string_view text) {
    std::string command(text);
    if (!command.empty() && command[0] != '"' && FileExists(command)) {
        command = "\"" + command + "\"";
    }
    return command;
}

}  // namespace skervo
