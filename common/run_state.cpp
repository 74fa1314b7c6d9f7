#include "common/run_state.h"

namespace skervo {

RunState runState;

}  // namespace skervo
