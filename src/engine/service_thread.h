// The start-up service thread: stops the compatibility assistant and makes
// sure the print spooler runs, then ends.
#pragma once
#include <cstdint>

// The thread's procedure; it takes no argument and returns 0.
uint32_t ServiceThreadProc();
