#include "check/byte_findings.h"

#include <algorithm>

#include "check/check_texts.h"
#include "check/codes.h"
#include "common/ansi_text.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

namespace t = check_texts;

constexpr char kCtrlZ = 26;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A CR followed, on the same line, by anything but another CR: the reader
// drops it and reads on, so what follows it joins the line before.
bool JoinsLines(std::string_view line) {
    for (std::size_t cr = line.find('\r'); cr != std::string_view::npos && cr + 1 < line.size();
         cr = line.find('\r', cr + 1)) {
        if (line[cr + 1] != '\r') {
            return true;
        }
    }
    return false;
}

bool LosesCharacters(std::string_view line) {
    if (std::all_of(line.begin(), line.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return false;
    }
    const std::optional<std::wstring> wide =
        platform::MultiByteToWideChar(platform::kCpUtf8, 0, line);
    return wide && !IsExactInAnsi(*wide);
}

}  // namespace

void FindInBytes(std::string_view bytes, bool utf8, Findings& findings) {
    bytes = bytes.substr(0, bytes.find(kCtrlZ));
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    for (int number = 1;; ++number) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        if (JoinsLines(line)) {
            findings.push_back({number, Severity::Warning, std::string(t::kLoneCarriageReturn),
                                codes::kLoneCarriageReturn});
        }
        if (utf8 && LosesCharacters(line)) {
            findings.push_back({number, Severity::Warning, std::string(t::kLostCharacters),
                                codes::kLostCharacters});
        }
        if (end == std::string_view::npos) {
            return;
        }
        bytes.remove_prefix(end + 1);
    }
}

}  // namespace skervo
