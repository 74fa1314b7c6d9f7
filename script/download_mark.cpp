#include "script/download_mark.h"

#include "common/run_state.h"
#include "common/text_rules.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "script/script_reader.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr int kInternetZone = 3;
constexpr int kUntrustedZone = 4;
constexpr std::uint32_t kLongestMark = 4096;
constexpr std::string_view kStream = ":Zone.Identifier";

std::string ReadStream(const std::string& path, const std::wstring& widePath) {
    const platform::OwnedHandle stream(
        OpenForReading(path + std::string(kStream),
                       widePath.empty() ? std::wstring() : widePath + L":Zone.Identifier"));
    std::string text(kLongestMark, '\0');
    std::uint32_t read = 0;
    if (!stream || !platform::ReadFile(stream.Get(), text.data(), kLongestMark, read)) {
        return {};
    }
    text.resize(read);
    return text;
}

// "Name=value" lines; the value of the first line with that name.
std::string ValueOf(std::string_view text, std::string_view name) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = Trim(text.substr(start, end - start));
        if (line.size() > name.size() && line[name.size()] == '=' &&
            UpperCase(line.substr(0, name.size())) == UpperCase(name)) {
            return std::string(Trim(line.substr(name.size() + 1)));
        }
        start = end + 1;
    }
    return {};
}

int ZoneOf(const std::string& value) {
    return value.size() == 1 && value[0] >= '0' && value[0] <= '9' ? value[0] - '0' : 0;
}

std::string Question(const DownloadMark& mark, const std::string& path) {
    return std::string(mark.zone >= kUntrustedZone ? texts::kDownloadedFromUntrustedSite
                                                   : texts::kDownloadedFromInternet) +
           path + std::string(texts::kDownloadedOrigin) +
           (mark.origin.empty() ? std::string(texts::kDownloadedOriginUnknown) : mark.origin) +
           std::string(texts::kDownloadedQuestion);
}

}  // namespace

DownloadMark ReadDownloadMark(const std::string& path, const std::wstring& widePath) {
    const std::string text = ReadStream(path, widePath);
    std::string origin = ValueOf(text, "HostUrl");
    if (origin.empty()) {
        origin = ValueOf(text, "ReferrerUrl");
    }
    return {ZoneOf(ValueOf(text, "ZoneId")), origin};
}

bool MayRunScriptFrom(const DownloadMark& mark, const std::string& path) {
    if (mark.zone < kInternetZone) {
        return true;
    }
    const bool run = !runState.Switches.silent && AskYesNo(Question(mark, path));
    Tell(run ? Happened::DownloadedScriptRun : Happened::DownloadedScriptRefused, mark.zone,
         mark.origin);
    return run;
}

}  // namespace skervo
