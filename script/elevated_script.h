#pragma once
// With an administrator's elevated rights, or SYSTEM's, a run carries out
// only a script that trusted accounts alone may change: whoever else could
// change it, or a folder above it, would have the run do anything.
#include <string>

namespace skervo {

// The script as asked for, and where the file opened really is (empty
// where the system cannot say). Says why in a box, or in the journal of a
// silent run, when it may not run.
bool MayRunWithTheseRights(const std::string& path, const std::wstring& finalPath);

}  // namespace skervo
