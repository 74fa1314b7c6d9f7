#pragma once
// Where the file behind a handle really is: a link on the way (a symbolic
// link, a junction) leads elsewhere than its path says.
#include <string>

#include "platform/types.h"

namespace skervo {

// The path of the file a handle holds, links followed, in its ordinary form
// (C:\..., \\serveur\...); empty where the system cannot say (before Vista).
std::wstring FinalPathOf(platform::KernelHandle file);

// A path written as C:\..., with no \\?\ or \\?\UNC\ before it.
std::wstring WithoutLongPathPrefix(std::wstring path);

// The full form of a path given in the ANSI code page, in UTF-16 as the
// security functions take it; empty where it cannot be converted.
std::wstring FullPathInUtf16(const std::string& path);

}  // namespace skervo
