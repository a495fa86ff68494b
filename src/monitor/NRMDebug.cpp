#include "monitor/NRMDebug.h"

// Zero at load: constant-initialized, no constructor runs.
std::atomic<int32_t> NRMDebugFlag{0};
