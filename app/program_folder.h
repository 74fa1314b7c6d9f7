#pragma once
// Whether the program that /Register would have every double-click run is
// one that only trusted accounts may change or replace.
#include <string>

#include "common/trusted_files.h"

namespace skervo {

// The program's file and every folder above it. The 95 family keeps no
// security for anybody: there nothing can be told, and it passes.
TrustVerdict TrustOfProgram(const std::string& programPath);

}  // namespace skervo
