#include "ui/notices.h"

#include <algorithm>
#include <string>

#include "common/run_state.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "ui/texts.h"

namespace skervo {
namespace {

void ShowBox(std::string_view text, std::uint32_t icon) {
    platform::MessageBoxA(platform::WindowHandle{}, std::string(text), std::string(texts::kCaption),
                          icon);
}

}  // namespace

void SetTrayTip(std::string_view text) {
    if (!runState.TrayIconPresent) {
        return;
    }
    platform::NotifyIconRecord& record = runState.TrayIconData;
    record.flags = platform::kNifTip;
    // The tip field holds 127 characters and its zero: a longer tip is cut.
    const std::size_t length = std::min(text.size(), record.tip.size() - 1);
    std::copy_n(text.begin(), length, record.tip.begin());
    record.tip[length] = '\0';
    platform::Shell_NotifyIconA(platform::kNimModify, record);
}

void ShowNotice(std::string_view text) {
    ShowBox(text, platform::kMbIconInformation);
}

void ShowError(std::string_view text) {
    ShowBox(std::string(texts::kErrorPrefix) + std::string(text), platform::kMbIconError);
}

}  // namespace skervo
