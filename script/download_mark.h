#pragma once
// Scripts that came from the Internet: a mail filter or Explorer may treat a
// .skervo file as harmless, so a downloaded one asks before it runs.
#include <string>

namespace skervo {

// The mark the system leaves on a downloaded file (its Zone.Identifier
// stream): the zone it came from (3 Internet, 4 untrusted sites; 0 without
// the mark) and where from, when it says.
struct DownloadMark {
    int zone = 0;
    std::string origin;
};

DownloadMark ReadDownloadMark(const std::string& path, const std::wstring& widePath);

// A script without the mark, or from the local network, runs as always; one
// from the Internet runs only when the user says so, and never in a silent
// run, where nobody could be asked.
bool MayRunScriptFrom(const DownloadMark& mark, const std::string& path);

}  // namespace skervo
