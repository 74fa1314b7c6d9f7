#include "app/file_association.h"

#include <array>

#include "app/program_folder.h"
#include "common/run_state.h"
#include "platform/registry.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr char kExtensionKey[] = ".skervo";
constexpr char kFileClass[] = "skervo_file";
constexpr char kOpenCommandKey[] = "skervo_file\\shell\\open\\command";
constexpr char kDefaultIconKey[] = "skervo_file\\DefaultIcon";
// FTA_AlwaysUnsafe.
constexpr std::uint32_t kEditFlagsAlwaysUnsafe = 0x00020000;

// Subkeys before their parents: some systems refuse to delete a key that
// still has subkeys.
constexpr std::array<const char*, 6> kKeysInDeletionOrder = {
    kExtensionKey,        kOpenCommandKey, "skervo_file\\shell\\open",
    "skervo_file\\shell", kDefaultIconKey, kFileClass};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The program's own file, as the system reported it for the running module.
const std::string& ProgramPath() {
    return runState.Parameters[0];
}

void Show(Telling telling, void (*box)(std::string_view), std::string_view text) {
    if (telling == Telling::InABox) {
        box(text);
    }
}

}  // namespace

// The key is opened for what is written, and nothing more.
bool WriteClassesValue(const std::string& keyPath, const std::string& valueName, std::uint32_t type,
                       const std::string& data, std::uint32_t byteCount) {
    platform::OwnedKey key;
    return platform::RegCreateKeyExA(platform::kHkeyClassesRoot, keyPath,
                                     platform::kRegOptionNonVolatile, platform::kKeySetValue,
                                     key.Receive()) == platform::kErrorSuccess &&
           platform::RegSetValueExA(key.Get(), valueName, type, data, byteCount) ==
               platform::kErrorSuccess;
}

bool WriteClassesValue(const std::string& keyPath, const std::string& data) {
    // The byte count includes the terminating zero.
    return WriteClassesValue(keyPath, "", platform::kRegSz, data,
                             static_cast<std::uint32_t>(data.size() + 1));
}

bool WriteClassesNumber(const std::string& keyPath, const std::string& valueName,
                        std::uint32_t number) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((number >> shift) & 0xFF);
    }
    return WriteClassesValue(keyPath, valueName, platform::kRegDword, bytes, 4);
}

// Each value only when all before it were written; what was written before
// a failure stays. Run as administrator, /Register makes every double-click
// on the PC run this program, with whoever's rights: a program that others
// may replace, or whose security cannot be read, is never registered.
AssociationOutcome RegisterFileType(Telling telling) {
    if (const TrustVerdict verdict = TrustOfProgram(ProgramPath());
        verdict.trust != Trust::OnlyTrusted) {
        Show(telling, ShowError,
             std::string(texts::kNotRegistered) + TrustReason(verdict) +
                 std::string(texts::kInstallWhereOnlyAdministratorsMayChange));
        return AssociationOutcome::Refused;
    }
    const std::string program = Quoted(ProgramPath());
    const bool registered =
        WriteClassesValue(kExtensionKey, kFileClass) &&
        WriteClassesValue(kOpenCommandKey, program + " " + Quoted("%1")) &&
        WriteClassesValue(kFileClass, std::string(texts::kFileTypeDescription)) &&
        // Always unsafe: the shell warns before it opens a downloaded script.
        WriteClassesNumber(kFileClass, "EditFlags", kEditFlagsAlwaysUnsafe) &&
        // Icon 1 is the document icon; 0 would be the program's own.
        WriteClassesValue(kDefaultIconKey, program + ",1");
    if (!registered) {
        Show(telling, ShowError, texts::kCannotRegister);
        return AssociationOutcome::RegistryRefused;
    }
    Show(telling, ShowNotice,
         std::string(texts::kRegisteredBeforePath) + ProgramPath() +
             std::string(texts::kRegisteredAfterPath));
    return AssociationOutcome::Done;
}

// Every deletion is tried, whatever became of the others.
AssociationOutcome UnregisterFileType(Telling telling) {
    bool allDeleted = true;
    bool anyRefused = false;
    for (const char* key : kKeysInDeletionOrder) {
        const std::int32_t result = platform::RegDeleteKeyA(platform::kHkeyClassesRoot, key);
        allDeleted &= result == platform::kErrorSuccess;
        anyRefused |= result != platform::kErrorSuccess && result != platform::kErrorKeyNotFound;
    }
    if (allDeleted) {
        Show(telling, ShowNotice, texts::kUnregistered);
    } else {
        Show(telling, ShowError, texts::kCannotUnregister);
    }
    return anyRefused ? AssociationOutcome::RegistryRefused : AssociationOutcome::Done;
}

}  // namespace skervo
