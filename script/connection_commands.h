#pragma once
// The lines that begin with &.
namespace skervo {

// Carries out runState.ScriptLine, which begins with &.
void RunConnectionCommand();

}  // namespace skervo
