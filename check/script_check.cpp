#include "check/script_check.h"

#include <algorithm>
#include <optional>

#include "check/byte_findings.h"
#include "check/check_texts.h"
#include "check/codes.h"
#include "check/explanation.h"
#include "check/line_action.h"
#include "check/machine_findings.h"
#include "check/text_findings.h"
#include "check/variable_names.h"
#include "common/text_rules.h"
#include "platform/kernel.h"
#include "script/script_reader.h"
#include "script/variables.h"

namespace skervo {
namespace {

namespace t = check_texts;

// The five bytes Windows-1252 leaves undefined: in other code pages (932,
// 936, 949, 950, 1251) they are ordinary characters.
bool HasUndefinedByte(std::string_view line) {
    return line.find_first_of("\x81\x8D\x8F\x90\x9D") != std::string_view::npos;
}

// A byte-order mark of UTF-16, or the first characters ASCII with a zero
// byte after each (little-endian) or before (big-endian). A zero byte
// elsewhere is no sign of it.
bool LooksLikeUtf16(std::string_view firstLine) {
    if (firstLine.starts_with("\xFF\xFE") || firstLine.starts_with("\xFE\xFF")) {
        return true;
    }
    const std::size_t pairs = std::min<std::size_t>(firstLine.size() / 2, 2);
    bool little = pairs > 0;
    bool big = pairs > 0;
    for (std::size_t pair = 0; pair < pairs; ++pair) {
        const bool first = firstLine[2 * pair] != '\0';
        const bool second = firstLine[2 * pair + 1] != '\0';
        little &= first && !second;
        big &= !first && second;
    }
    return little || big;
}

class ScriptWalk {
  public:
    ScriptWalk(const CheckOptions& options, ScriptCheck& result)
        : options_(options), result_(result), actions_(options.machine) {
        if (options.machine) {
            machine_.emplace(*options.machine);
        }
    }

    // False once the file shows itself unreadable as a script.
    bool Line(int number, const std::string& raw, bool lastLine, bool utf8) {
        if (number == 1 && LooksLikeUtf16(raw)) {
            Add(number, Severity::Error, codes::kEncoding, t::kUtf16);
            return false;
        }
        if (!utf8 && windows1252_ && HasUndefinedByte(raw)) {
            Add(number, Severity::Warning, codes::kEncoding, t::kUnknownBytes);
        }
        const std::string_view text = Trim(raw);
        if (IsCommentOrEmpty(text)) {
            return true;
        }
        carriedOut_ = true;
        const std::size_t indent = static_cast<std::size_t>(text.data() - raw.data());
        const CheckedLine line{number, text, RecogniseLine(text), lastLine, indent};
        FindInText(line, result_.findings);
        // On this PC the line is checked, and explained, as it will be
        // carried out: its variables replaced.
        std::optional<CarriedOutLine> carried;
        if (machine_) {
            carried.emplace(text);
            if (carried->Fault() != ExpansionFault::None) {
                NotCarriedOut(line, carried->Fault());
                return true;
            }
        }
        const CheckedLine onThisPc =
            carried ? CheckedLine{number, carried->Text(), carried->Recognised(), lastLine, indent}
                    : line;
        const LineAction action = actions_.Next(onThisPc);
        if (machine_) {
            FindUnknownVariables(line);
            const std::size_t before = result_.findings.size();
            machine_->Find(onThisPc, action, result_.findings);
            if (carried->Text() != text) {
                WholeLines(before);  // their places are in the line as carried out
            }
        } else {
            RemarkVariable(line);
        }
        if (options_.explanations == Explanations::Given) {
            result_.explanations.emplace_back(number, Explain(action, onThisPc));
        }
        return true;
    }

    void End(int lines, bool textAfterEnd) {
        if (textAfterEnd) {
            Add(lines + 1, Severity::Warning, codes::kAfterEnd, t::kAfterEnd);
        }
        if (!carriedOut_) {
            Add(std::max(lines, 1), Severity::Warning, codes::kEmpty, t::kNothingDone);
        }
        if (options_.explanations == Explanations::Given) {
            result_.endOfRun = ExplainEndOfRun(actions_.ClosedAtEnd(), actions_.ConnectionName());
        }
    }

  private:
    void Add(int line, Severity severity, std::string_view code, std::string_view message) {
        result_.findings.push_back({line, severity, std::string(message), code});
    }

    // The runner would report the line as written, and carry out none of it.
    void NotCarriedOut(const CheckedLine& line, ExpansionFault fault) {
        const std::string why =
            std::string(t::kNotCarriedOutHere) + std::string(WhyNotCarriedOut(fault));
        Add(line.number, Severity::Error, codes::kNotCarriedOut, why);
        if (options_.explanations == Explanations::Given) {
            result_.explanations.emplace_back(line.number, why);
        }
    }

    // Without the machine a variable's value cannot be known.
    void RemarkVariable(const CheckedLine& line) {
        for (const NamedVariable& variable : NamedVariables(line.text)) {
            if (variable.closed) {
                result_.findings.push_back(
                    FindingAt(line, variable.text, Severity::Remark, codes::kVariable,
                              std::string(variable.text) + std::string(t::kVariable)));
                return;
            }
        }
    }

    // A name this PC does not define stays as written: the line will
    // probably find nothing.
    void FindUnknownVariables(const CheckedLine& line) {
        for (const NamedVariable& variable : NamedVariables(line.text)) {
            const std::string_view name = variable.text.substr(1, variable.text.size() - 2);
            if (variable.closed && !options_.machine->DefinesVariable(std::string(name))) {
                result_.findings.push_back(
                    FindingAt(line, variable.text, Severity::Warning, codes::kUnknownVariable,
                              std::string(variable.text) + std::string(t::kVariableUnknown)));
            }
        }
    }

    void WholeLines(std::size_t from) {
        for (std::size_t at = from; at < result_.findings.size(); ++at) {
            result_.findings[at].column = 0;
            result_.findings[at].length = 0;
        }
    }

    const CheckOptions& options_;
    ScriptCheck& result_;
    ActionTracker actions_;
    std::optional<MachineFindings> machine_;
    const bool windows1252_ = platform::GetACP() == 1252;
    bool carriedOut_ = false;
};

// The reader holds the whole script, read or handed to it.
ScriptCheck CheckRead(ScriptReader& reader, const CheckOptions& options) {
    ScriptCheck result;
    result.readable = reader.Opened();
    if (!result.readable) {
        return result;
    }
    result.utf8 = reader.IsUtf8();
    ScriptWalk walk(options, result);
    int number = 0;
    bool readable = true;
    while (readable && !reader.AtEnd()) {
        const std::string raw = reader.ReadLine();
        readable = walk.Line(++number, raw, reader.AtEnd(), reader.IsUtf8());
    }
    if (readable) {
        walk.End(number, reader.HasTextAfterEnd());
    }
    if (readable) {
        FindInBytes(reader.Bytes(), reader.IsUtf8(), result.findings);
    }
    // Findings of the whole file come after those of its lines.
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return result;
}

}  // namespace

ScriptCheck CheckScript(const ScriptFile& file, const CheckOptions& options) {
    ScriptReader reader;
    reader.Open(file.path, file.widePath);
    return CheckRead(reader, options);
}

ScriptCheck CheckText(std::string bytes, const CheckOptions& options) {
    ScriptReader reader;
    reader.Take(std::move(bytes));
    return CheckRead(reader, options);
}

}  // namespace skervo
