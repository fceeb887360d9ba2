// Units of the 100-ns tick count and its wrapping arithmetic.
#pragma once

#include <cstdint>

constexpr int64_t TICKS_PER_MICROSECOND = 10;
constexpr int64_t TICKS_PER_MILLISECOND = 10'000;
constexpr int64_t TICKS_PER_SECOND = 10'000'000;
constexpr int64_t SECONDS_PER_DAY = 86'400;
constexpr int64_t TICKS_PER_DAY = TICKS_PER_SECOND * SECONDS_PER_DAY;

// Tick counts wrap on overflow; unsigned arithmetic gives the same bits without UB.
constexpr int64_t WrapAdd(int64_t a, int64_t b)
{
    return (int64_t)((uint64_t)a + (uint64_t)b);
}

constexpr int64_t WrapSub(int64_t a, int64_t b)
{
    return (int64_t)((uint64_t)a - (uint64_t)b);
}
