#pragma once
// Whether only trusted accounts may change a file: the system, the
// administrators, the installer's account and the account that runs Skervo.
// A run with an administrator's rights carries out what its script says and
// writes where its journal is: whoever else may change either, or rename a
// folder above it and put another in its place, could make that run do
// anything.
#include <string>

#include "platform/types.h"

namespace skervo {

enum class Trust {
    OnlyTrusted,
    OthersMay,   // another account may change it, or owns it
    Unreadable,  // no security to read (a FAT volume, the 95 family): nobody is kept out
};

struct TrustVerdict {
    Trust trust = Trust::OnlyTrusted;
    std::wstring where;  // the file or folder found wanting
};

// The file, then each folder above it up to its drive's root or its share.
TrustVerdict TrustOfFile(const std::wstring& fullPath);
// The folders above a file that may not exist yet.
TrustVerdict TrustOfFoldersAbove(const std::wstring& fullPath);

// Why, in the words of the boxes and the journal: « d'autres utilisateurs
// que les administrateurs peuvent modifier 'C:\Scripts' ».
std::string TrustReason(const TrustVerdict& verdict);

// Whether an open file is the very one its full path names: reached
// through no link, no reparse point, and known by that one name alone.
bool IsPlainFileAt(platform::KernelHandle file, const std::wstring& fullPath);

}  // namespace skervo
