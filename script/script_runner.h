#pragma once
// Carries a script out line by line, or shows the usage text.
namespace skervo {

// Whether the command line calls for the usage text instead of a run.
bool CallsForUsage(int parameterCount, bool silentSwitch);

void RunScript();

}  // namespace skervo
