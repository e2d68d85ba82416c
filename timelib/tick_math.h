// Conversions between double precision and 64-bit tick counts without undefined behaviour.
#pragma once

#include <cstdint>

namespace quendel {

// Truncates toward zero; false for a NaN and for values outside the signed 64-bit range.
inline bool TruncateToInt64(double value, std::int64_t* out) {
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) return false;
    *out = static_cast<std::int64_t>(value);
    return true;
}

}  // namespace quendel
