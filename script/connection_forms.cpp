#include "script/connection_forms.h"

#include <algorithm>

#include "common/text_rules.h"

namespace skervo {

// The second character chooses; the text after the two command characters
// is read only by the dials and by the ,- of &>.
ConnectionForm RecogniseConnection(std::string_view line) {
    ConnectionForm form;
    const char second = line.size() >= 2 ? line[1] : '\0';
    const std::string_view rest = line.size() >= 2 ? line.substr(2) : std::string_view{};
    switch (second) {
        case '&':
            form.command = ConnectionCommand::AutomaticDial;
            form.entry = Trim(rest);
            break;
        case '-':
            form.command = ConnectionCommand::WaitForConnection;
            form.ignored = rest;
            break;
        case '<':
            form.command = ConnectionCommand::HangUpAll;
            form.ignored = rest;
            break;
        case '>':
            form.command = ConnectionCommand::WaitForNoConnection;
            if (rest.starts_with(",-")) {
                form.window = StatusWindowDuringWait::Hidden;
                form.ignored = rest.substr(2);
            } else {
                form.ignored = rest;
            }
            break;
        default:
            form.command = ConnectionCommand::DialogDial;
            form.entry = Trim(line.substr(1));
            break;
    }
    return form;
}

bool FitsTheDialogsCommandLine(std::string_view entry) {
    return std::none_of(entry.begin(), entry.end(), [](char c) {
        return c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

}  // namespace skervo
