#pragma once
namespace skervo {

// The whole life of the process; answers its exit code.
int RunProgram();

}  // namespace skervo
