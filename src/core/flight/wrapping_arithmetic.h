// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>

// The flight arithmetic is defined on 32-bit two's complement integers. Steps are computed in
// 64 bits and cut to 32, so an overflow wraps as the device's own firmware arithmetic would,
// without relying on undefined behaviour.
namespace vtl {

inline int32_t wrap32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// Truncating division of two 32-bit values; the caller guarantees a nonzero divisor.
// INT32_MIN / -1 wraps back to INT32_MIN instead of trapping.
inline int32_t divide32(int32_t dividend, int32_t divisor) {
    return wrap32(static_cast<int64_t>(dividend) / divisor);
}

// Truncation of a floating-point value toward zero into 32 bits. Values outside the 64-bit range
// and NaN give 0x80000000, the value x86 conversions produce for them.
inline int32_t truncateToInt32(double value) {
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (!(value > -kLimit && value < kLimit)) {
        return INT32_MIN;
    }
    return wrap32(static_cast<int64_t>(value));
}

} // namespace vtl
