#pragma once
// A journal never grows without bound: at the start of a run, one over
// 10 MB is set aside under another name, in place of the one set aside
// before, and a new one begins.
#include <cstdint>
#include <string>

#include "journal/journal_file.h"

namespace skervo {

inline constexpr std::uint64_t kLargestJournalBytes = 10 * 1024 * 1024;

// The name a journal is set aside under, .1 before its extension:
// C:\Journaux\nuit.1.log.
std::string SetAsideName(const std::string& path);

// A journal over the size is closed and renamed. True when it was closed:
// it must be opened again, a new one where the rename was made, the same
// one where another run holds it open.
bool SetAsideWhenTooLarge(JournalFile& file, const std::string& path);

}  // namespace skervo
