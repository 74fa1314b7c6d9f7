#include "script/script_reader.h"

#include "tests/sim/sim_test.h"

using Lines = std::vector<std::string>;

class ScriptReaderTest : public SimTest {
  protected:
    static Lines ReadAll(const std::string& bytes) {
        sim::desktop.files["C:\\s.skervo"] = bytes;
        skervo::ScriptReader reader;
        reader.Open("C:\\s.skervo");
        Lines lines;
        while (!reader.AtEnd()) {
            lines.push_back(reader.ReadLine());
        }
        return lines;
    }
};

TEST_F(ScriptReaderTest, SplitsLinesByTheLineEndRules) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\rc", {"abc"}},      // a lone CR is dropped
        {"a\r\r\nb", {"a", "b"}},  // the first CR alone, then CR LF
        {"a\r", {"a"}},
        {"a\n\n\nb", {"a", "", "", "b"}},
        {"\n", {""}},
        {"a\n\x1A"
         "b\n",
         {"a"}},  // Ctrl-Z ends the file
        {"ab\x1A"
         "cd\nef",
         {"ab"}},  // even within a line
        {"\x1A"
         "a",
         {}},
        {"a\0b\n"s, {"a\0b"s}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.bytes;
    }
}

// Read in the ANSI code page, here ISO 8859-1, whatever the file's encoding.
TEST_F(ScriptReaderTest, AScriptInUtf8IsReadInTheAnsiCodePage) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a\r\n",
         {"a"}},  // the byte-order mark is skipped
        {"\xEF\xBB\xBF"
         "C:\\Donn\xC3\xA9"
         "es\\rapport.exe\r\nb",
         {"C:\\Donn\xE9"
          "es\\rapport.exe",
          "b"}},
        {"caf\xC3\xA9\n\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         {"caf\xE9",
          "?\xF3"
          "d?"}},                          // no mark; characters outside the code page
        {"caf\xE9\nb", {"caf\xE9", "b"}},  // Windows-1252: an accent then ASCII
        {"\xC3\xA9\n\xE9t\xE9", {"\xC3\xA9", "\xE9t\xE9"}},  // UTF-8 throughout, or not at all
        {"\xC0\xAF\n", {"\xC0\xAF"}},                        // an overlong form is no UTF-8
        // The edges of each range of bytes, then just beyond them: overlong,
        // a surrogate, beyond U+10FFFF, no lead byte, a lone continuation, cut short.
        {"\xC2\x80 \xE0\xA0\x80 \xED\x9F\xBF \xF0\x90\x80\x80 \xF4\x8F\xBF\xBF",
         {"\x80 ? ? ?? ??"}},
        {"\xC1\xBF", {"\xC1\xBF"}},
        {"\xE0\x9F\xBF", {"\xE0\x9F\xBF"}},
        {"\xF0\x8F\xBF\xBF", {"\xF0\x8F\xBF\xBF"}},
        {"\xED\xA0\x80", {"\xED\xA0\x80"}},
        {"\xF4\x90\x80\x80", {"\xF4\x90\x80\x80"}},
        {"\xF5\x80\x80\x80", {"\xF5\x80\x80\x80"}},
        {"\xC3\xA9\x80", {"\xC3\xA9\x80"}},
        {"caf\xC3", {"caf\xC3"}},
        {std::string(65535, 'y') + "\xC3\xA9", {std::string(65535, 'y') + "\xE9"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.bytes;
    }
}

TEST_F(ScriptReaderTest, LinesRunAcrossTheReadBuffer) {
    const std::string longLine(200000, 'x');
    // CR LF split over two reads of 64 KiB: 65535 characters, then CR | LF.
    const std::string before(65535, 'y');
    EXPECT_EQ(ReadAll(longLine + "\n" + before + "\r\nz"), (Lines{longLine, before, "z"}));
    EXPECT_EQ(ReadAll(before + "\r" + "z"), (Lines{before + "z"}));
}

TEST_F(ScriptReaderTest, AMissingFileIsAtItsEndAndEveryHandleIsClosed) {
    skervo::ScriptReader reader;
    reader.Open("C:\\absent.skervo");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
    {
        sim::desktop.files["C:\\s.skervo"] = "a\nb";
        skervo::ScriptReader open;
        open.Open("C:\\s.skervo");
        EXPECT_EQ(sim::desktop.OpenHandleCount(), 1u);
    }
    EXPECT_EQ(sim::desktop.OpenHandleCount(), 0u);
}
