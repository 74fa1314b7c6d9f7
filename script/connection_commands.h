#pragma once
// The lines that begin with & and the end of every run.
namespace skervo {

// Carries out runState.ScriptLine, which begins with &.
void RunConnectionCommand();
// Waits for the dialled connection to end, then closes the started applications.
void FinishRun();

}  // namespace skervo
