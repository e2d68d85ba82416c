#include "timelib/zone_rules.h"

#include <cstring>

#include "timelib/civil.h"

namespace quendel::zone {
namespace {

using civil::kTicksPerMinute;

// Minutes of bias as a tick offset; records hold any 32-bit value, the product fits 64 bits.
constexpr std::int64_t MinutesToTicks(LONG minutes) {
    return static_cast<std::int64_t>(minutes) * static_cast<std::int64_t>(kTicksPerMinute);
}

// base + offset when the sum stays on the tick scale [0, kMaxTicks].
bool Shift(std::uint64_t base, std::int64_t offset, std::uint64_t* out) {
    if (base > civil::kMaxTicks) return false;
    const std::int64_t sum = static_cast<std::int64_t>(base) + offset;  // |offset| < 2^62: no overflow
    if (sum < 0) return false;
    *out = static_cast<std::uint64_t>(sum);
    return true;
}

int UtcYear(std::uint64_t utc) {
    std::uint32_t days;
    std::uint64_t tickOfDay;
    civil::SplitDays(utc, &days, &tickOfDay);
    return civil::CivilFromDays(days).year;
}

bool Contains(const Period& p, std::uint64_t t) { return p.start <= t && t < p.end; }

}  // namespace

SummerForm FormOf(const TIME_ZONE_INFORMATION& zone) {
    const SYSTEMTIME& s = zone.StandardDate;
    const SYSTEMTIME& d = zone.DaylightDate;
    if (s.wMonth == 0 || d.wMonth == 0) return SummerForm::kNone;
    if (s.wYear == 0 && d.wYear == 0) return SummerForm::kRule;
    if (s.wYear != 0 && d.wYear != 0) return SummerForm::kAbsolute;
    return SummerForm::kNone;  // mixed forms
}

bool RuleWallTicks(const SYSTEMTIME& rule, int year, std::uint64_t* wall) {
    if (year < civil::kMinYear || year > civil::kMaxYear || rule.wMonth < 1 || rule.wMonth > 12 ||
        rule.wDayOfWeek > 6 || rule.wDay < 1 || rule.wHour > 23 || rule.wMinute > 59 || rule.wSecond > 59 ||
        rule.wMilliseconds > 999)
        return false;
    const std::uint32_t firstOfMonth = static_cast<std::uint32_t>(civil::DaysFromCivil(year, rule.wMonth, 1));
    const unsigned weekdayOfFirst = civil::WeekdayFromDays(firstOfMonth);                // [0, 6]
    const unsigned firstMatch = (rule.wDayOfWeek + 7u - weekdayOfFirst) % 7u;            // [0, 6]
    const unsigned occurrence = rule.wDay < 5 ? rule.wDay : 5u;                         // [1, 5]
    unsigned offset = firstMatch + (occurrence - 1) * 7;                                 // [0, 34]
    const unsigned length = civil::DaysInMonth(year, rule.wMonth);
    while (offset >= length) offset -= 7;  // a fifth occurrence that is not there: the last one
    const std::uint32_t msOfDay =
        ((rule.wHour * 60u + rule.wMinute) * 60u + rule.wSecond) * 1000u + rule.wMilliseconds;
    *wall = (firstOfMonth + offset) * civil::kTicksPerDay + msOfDay * civil::kTicksPerMillisecond;
    return true;
}

bool SummerPeriod(const TIME_ZONE_INFORMATION& zone, int year, StandardBiasUse use, Period* period) {
    std::uint64_t startWall, endWall;
    switch (FormOf(zone)) {
    case SummerForm::kNone:
        return false;
    case SummerForm::kAbsolute:
        if (!civil::FieldsToTicks(zone.DaylightDate, &startWall) || !civil::FieldsToTicks(zone.StandardDate, &endWall))
            return false;
        break;
    case SummerForm::kRule: {
        // A summer that runs over the new year ends in the next one.
        const int endYear = zone.StandardDate.wMonth < zone.DaylightDate.wMonth ? year + 1 : year;
        if (!RuleWallTicks(zone.DaylightDate, year, &startWall) || !RuleWallTicks(zone.StandardDate, endYear, &endWall))
            return false;
        break;
    }
    }
    const LONG standardBias = use == StandardBiasUse::kApply ? zone.StandardBias : 0;
    // The start is read on the standard-time clock, the end on the summer-time clock.
    return Shift(startWall, MinutesToTicks(zone.Bias) + MinutesToTicks(standardBias), &period->start) &&
           Shift(endWall, MinutesToTicks(zone.Bias) + MinutesToTicks(zone.DaylightBias), &period->end);
}

namespace {

// Summer periods of one record, kept per thread: callers convert many points of the same
// zone in a row, and rebuilding the periods around a year costs several rule evaluations.
// The time line is cut into buckets of 2^48 ticks (about 326 days, so a bucket touches at
// most two UTC years), found without any calendar arithmetic. The key holds every field
// the evaluation reads, so a changed record never meets a stale entry: a new key starts a
// new generation, which retires every bucket.
struct RuleKey {
    std::uint32_t words[12];  // biases, both change-over dates, the standard bias use

