// C_TimeSpan: a signed duration in 100-nanosecond ticks.
//
// One signed 64-bit count; 0x7FFFFFFFFFFFFFFF is the invalid span (and the default), 0 a
// valid empty one. Arithmetic wraps modulo 2^64 and never looks at validity.
//
//   C_TimeSpan minute(60, 10000000);         // 600 000 000 ticks
//   C_TimeSpan s(1, 2, 3, 4, 5);             // 1 day 02:03:04.005 = 93 784 005 ms
//   C_TimeSpan(-19000000).RasterIt(second)   // -1.9 s truncates toward zero: -1 s
#pragma once

#include <windows.h>

#include <string>

#include "timelib/export.h"
#include "timelib/format_flags.h"

class C_String;

class C_TimeSpan {
public:
    QTL_API C_TimeSpan();                      // invalid
    QTL_API C_TimeSpan(__int64 ticks);
    QTL_API C_TimeSpan(long count, long unit);  // count x unit, the full 64-bit product
    // ((days x 24 + hours) x 60 + minutes) x 60 000 + seconds x 1000 + milliseconds, as a
    // 32-bit millisecond total that wraps beyond 24 days 20:31:23.647 (see SetMSeconds).
    QTL_API C_TimeSpan(int days, int hours, int minutes, int seconds, int milliseconds);
    QTL_API C_TimeSpan(const C_TimeSpan& other);
    QTL_API C_TimeSpan(FILETIME& ft);
    QTL_API const C_TimeSpan& operator=(const C_TimeSpan& other);

    QTL_API bool operator==(const C_TimeSpan& other) const;
    QTL_API bool operator!=(const C_TimeSpan& other) const;
    QTL_API bool operator<(const C_TimeSpan& other) const;  // signed
    QTL_API bool operator<=(const C_TimeSpan& other) const;
    QTL_API bool operator>(const C_TimeSpan& other) const;
    QTL_API bool operator>=(const C_TimeSpan& other) const;
    QTL_API C_TimeSpan operator+(const C_TimeSpan& other) const;
    QTL_API C_TimeSpan operator-(const C_TimeSpan& other) const;
    QTL_API const C_TimeSpan& operator+=(C_TimeSpan other);
    QTL_API const C_TimeSpan& operator-=(C_TimeSpan other);
    QTL_API operator __int64() const;

    QTL_API bool IsValid() const;
    QTL_API bool IsInvalid() const;
    QTL_API void SetInvalid();

    QTL_API bool GetFileTime(FILETIME* ft) const;  // always true
    QTL_API long GetSeconds() const;               // ticks / 10^7 toward zero, low 32 bits
    QTL_API unsigned long GetMSeconds() const;     // ticks / 10^4 toward zero, low 32 bits
    QTL_API void SetSeconds(long seconds);
    QTL_API void SetMSeconds(unsigned long ms);    // read as signed: 0xFFFFFFFF is -1 ms

    // Whole divisors in the span, toward zero, low 32 bits. A zero divisor gives 0.
    QTL_API int DivTime(const C_TimeSpan& divisor) const;
    // Truncates toward zero to a multiple of raster. A zero raster changes nothing.
    QTL_API void RasterIt(const C_TimeSpan& raster);

    // value x scale / range in double precision, truncated toward zero (low 32 bits):
    // with range the span of an axis of scale pixels, the pixel of an offset.
    // Results beyond the 64-bit range saturate to INT_MAX or INT_MIN; a NaN gives 0.
    // Always true.
    QTL_API static bool TimeToInteger(int scale, const C_TimeSpan& range, const C_TimeSpan& value, int& result);
    // range x position / scale, truncated toward zero: the offset of a pixel. A result
    // beyond the 64-bit range (or a NaN) gives the invalid span. Always true.
    QTL_API static bool IntegerToTime(int scale, const C_TimeSpan& range, int position, C_TimeSpan& result);

    // Fixed German patterns: FMT_DAYS gives "1 Tag", "2 Tage", or "2 - " before the time;
    // FMT_TIME "03:04", with FMT_SECONDS "03:04:05", with FMT_MSECONDS too "03:04:05,006".
    // Spans under a day have no day count. A negative span shows its magnitude behind one
    // minus: "-01:02", "-2 Tage", "-00:00:00,005". An invalid span gives " ???". The buffer
    // form writes at most capacity bytes, always terminated.
    QTL_API const char* Format(char* buffer, unsigned int capacity, int flags) const;
    QTL_API const char* Format(C_String& text, int flags) const;
    QTL_API const char* Format(std::string& text, int flags) const;

private:
    __int64 m_span;
};
