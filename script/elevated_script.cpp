#include "script/elevated_script.h"

#include "common/final_path.h"
#include "common/run_state.h"
#include "common/trusted_files.h"
#include "platform/kernel.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

std::wstring FullPathAsked(const std::string& path) {
    if (!runState.ScriptWidePath.empty()) {
        return platform::GetFullPathNameW(runState.ScriptWidePath);
    }
    return FullPathInUtf16(path);
}

}  // namespace

// A link on the way is followed: both where the script was asked for and
// where it is must be the trusted accounts' alone.
bool MayRunWithTheseRights(const std::string& path, const std::wstring& finalPath) {
    if (!runState.Token.elevated) {
        return true;
    }
    TrustVerdict verdict = TrustOfFile(FullPathAsked(path));
    if (verdict.trust == Trust::OnlyTrusted && !finalPath.empty()) {
        verdict = TrustOfFile(finalPath);
    }
    if (verdict.trust == Trust::OnlyTrusted) {
        return true;
    }
    ShowError(std::string(texts::kScriptRefusedStart) + path +
              std::string(texts::kScriptRefusedMiddle) + TrustReason(verdict) +
              std::string(texts::kScriptRefusedEnd));
    return false;
}

}  // namespace skervo
