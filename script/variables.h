#pragma once
// The environment's variables a script line names (%USERPROFILE%,
// %ProgramFiles%), replaced by their values just before the line is carried
// out: the values Skervo started with, since a program the script starts
// cannot change them.
#include <cstddef>
#include <string>
#include <string_view>

#include "script/line_recognition.h"

namespace skervo {

// Why a line's variables could not be replaced.
enum class ExpansionFault {
    None,
    TooLong,          // longer than a command line may be once replaced
    OutsideCodePage,  // a value holds a character the ANSI code page lacks
    NamesACommand,    // a value brings NETSTART or NETSTOP before the line's name
};

// Why a line is not carried out, for the journal and the checker.
std::string_view WhyNotCarriedOut(ExpansionFault fault);

// The longest command line Windows takes.
inline constexpr std::size_t kLongestCommandLine = 32767;

struct ExpandedText {
    std::string text;
    ExpansionFault fault = ExpansionFault::None;
};

// Each %NAME% the environment defines replaced once; an undefined one, and
// %%, stay as written. In UTF-16 where the system can, converted as the
// script's own text is; in the ANSI code page on the 95 family.
ExpandedText ExpandVariables(std::string_view text);

// A line as it is carried out: the written line's command, its argument
// with its variables replaced. Only what names something is: all of a plain
// line, what follows > >> < << @ and & &&, never a pause's count nor the
// window commands; a value can therefore never change the line's command.
class CarriedOutLine {
  public:
    explicit CarriedOutLine(std::string_view written);
    CarriedOutLine(const CarriedOutLine&) = delete;
    CarriedOutLine& operator=(const CarriedOutLine&) = delete;

    ExpansionFault Fault() const { return fault_; }
    // The whole line, as carried out.
    const std::string& Text() const { return text_; }
    // The written line's command, its argument in Text().
    RecognisedLine Recognised() const;

  private:
    std::string text_;
    RecognisedLine written_;
    std::size_t argumentStart_ = 0;
    std::size_t argumentSize_ = 0;
    ExpansionFault fault_ = ExpansionFault::None;
};

}  // namespace skervo
