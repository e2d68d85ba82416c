#include "timelib/c_timespan.h"

#include <climits>
#include <cstdint>

#include "timelib/tick_math.h"

namespace {

constexpr __int64 kInvalidSpan = 0x7FFFFFFFFFFFFFFFll;

// Signed division toward zero that is defined for every operand: a zero divisor gives 0,
// and INT64_MIN / -1 wraps to INT64_MIN as the platform's 64-bit arithmetic does.
std::int64_t Quotient(std::int64_t dividend, std::int64_t divisor) {
    if (divisor == 0) return 0;
    if (divisor == -1) return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(dividend));
    return dividend / divisor;
}

std::int64_t Wrap(std::uint64_t bits) { return static_cast<std::int64_t>(bits); }

}  // namespace

C_TimeSpan::C_TimeSpan() : m_span(kInvalidSpan) {}
C_TimeSpan::C_TimeSpan(__int64 ticks) : m_span(ticks) {}
C_TimeSpan::C_TimeSpan(long count, long unit) : m_span(static_cast<__int64>(count) * unit) {}

C_TimeSpan::C_TimeSpan(int days, int hours, int minutes, int seconds, int milliseconds) : m_span(0) {
    // The total is a 32-bit millisecond count; it wraps past 24 days 20:31:23.647, computed
    // unsigned so that the wrap is defined.
    const std::uint32_t total =
        ((static_cast<std::uint32_t>(days) * 24u + static_cast<std::uint32_t>(hours)) * 60u +
         static_cast<std::uint32_t>(minutes)) * 60000u +
        static_cast<std::uint32_t>(seconds) * 1000u + static_cast<std::uint32_t>(milliseconds);
    SetMSeconds(total);
}

C_TimeSpan::C_TimeSpan(const C_TimeSpan& other) = default;
C_TimeSpan::C_TimeSpan(FILETIME& ft)
    : m_span(Wrap(static_cast<std::uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime)) {}
const C_TimeSpan& C_TimeSpan::operator=(const C_TimeSpan& other) {
    m_span = other.m_span;
    return *this;
}

bool C_TimeSpan::operator==(const C_TimeSpan& other) const { return m_span == other.m_span; }
bool C_TimeSpan::operator!=(const C_TimeSpan& other) const { return m_span != other.m_span; }
bool C_TimeSpan::operator<(const C_TimeSpan& other) const { return m_span < other.m_span; }
bool C_TimeSpan::operator<=(const C_TimeSpan& other) const { return m_span <= other.m_span; }
bool C_TimeSpan::operator>(const C_TimeSpan& other) const { return m_span > other.m_span; }
bool C_TimeSpan::operator>=(const C_TimeSpan& other) const { return m_span >= other.m_span; }

C_TimeSpan C_TimeSpan::operator+(const C_TimeSpan& other) const {
    return C_TimeSpan(Wrap(static_cast<std::uint64_t>(m_span) + static_cast<std::uint64_t>(other.m_span)));
}
C_TimeSpan C_TimeSpan::operator-(const C_TimeSpan& other) const {
    return C_TimeSpan(Wrap(static_cast<std::uint64_t>(m_span) - static_cast<std::uint64_t>(other.m_span)));
}
const C_TimeSpan& C_TimeSpan::operator+=(C_TimeSpan other) { return *this = *this + other; }
const C_TimeSpan& C_TimeSpan::operator-=(C_TimeSpan other) { return *this = *this - other; }
C_TimeSpan::operator __int64() const { return m_span; }

bool C_TimeSpan::IsValid() const { return m_span != kInvalidSpan; }
bool C_TimeSpan::IsInvalid() const { return m_span == kInvalidSpan; }
void C_TimeSpan::SetInvalid() { m_span = kInvalidSpan; }

bool C_TimeSpan::GetFileTime(FILETIME* ft) const {
    if (!ft) return false;
    const std::uint64_t bits = static_cast<std::uint64_t>(m_span);
    ft->dwLowDateTime = static_cast<DWORD>(bits);
    ft->dwHighDateTime = static_cast<DWORD>(bits >> 32);
    return true;
}

long C_TimeSpan::GetSeconds() const {
    return static_cast<long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(m_span / 10000000)));
}

unsigned long C_TimeSpan::GetMSeconds() const {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(m_span / 10000));
}

void C_TimeSpan::SetSeconds(long seconds) { m_span = static_cast<__int64>(seconds) * 10000000; }

void C_TimeSpan::SetMSeconds(unsigned long ms) {
    m_span = static_cast<__int64>(static_cast<std::int32_t>(static_cast<std::uint32_t>(ms))) * 10000;
}

int C_TimeSpan::DivTime(const C_TimeSpan& divisor) const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Quotient(m_span, divisor.m_span)));
}

void C_TimeSpan::RasterIt(const C_TimeSpan& raster) {
    if (raster.m_span == 0) return;
    m_span = Wrap(static_cast<std::uint64_t>(Quotient(m_span, raster.m_span)) * static_cast<std::uint64_t>(raster.m_span));
}

bool C_TimeSpan::TimeToInteger(int scale, const C_TimeSpan& range, const C_TimeSpan& value, int& result) {
    const double position = static_cast<double>(value.m_span) * scale / static_cast<double>(range.m_span);
    std::int64_t whole;
    if (quendel::TruncateToInt64(position, &whole))
        result = static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
    else
        result = position != position ? 0 : position > 0 ? INT_MAX : INT_MIN;
    return true;
}

bool C_TimeSpan::IntegerToTime(int scale, const C_TimeSpan& range, int position, C_TimeSpan& result) {
    const double ticks = static_cast<double>(range.m_span) * position / scale;
    std::int64_t whole;
    result.m_span = quendel::TruncateToInt64(ticks, &whole) ? whole : kInvalidSpan;
    return true;
}
