#pragma once
// What the program's own token says of the run: as whom it runs, and with
// an administrator's full rights or not.
#include <string>

namespace skervo {

struct OwnToken {
    std::string account;  // the user's SID; empty where the system has no accounts (the 95 family)
    // An administrator's elevated token, or SYSTEM's: the run can change the
    // whole PC, so whoever may change its script or journal could too.
    bool elevated = false;
};

OwnToken ReadOwnToken();

}  // namespace skervo
