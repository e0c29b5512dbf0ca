// Administrator rights: on Linux, an effective user id of 0.
#pragma once

#include "companion/OstrandExport.h"

// Nonzero when this process runs with an effective user id of 0.
VX_COMPANION_EXPORT int IsUserAdmin();

// Nonzero when process `pid` runs with an effective user id of 0; 0 when it does
// not or cannot be inspected.
VX_COMPANION_EXPORT int IsElevatedProcess(int pid);
