#pragma once
// The end of every run, after its last line or a stop.
namespace skervo {

// Waits for the dialled connection to end, then closes the started applications.
void FinishRun();

}  // namespace skervo
