#include "script/download_mark.h"

#include <optional>

#include "common/ansi_text.h"
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
// Far more than any browser writes: a longer mark is no honest one.
constexpr std::uint32_t kLongestMark = 64 * 1024;
constexpr std::size_t kLongestOrigin = 200;
constexpr std::string_view kStream = ":Zone.Identifier";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

const DownloadMark kUnreadableMark{kInternetZone, ""};

// The system drops trailing dots and blanks from a name it opens, but not
// from a name with a stream after it.
std::string WithoutTrailingDotsAndBlanks(std::string path) {
    while (!path.empty() && (path.back() == '.' || path.back() == ' ')) {
        path.pop_back();
    }
    return path;
}

std::wstring WithoutTrailingDotsAndBlanks(std::wstring path) {
    while (!path.empty() && (path.back() == L'.' || path.back() == L' ')) {
        path.pop_back();
    }
    return path;
}

// In the \\?\ form, which takes a path of any length as it is.
std::wstring LongForm(const std::wstring& path) {
    return path.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + path.substr(2) : L"\\\\?\\" + path;
}

platform::KernelHandle OpenStream(const std::wstring& finalPath, const std::string& path,
                                  const std::wstring& widePath) {
    const std::wstring wideStream(kStream.begin(), kStream.end());
    if (!finalPath.empty()) {
        return OpenForReading("", LongForm(finalPath) + wideStream);
    }
    if (!widePath.empty()) {
        return OpenForReading("", WithoutTrailingDotsAndBlanks(widePath) + wideStream);
    }
    return OpenForReading(WithoutTrailingDotsAndBlanks(path) + std::string(kStream), L"");
}

// No such stream: the file has no mark, or its volume keeps no streams.
bool IsNoStream(std::uint32_t error) {
    constexpr std::uint32_t kPathNotFound = 3;
    constexpr std::uint32_t kInvalidName = 123;
    return error == platform::kErrorFileNotFound || error == kPathNotFound || error == kInvalidName;
}

// Up to one byte past the longest mark, to tell a longer one.
std::optional<std::string> ReadStream(platform::KernelHandle stream) {
    std::string text(kLongestMark + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        std::uint32_t read = 0;
        if (!platform::ReadFile(stream, text.data() + filled,
                                static_cast<std::uint32_t>(text.size() - filled), read)) {
            return std::nullopt;
        }
        filled += read;
        if (read == 0 || filled == text.size()) {
            break;
        }
    }
    text.resize(filled);
    return text;
}

std::optional<std::string> InAnsiCodePage(std::string_view stream) {
    if (stream.starts_with(kUtf16Mark)) {
        std::wstring wide;
        for (std::size_t at = kUtf16Mark.size(); at + 1 < stream.size(); at += 2) {
            wide += static_cast<wchar_t>(static_cast<unsigned char>(stream[at]) |
                                         static_cast<unsigned char>(stream[at + 1]) << 8);
        }
        return WideToAnsi(wide);
    }
    return std::string(stream.starts_with(kUtf8Mark) ? stream.substr(kUtf8Mark.size()) : stream);
}

// A line ends at a CR or an LF: a lone CR in a value cannot carry on into
// another line of a box.
struct ZoneTransfer {
    std::optional<std::string> zoneId, hostUrl, referrerUrl;
};

ZoneTransfer ReadZoneTransfer(std::string_view text) {
    ZoneTransfer values;
    bool inSection = false;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        UpperCase(Trim(line.substr(1, close - 1))) == "ZONETRANSFER";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) {
            continue;
        }
        const std::string name = UpperCase(Trim(line.substr(0, equals)));
        std::optional<std::string>* value = name == "ZONEID"        ? &values.zoneId
                                            : name == "HOSTURL"     ? &values.hostUrl
                                            : name == "REFERRERURL" ? &values.referrerUrl
                                                                    : nullptr;
        if (value && !*value) {
            *value = std::string(Trim(line.substr(equals + 1)));
        }
    }
    return values;
}

// Decimal digits, whatever follows them (« 3 ; commentaire »).
std::optional<int> LeadingNumber(std::string_view text) {
    int number = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        number = std::min(number * 10 + (text[digits] - '0'), 1000);
    }
    return digits == 0 ? std::nullopt : std::optional<int>(number);
}

std::string Question(const DownloadMark& mark, const std::string& path) {
    return std::string(mark.zone >= kUntrustedZone ? texts::kDownloadedFromUntrustedSite
                                                   : texts::kDownloadedFromInternet) +
           WithControlsShown(path) + std::string(texts::kDownloadedOrigin) +
           (mark.origin.empty() ? std::string(texts::kDownloadedOriginUnknown) : mark.origin) +
           std::string(texts::kDownloadedQuestion);
}

}  // namespace

DownloadMark ParseDownloadMark(std::string_view stream) {
    const std::optional<std::string> text = InAnsiCodePage(stream);
    if (!text) {
        return kUnreadableMark;
    }
    const ZoneTransfer values = ReadZoneTransfer(*text);
    const std::optional<int> zone = values.zoneId ? LeadingNumber(*values.zoneId) : std::nullopt;
    const std::string origin = values.hostUrl && !values.hostUrl->empty()
                                   ? *values.hostUrl
                                   : values.referrerUrl.value_or("");
    return {zone.value_or(kInternetZone),
            WithControlsShown(origin.substr(0, std::min(origin.size(), kLongestOrigin)))};
}

DownloadMark ReadDownloadMark(const std::wstring& finalPath, const std::string& path,
                              const std::wstring& widePath) {
    const platform::OwnedHandle stream(OpenStream(finalPath, path, widePath));
    if (!stream) {
        return IsNoStream(platform::GetLastError()) ? DownloadMark{} : kUnreadableMark;
    }
    const std::optional<std::string> text = ReadStream(stream.Get());
    if (!text || text->size() > kLongestMark) {
        return kUnreadableMark;
    }
    return ParseDownloadMark(*text);
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
