#include "check/wildcards.h"

#include <algorithm>
#include <string>

#include "common/text_rules.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

// A command line may also separate folders with slashes, which are never
// the second byte of a double-byte character.
std::string_view FolderTyped(std::string_view pattern) {
    const std::size_t slash = pattern.rfind('/');
    return pattern.substr(
        0, std::max(FolderOf(pattern).size(), slash == std::string_view::npos ? 0 : slash + 1));
}

// A question mark cannot stand in a file name: a name found with one lost
// characters to the ANSI code page, and its short form names the file.
const std::string& NameToOpen(const platform::FindData& found) {
    const bool lost = found.fileName.find('?') != std::string::npos;
    return lost && !found.alternateFileName.empty() ? found.alternateFileName : found.fileName;
}

}  // namespace

// The UTF-16 form, when the ANSI one lost characters: a question mark there
// may be one of them.
bool HasWildcards(const ScriptFile& parameter) {
    return parameter.widePath.empty()
               ? parameter.path.find_first_of("*?") != std::string::npos
               : parameter.widePath.find_first_of(L"*?") != std::wstring::npos;
}

std::vector<ScriptFile> ExpandWildcards(const ScriptFile& pattern) {
    const std::string folder(FolderTyped(pattern.path));
    std::vector<ScriptFile> files;
    for (const platform::FindData& found : platform::FindFilesA(pattern.path)) {
        if ((found.attributes & platform::kFileAttributeDirectory) == 0) {
            files.push_back({folder + NameToOpen(found), {}});
        }
    }
    return files;
}

}  // namespace skervo
