#include "app/file_association.h"

namespace skervo {

// Not built yet: the switches end the process without touching the registry.
void RegisterFileType() {}
void UnregisterFileType() {}

}  // namespace skervo
