#pragma once
// Scripts that came from the Internet: a mail filter or Explorer may treat a
// .skervo file as harmless, so a downloaded one asks before it runs.
#include <string>
#include <string_view>

namespace skervo {

// The mark the system leaves on a downloaded file (its Zone.Identifier
// stream): the zone it came from (3 Internet, 4 untrusted sites; 0 without
// the mark) and where from, when it says.
struct DownloadMark {
    int zone = 0;
    std::string origin;
};

// The mark of the file opened, found by where it really is (finalPath, from
// its handle) where the system can say: trailing dots or blanks in the path
// asked for cannot then hide it. A mark that is there but cannot be read or
// understood counts as the Internet's.
DownloadMark ReadDownloadMark(const std::wstring& finalPath, const std::string& path,
                              const std::wstring& widePath);

// The mark as the system reads such a settings file: UTF-16 behind its
// byte-order mark or ANSI, the [ZoneTransfer] section's values, blanks
// around =, ZoneId a decimal number and what follows it ignored.
DownloadMark ParseDownloadMark(std::string_view stream);

// A script without the mark, or from the local network, runs as always; one
// from the Internet runs only when the user says so, and never in a silent
// run, where nobody could be asked.
bool MayRunScriptFrom(const DownloadMark& mark, const std::string& path);

}  // namespace skervo
