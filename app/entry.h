#pragma once
namespace skervo {

// The whole life of the process, to its end.
[[noreturn]] void RunProgram();

}  // namespace skervo