    bool operator==(const RuleKey& other) const {
        std::uint32_t difference = 0;  // no early exit: twelve words compare in a few cycles
        for (int i = 0; i < 12; ++i) difference |= words[i] ^ other.words[i];
        return difference == 0;
    }
};

constexpr int kBucketShift = 48;
constexpr int kCachedBuckets = 1024;  // direct-mapped; 1601 to 2400 fit without collisions

struct BucketEntry {
    std::uint32_t generation;  // 0: never filled
    std::uint32_t bucket;
    std::uint64_t nextYear;    // the first tick of the second UTC year the bucket touches
    bool has[4];               // periods beginning in the bucket's first year - 1 ... + 2
    Period periods[4];
};

struct ZoneCache {
    RuleKey key;
    std::uint32_t generation;
    BucketEntry buckets[kCachedBuckets];
};

RuleKey KeyOf(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use) {
    RuleKey key;
    key.words[0] = static_cast<std::uint32_t>(zone.Bias);
    key.words[1] = static_cast<std::uint32_t>(zone.StandardBias);
    key.words[2] = static_cast<std::uint32_t>(zone.DaylightBias);
    static_assert(sizeof(SYSTEMTIME) == 16);
    std::memcpy(&key.words[3], &zone.StandardDate, 16);
    std::memcpy(&key.words[7], &zone.DaylightDate, 16);
    // Without a standard bias both uses give the same periods: share their entries.
    key.words[11] = zone.StandardBias == 0 ? 0u : static_cast<std::uint32_t>(use);
    return key;
}

thread_local ZoneCache* t_cache = nullptr;  // made on first use, kept for the thread's life

// The periods around utc (<= kMaxTicks) for a rule-form record.
const BucketEntry& PeriodsAround(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    if (!t_cache) {
        static thread_local ZoneCache storage = {};
        t_cache = &storage;
    }
    ZoneCache& cache = *t_cache;
    const RuleKey key = KeyOf(zone, use);
    if (cache.generation == 0 || !(key == cache.key)) {
        cache.key = key;
        if (++cache.generation == 0) cache.generation = 1;  // after 2^32 records: wrap past "never"
        if (cache.generation == 1)
            for (BucketEntry& e : cache.buckets) e.generation = 0;
    }
    const std::uint32_t bucket = static_cast<std::uint32_t>(utc >> kBucketShift);  // [0, 32767]
    BucketEntry& e = cache.buckets[bucket % kCachedBuckets];
    if (e.generation != cache.generation || e.bucket != bucket) {
        const int first = UtcYear(static_cast<std::uint64_t>(bucket) << kBucketShift);
        e.nextYear = static_cast<std::uint32_t>(civil::DaysFromCivil(first + 1, 1, 1)) * civil::kTicksPerDay;
        for (int i = 0; i < 4; ++i) e.has[i] = SummerPeriod(zone, first - 1 + i, use, &e.periods[i]);
        e.bucket = bucket;
        e.generation = cache.generation;
    }
    return e;
}

}  // namespace

Evaluation Evaluate(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    Evaluation e = {false, false, {0, 0}};
    const SummerForm form = FormOf(zone);
    if (form == SummerForm::kNone || utc > civil::kMaxTicks) return e;
    if (form == SummerForm::kAbsolute) {
        e.hasPeriod = SummerPeriod(zone, 0, use, &e.period);
        e.summer = e.hasPeriod && Contains(e.period, utc);
        return e;
    }
    // The local year may differ from the UTC year near the new year, and a southern summer
    // that began last year still runs in January: the neighbours count too.
    const BucketEntry& c = PeriodsAround(zone, utc, use);
    const int own = utc < c.nextYear ? 1 : 2;  // the period beginning in utc's UTC year
    e.hasPeriod = c.has[own];
    if (e.hasPeriod) e.period = c.periods[own];
    for (int i = own - 1; i <= own + 1; ++i)
        if (c.has[i] && Contains(c.periods[i], utc)) e.summer = true;
    return e;
}

bool InSummer(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    return Evaluate(zone, utc, use).summer;
}

bool UtcToWall(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, std::uint64_t* wall) {
    const LONG extra = InSummer(zone, utc, StandardBiasUse::kApply) ? zone.DaylightBias : zone.StandardBias;
    return Shift(utc, -(MinutesToTicks(zone.Bias) + MinutesToTicks(extra)), wall);
}

bool WallToUtc(const TIME_ZONE_INFORMATION& zone, std::uint64_t wall, std::uint64_t* utc) {
    std::uint64_t summer;
    if (FormOf(zone) != SummerForm::kNone &&
        Shift(wall, MinutesToTicks(zone.Bias) + MinutesToTicks(zone.DaylightBias), &summer) &&
        InSummer(zone, summer, StandardBiasUse::kApply)) {
        *utc = summer;  // a summer-time reading, the first of a repeated pair included
        return true;
    }
    // Standard time, and the readings that the change to summer time skips.
    return Shift(wall, MinutesToTicks(zone.Bias) + MinutesToTicks(zone.StandardBias), utc);
}

}  // namespace quendel::zone
