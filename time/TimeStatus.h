#pragma once

#include <cstdint>

// Validity of a time value; in arithmetic Null wins over Invalid.
enum class TimeStatus : int32_t {
    Valid = 0,
    Invalid = 1,
    Null = 2,
};

// Status of a result computed from two operands.
constexpr TimeStatus CombineStatus(TimeStatus a, TimeStatus b)
{
    if (a == TimeStatus::Null || b == TimeStatus::Null)
        return TimeStatus::Null;
    if (a == TimeStatus::Invalid || b == TimeStatus::Invalid)
        return TimeStatus::Invalid;
    return TimeStatus::Valid;
}
