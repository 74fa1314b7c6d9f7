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
        // Appended: GCC 12 at -O2 takes a temporary + "..." for a copy out of bounds.
        {std::string(65535, 'y').append("\xC3\xA9"), {std::string(65535, 'y').append("\xE9")}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.bytes;
    }
}

// The real systems' refusals: with UTF-8 as the ANSI code page,
// WideCharToMultiByte refuses WC_NO_BEST_FIT_CHARS; NT4 and the 95 family
// take no flag with CP_UTF8 and know no WC_NO_BEST_FIT_CHARS; the first
// Windows 95 has no CP_UTF8.
TEST_F(ScriptReaderTest, ALineNeverChangesBecauseAConversionFailed) {
    using sim::Conversions;
    const std::string donnees =
        "C:\\Donn\xC3\xA9"
        "es\\r.exe";
    const struct {
        std::uint32_t codePage;
        Conversions conversions;
        Lines lines;
    } cases[] = {
        {65001, Conversions::Current, {donnees}},  // already in the code page
        {1252,
         Conversions::Nt4,
         {"C:\\Donn\xE9"
          "es\\r.exe"}},
        {1252, Conversions::FirstWindows95, {donnees}},
    };
    for (const auto& c : cases) {
        SetUp();
        sim::desktop.ansiCodePage = c.codePage;
        sim::desktop.conversions = c.conversions;
        EXPECT_EQ(ReadAll(donnees + "\n"), c.lines) << c.codePage;
    }
}

TEST_F(ScriptReaderTest, LinesRunAcrossTheReadBuffer) {
    const std::string longLine(200000, 'x');
    // CR LF split over two reads of 64 KiB: 65535 characters, then CR | LF.
    const std::string before(65535, 'y');
    EXPECT_EQ(ReadAll(longLine + "\n" + before + "\r\nz"), (Lines{longLine, before, "z"}));
    EXPECT_EQ(ReadAll(before + "\r" + "z"), (Lines{before + "z"}));
}

// A script on a share may be replaced, or still be copied, when a run starts.
TEST_F(ScriptReaderTest, TheFileIsReadWholeAndClosedAtOnceAfterACopyThatHeldIt) {
    const struct {
        std::uint32_t error;  // of the open, until the time
        std::uint64_t until;
        bool opened;
        std::uint64_t waited;
    } cases[] = {
        {32, 3000, true, 3000},             // a sharing violation: a copy under way
        {32, sim::kForever, false, 10000},  // waited for ten seconds at most
        {5, sim::kForever, false, 0},       // no rights: not waited for
    };
    for (const auto& c : cases) {
        SetUp();
        sim::desktop.files["C:\\s.skervo"] = "a\nb";
        sim::desktop.refusedFiles["C:\\s.skervo"] = {c.error, c.until};
        skervo::ScriptReader reader;
        reader.Open("C:\\s.skervo");
        EXPECT_EQ(reader.Opened(), c.opened) << c.until;
        EXPECT_EQ(reader.OpenError(), c.opened ? 0 : c.error) << c.until;
        EXPECT_EQ(sim::desktop.elapsed, c.waited) << c.until;
        EXPECT_EQ(sim::desktop.OpenHandleCount(), 0u);
        sim::desktop.files.erase("C:\\s.skervo");
        EXPECT_EQ(reader.ReadLine(), c.opened ? "a" : "") << "read before it was deleted";
    }
}

// Half a script is never run: a share that drops after the first piece read
// leaves nothing to carry out.
TEST_F(ScriptReaderTest, AReadThatFailsPartWayReadsNothing) {
    sim::desktop.AddProgram("C:\\a.exe");
    sim::desktop.files["C:\\s.skervo"] = "C:\\a.exe\n" + std::string(100 * 1024, '#');
    sim::desktop.readsBeforeFailure["C:\\s.skervo"] = 1;
    EXPECT_EQ(RunProgram("C:\\s.skervo /Silent /Delai:5"), 3u);
    EXPECT_TRUE(sim::desktop.processes.empty());
    EXPECT_EQ(sim::desktop.OpenHandleCount(), 0u);
}

TEST_F(ScriptReaderTest, AMissingFileIsAtItsEndAndEveryHandleIsClosed) {
    skervo::ScriptReader reader;
    reader.Open("C:\\absent.skervo");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
    sim::desktop.files["C:\\s.skervo"] = "a\nb";
    skervo::ScriptReader open;
    open.Open("C:\\s.skervo");
    EXPECT_EQ(sim::desktop.OpenHandleCount(), 0u) << "closed once read";
}
