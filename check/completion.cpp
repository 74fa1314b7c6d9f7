#include "check/completion.h"

#include "check/check_texts.h"
#include "check/diagnostics.h"
#include "check/utf8_text.h"
#include "common/text_rules.h"
#include "programs/command_split.h"

namespace skervo {
namespace {

namespace t = check_texts;

// The protocol's CompletionItemKind.
constexpr std::int64_t kKeyword = 14;
constexpr std::int64_t kValue = 12;

struct Form {
    std::string_view text;
    std::string_view about;
};

constexpr Form kForms[] = {
    {"@", t::kFormAt},
    {">", t::kFormLaunchToClose},
    {">>", t::kFormLaunchToKill},
    {"<", t::kFormClose},
    {"<<", t::kFormKill},
    {"&", t::kFormDialog},
    {"&&", t::kFormDial},
    {"&-", t::kFormWaitForConnection},
    {"&>", t::kFormWaitForNoConnection},
    {"&<", t::kFormHangUp},
    {"NETSTART", t::kFormStartService},
    {"NETSTOP", t::kFormStopService},
    {"-", t::kFormHide},
    {"+", t::kFormShow},
    {"#", t::kFormComment},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return at;
}

// Items that replace before[from...] with their label: the editor filters
// them on what is typed there.
class Items {
  public:
    Items(JsonText& out, std::string_view before, std::int64_t line, PositionEncoding encoding)
        : out_(out), before_(before), line_(line), encoding_(encoding) {}

    void Add(std::size_t from, std::string_view label, std::int64_t kind, std::string_view about) {
        const std::string detail = AnsiToUtf8(about);
        out_.Open('{').Key("label").String(label).Key("kind").Number(kind);
        out_.Key("documentation").String(detail);
        out_.Key("filterText").String(label).Key("textEdit").Open('{').Key("range");
        WriteRange(out_, {{line_, UnitsOf(before_.substr(0, from), encoding_)},
                          {line_, UnitsOf(before_, encoding_)}});
        out_.Key("newText").String(label).Close('}').Close('}');
    }

  private:
    JsonText& out_;
    std::string_view before_;
    std::int64_t line_;
    PositionEncoding encoding_;
};

// Where a launch text begins after >, >> or @, as the runner reads them.
std::size_t LaunchStart(std::string_view before, std::size_t start) {
    const std::string_view typed = before.substr(start);
    if (typed.starts_with(">>")) {
        return SkipBlanks(before, start + 2);
    }
    if (typed.starts_with('>')) {
        return SkipBlanks(before, start + 1);
    }
    return start + (typed.starts_with('@') ? 1 : 0);
}

// The name's start after NETSTART or NETSTOP and a blank; npos elsewhere.
std::size_t ServiceNameStart(std::string_view before, std::size_t start) {
    const std::size_t launch = LaunchStart(before, start);
    const std::size_t blank = before.find_first_of(" \t", launch);
    if (blank == std::string_view::npos ||
        ServiceWordOf(UpperCase(before.substr(launch, blank - launch))) == ServiceWord::None) {
        return std::string_view::npos;
    }
    return SkipBlanks(before, blank);
}

// The entry's start after & or &&; npos after the other connection commands.
std::size_t EntryStart(std::string_view before, std::size_t start) {
    const std::string_view typed = before.substr(start);
    if (!typed.starts_with('&')) {
        return std::string_view::npos;
    }
    const char second = typed.size() > 1 ? typed[1] : '\0';
    if (second == '-' || second == '<' || second == '>') {
        return std::string_view::npos;
    }
    return SkipBlanks(before, start + (second == '&' ? 2 : 1));
}

}  // namespace

void WriteCompletions(JsonText& out, std::string_view before, std::int64_t line,
                      PositionEncoding encoding, Machine* machine) {
    out.Open('[');
    Items items(out, before, line, encoding);
    const std::size_t start = SkipBlanks(before, 0);
    if (before.find_first_of(" \t", start) == std::string_view::npos) {
        for (const Form& form : kForms) {
            items.Add(start, form.text, kKeyword, form.about);
        }
    }
    const std::size_t service = ServiceNameStart(before, start);
    const std::size_t entry = EntryStart(before, start);
    for (const std::string& name : machine&& service != std::string_view::npos
                                       ? machine->ServiceNames()
                                       : std::vector<std::string>{}) {
        items.Add(service, AnsiToUtf8(name), kValue, t::kServiceItem);
    }
    for (const std::string& name : machine&& entry != std::string_view::npos
                                       ? machine->EntryNames()
                                       : std::vector<std::string>{}) {
        items.Add(entry, AnsiToUtf8(name), kValue, t::kEntryItem);
    }
    out.Close(']');
}

}  // namespace skervo
