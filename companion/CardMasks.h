// Card-set masks: bit c of an unsigned 64-bit value stands for card c (0..51).
#pragma once

#include "companion/OstrandExport.h"

#include <cstdint>
#include <vector>

// Mask of the first `n` cards of `cards`; numbers outside 0..51 are ignored.
VX_COMPANION_EXPORT uint64_t ArrayToInt64(int n, const int* cards);

// Mask of all cards of `cards`; numbers outside 0..51 are ignored.
VX_COMPANION_EXPORT uint64_t VecToInt64(const std::vector<int>& cards);

// Cards of `mask` in ascending order into cards[0..n-1] (the caller provides 52
// places); returns n, which is also stored in `n`.
VX_COMPANION_EXPORT int Int64ToArray(uint64_t mask, int& n, int* cards);

// True if `v` is among the first `n` ints of `array`.
VX_COMPANION_EXPORT bool isExist(int v, const int* array, int n);
