// The script reader and the line recogniser: lines never hold a line end or a
// Ctrl-Z, they are read the same wherever the reader's buffer ends, and the
// command's argument is always a part of its line.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "common/ansi_text.h"
#include "common/text_rules.h"
#include "fuzz/fuzz_check.h"
#include "platform/kernel.h"
#include "script/line_recognition.h"
#include "script/count.h"
#include "script/script_reader.h"
#include "script/utf8_check.h"

namespace {

constexpr std::size_t kReaderBuffer = 64 * 1024;  // the reader's own buffer size
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutMark(std::string_view content) {
    return content.starts_with(kByteOrderMark) ? content.substr(kByteOrderMark.size()) : content;
}

// The text as the reader takes it: without a leading byte-order mark and,
// when it is UTF-8 throughout, in the ANSI code page. Line ends and Ctrl-Z
// are ASCII, so converting it whole or line by line comes to the same.
std::string Decoded(std::string_view content) {
    content = WithoutMark(content);
    skervo::Utf8Check check;
    check.Feed(content);
    if (!check.IsUtf8BeyondAscii()) {
        return std::string(content);
    }
    return skervo::Utf8ToAnsi(content).value_or(std::string(content));
}

std::vector<std::string> ReadScript(const std::string& bytes) {
    sim::desktop.files["C:\\s.skervo"] = bytes;
    std::vector<std::string> lines;
    skervo::ScriptReader reader;
    reader.Open("C:\\s.skervo");
    // The runner's loop: every line read moves on by at least one character.
    while (!reader.AtEnd()) {
        lines.push_back(reader.ReadLine());
        Check(lines.size() <= bytes.size(), "no more lines than characters");
    }
    // Open reads the whole script and closes its file at once.
    Check(sim::desktop.OpenHandleCount() == 0, "the script is closed");
    return lines;
}

// What the lines must hold together: the text before the first Ctrl-Z
// without its CR and LF characters, one line per LF, plus an unended last one.
void CheckAgainstText(std::string_view content, const std::vector<std::string>& lines) {
    const std::string decoded = Decoded(content);
    const std::string_view text = std::string_view(decoded).substr(0, decoded.find('\x1a'));
    std::string joined;
    for (const std::string& line : lines) {
        Check(line.find_first_of("\r\n\x1a") == std::string::npos, "no CR, LF or Ctrl-Z in a line");
        joined += line;
    }
    std::string expected;
    std::remove_copy_if(text.begin(), text.end(), std::back_inserter(expected),
                        [](char c) { return c == '\r' || c == '\n'; });
    Check(joined == expected, "the lines hold every other character, in order");
    const auto ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    const bool unended = !text.empty() && text.back() != '\n';
    Check(lines.size() == ends + (unended ? 1 : 0), "one line per line end");
}

// A plain decimal count is taken when, and only when, it fits in 32 bits.
void CheckCount(std::string_view text) {
    const std::optional<std::int32_t> count = skervo::ParseCount(text);
    const std::string_view magnitude =
        text.starts_with('-') || text.starts_with('+') ? text.substr(1) : text;
    const bool decimal =
        !magnitude.empty() && std::all_of(magnitude.begin(), magnitude.end(),
                                          [](char c) { return c >= '0' && c <= '9'; });
    if (decimal) {
        const std::string digits(text.starts_with('+') ? text.substr(1) : text);
        std::int64_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        const bool fits = error == std::errc{} &&
                          value >= std::numeric_limits<std::int32_t>::min() &&
                          value <= std::numeric_limits<std::int32_t>::max();
        Check(count.has_value() == fits, "a decimal count is taken when it fits");
        Check(!fits || *count == value, "a decimal count keeps its value");
    }
    if (count) {
        const auto pattern = static_cast<std::uint32_t>(*count);
        char hex[9] = {};
        std::to_chars(hex, hex + 8, pattern, 16);
        Check(skervo::ParseCount(std::to_string(*count)) == count, "decimal form reads back");
        Check(skervo::ParseCount(std::string("$") + hex) == count, "$ form reads back");
        Check(skervo::ParseCount(std::string("0x") + hex) == count, "0x form reads back");
    }
}

void CheckRecognition(std::string_view rawLine) {
    const std::string_view line = skervo::Trim(rawLine);
    if (line.empty() || line[0] == '#') {
        return;
    }
    const skervo::RecognisedLine recognised = skervo::RecogniseLine(line);
    const std::string_view argument = recognised.argument;
    Check(argument.empty() || (argument.data() >= line.data() &&
                               argument.data() + argument.size() <= line.data() + line.size()),
          "the argument lies within the line");
    Check(recognised.closingCommand == (line[0] == '>' || line[0] == '<'),
          "closing commands begin with > or <");
    Check(!recognised.noConfirmation || recognised.closingCommand,
          "only closing commands go without confirmation");
    const bool pause = recognised.command == skervo::LineCommand::PauseOrWait;
    Check(pause == (line[0] == '@'), "@ lines pause or wait");
    if (pause) {
        CheckCount(skervo::Trim(argument));
    }
}

}  // namespace

// The first two bytes choose where the reader's buffer ends within the script.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    FreshDesktop();
    const std::string content(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t boundary =
        (data[0] | data[1] << 8) % (std::min(content.size(), kReaderBuffer - 1) + 1);

    const std::vector<std::string> lines = ReadScript(content);
    CheckAgainstText(content, lines);
    for (const std::string& line : lines) {
        CheckRecognition(line);
    }

    // A first line that fills the buffer but for the script's first bytes;
    // a mark only counts at the very start of the file.
    const std::string filler(kReaderBuffer - boundary - 1, '#');
    std::vector<std::string> shifted =
        ReadScript(filler + "\n" + std::string(WithoutMark(content)));
    Check(!shifted.empty() && shifted.front() == filler, "the filler is one line");
    shifted.erase(shifted.begin());
    Check(shifted == lines, "lines read the same wherever the buffer ends");
    return 0;
}
