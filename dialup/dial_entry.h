#pragma once
// Dialling a phone-book entry without a dialog. Platform failures are shown to
// the user and the run goes on; only a missing library or function
// (ProgramError) leaves the run.
#include <cstdint>

namespace skervo {

// Dials ConnectionName; returns once the platform has accepted the dial.
void DialEntry();
// The dial's progress, called by the platform on a thread of its own.
void DialNotification(std::uint32_t message, std::uint32_t state, std::uint32_t error);

}  // namespace skervo
