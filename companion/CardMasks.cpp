#include "companion/CardMasks.h"

uint64_t ArrayToInt64(int n, const int* cards)
{
    uint64_t mask = 0;
    for (int i = 0; i < n; ++i) {
        if (cards[i] >= 0 && cards[i] < 52) {
            mask |= uint64_t{1} << cards[i];
        }
    }
    return mask;
}

uint64_t VecToInt64(const std::vector<int>& cards)
{
    return ArrayToInt64(static_cast<int>(cards.size()), cards.data());
}

int Int64ToArray(uint64_t mask, int& n, int* cards)
{
    n = 0;
    mask &= (uint64_t{1} << 52) - 1;
    while (mask) {
        cards[n++] = __builtin_ctzll(mask);
        mask &= mask - 1;
    }
    return n;
}

bool isExist(int v, const int* array, int n)
{
    for (int i = 0; i < n; ++i) {
        if (array[i] == v) {
            return true;
        }
    }
    return false;
}
