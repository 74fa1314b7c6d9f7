#pragma once
// Carries a script out line by line, or shows the usage text.
namespace skervo {

void RunScript();

}  // namespace skervo
