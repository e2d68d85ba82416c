// Evaluation of a time-zone record's summer-time rules: pure arithmetic on tick counts.
//
// A record has summer time when both change-over dates have a month and the same form:
// the rule form (wYear 0: the wDay-th wDayOfWeek of wMonth, 5 or more meaning the last, at
// wHour:wMinute:wSecond.wMilliseconds local time) or the absolute form (one complete local
// date and time). DaylightDate is given in local standard time, StandardDate in local
// summer time. A record whose dates cannot be placed (month 13, weekday 9, hour 30, 31 June)
// is treated as a zone without summer time.
#pragma once

#include <windows.h>

#include <cstdint>

#include "timelib/civil.h"

namespace quendel::zone {

enum class SummerForm { kNone, kRule, kAbsolute };

SummerForm FormOf(const TIME_ZONE_INFORMATION& zone);

// The local wall-clock ticks of a rule-form change-over in the given year; false when the
// rule names no valid day and time (month outside 1-12, weekday above 6, occurrence 0, a
// time of day out of range) or the year lies outside 1601-30827.
bool RuleWallTicks(const SYSTEMTIME& rule, int year, std::uint64_t* wall);

// Which standard bias the evaluation applies: the platform's conversion adds StandardBias
// outside summer time (and so to the start of summer, given in standard time); the summer
// test of C_Time::IsSummerTime uses Bias alone.
enum class StandardBiasUse { kIgnore, kApply };

struct Period {
    std::uint64_t start;  // UTC, inclusive
    std::uint64_t end;    // UTC, exclusive
};

// The summer period that begins in the given local year (rule form: the summer may end in
// the next year), or the record's one period (absolute form). False without summer time.
bool SummerPeriod(const TIME_ZONE_INFORMATION& zone, int year, StandardBiasUse use, Period* period);

// Whether the UTC instant lies in summer time: in the period of its own year or in one that
// began the year before (southern hemisphere) or begins in the next UTC year's first hours.
bool InSummer(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use);

// The summer test of a UTC instant together with the period that begins in its UTC year
// (rule form) or the record's one period (absolute form).
struct Evaluation {
    bool summer;
    bool hasPeriod;  // false without summer time
    Period period;   // of the instant's UTC year
};
Evaluation Evaluate(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use);

// UTC to local wall-clock ticks (platform contract: local = UTC - Bias - DaylightBias in
// summer, UTC - Bias - StandardBias outside); kNoTicks when the result leaves the tick
// range. Returned in a register: the fields of the result are usually wanted next.
inline constexpr std::uint64_t kNoTicks = ~0ull;
std::uint64_t WallOf(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc);

// Local wall-clock ticks to UTC. Each reading is converted by the regime in force at that
// wall-clock time; a reading the change to summer time skips counts as standard time, one
// the change back repeats as its summer-time occurrence. kNoTicks outside the tick range.
std::uint64_t UtcOf(const TIME_ZONE_INFORMATION& zone, std::uint64_t wall);

// The same for a record of a set whose records stay as they are while its stamp does (see
// ZoneYears), kind numbering the record within the set: the per-thread cache finds the
// record's answers by the two numbers, without comparing the record.
std::uint64_t WallOf(const TIME_ZONE_INFORMATION& zone, unsigned kind, std::uint64_t stamp, std::uint64_t utc);
std::uint64_t UtcOf(const TIME_ZONE_INFORMATION& zone, unsigned kind, std::uint64_t stamp, std::uint64_t wall);

// The per-thread caches held now: one for each thread that has converted and not yet ended.
long LiveThreadCaches();
// Frees every thread's cache and both slots; for the DLL's unloading only, as no thread
// converts then (dll_main.cpp).
void ReleaseThreadCaches();

// ---- The definitions, evaluated in full on every call. InSummer, Evaluate, WallOf and
// UtcOf above give the same answers from a per-thread cache (zone_cache.cpp), which is
// built from these and checked against them.
namespace detail {

// Minutes of bias as a tick offset; records hold any 32-bit value, the product fits 64 bits.
constexpr std::int64_t MinutesToTicks(LONG minutes) {
    return static_cast<std::int64_t>(minutes) * static_cast<std::int64_t>(civil::kTicksPerMinute);
}

// base + offset when the sum stays on the tick scale [0, civil::kMaxTicks].
bool Shift(std::uint64_t base, std::int64_t offset, std::uint64_t* out);

int UtcYear(std::uint64_t utc);  // utc <= civil::kMaxTicks

inline bool Contains(const Period& p, std::uint64_t t) { return p.start <= t && t < p.end; }

// The periods beginning in the UTC years year - 1 ... year + 2 (has[i]: whether there is
// one), and the first tick of year + 1.
std::uint64_t PeriodsAround(const TIME_ZONE_INFORMATION& zone, int year, StandardBiasUse use, bool has[4],
                            Period periods[4]);
// Whether utc lies in one of those periods that may hold it.
bool SummerAmong(const bool has[4], const Period periods[4], std::uint64_t nextYear, std::uint64_t utc);

bool SummerInFull(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use);
Evaluation EvaluateInFull(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use);

}  // namespace detail

}  // namespace quendel::zone
