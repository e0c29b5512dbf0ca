// Export marker of the companion library; everything else in it stays hidden.
#pragma once

#define VX_COMPANION_EXPORT __attribute__((visibility("default")))
