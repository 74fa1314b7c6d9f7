#pragma once
// Starts or stops a service and, when asked, waits for its state.
#include <string_view>

namespace skervo {

enum class ServiceAction { Start, Stop };
enum class ServiceWait { No, UntilReached };

// True when the start or stop was carried out or not needed and, with a wait,
// the state was reached. Failures are reported to the user here.
bool ControlServiceAndWait(std::string_view name, ServiceAction action, ServiceWait wait);

}  // namespace skervo
