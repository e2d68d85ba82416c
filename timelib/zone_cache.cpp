// The per-thread cache behind the zone conversions: the same answers as the definitions in
// zone_rules.cpp, without their rule evaluations on every call.
#include <winternl.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>

#include "timelib/civil.h"
#include "timelib/zone_rules.h"

namespace quendel::zone {

using namespace detail;

namespace {

// The summer answers of one record, kept per thread: callers convert many points of the
// same zone in a row, and rebuilding the periods around a year costs several rule
// evaluations. The time line is cut into buckets of 2^48 ticks (about 326 days, so a
// bucket touches at most two UTC years), found without any calendar arithmetic. Within a
// bucket the answer is a step function: the answer at the bucket's first tick and the
// ticks where it changes. Two changes suffice for every record whose summers begin at
// least a bucket apart and do not overlap; a record that needs more is evaluated in full.
//
// Most records are served by the kinds of years instead: a rule picks the n-th weekday of
// a month, so the change-overs of every year lie at the same distance from its first tick
// as those of any year that begins on the same weekday with leap years in the same places
// around it (the year before to two after, which the evaluation reads). There are 35
// kinds, each a year's step function, kept per record; where a bucket's years meet and
// their kinds is the same for every record, kept once per thread for 1024 buckets (about
// 900 years, 1601-2400 without a collision). A point thus costs two loads, and points
// spread over the centuries miss no more than those of one lifetime. Kinds hold for the
// years whose neighbours stay in the range and for offsets within a week, where every
// shift stays on the tick scale; other records and years keep buckets of their own.
//
// The key holds every field the evaluation reads, compared on each call, so a changed
// record never meets a stale entry: a new key starts a new generation, which retires
// every bucket.
struct RuleKey {
    std::uint64_t dates[4];   // StandardDate, DaylightDate
    std::uint32_t biases[4];  // StandardBias, DaylightBias, Bias, the standard bias use
};

inline std::uint64_t Load64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline std::uint32_t Load32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

static_assert(offsetof(TIME_ZONE_INFORMATION, StandardBias) == offsetof(TIME_ZONE_INFORMATION, StandardDate) + 16);
static_assert(offsetof(TIME_ZONE_INFORMATION, DaylightBias) == offsetof(TIME_ZONE_INFORMATION, DaylightDate) + 16);

inline const unsigned char* StandardFields(const TIME_ZONE_INFORMATION& zone) {
    return reinterpret_cast<const unsigned char*>(&zone.StandardDate);  // the date, then StandardBias
}

inline const unsigned char* DaylightFields(const TIME_ZONE_INFORMATION& zone) {
    return reinterpret_cast<const unsigned char*>(&zone.DaylightDate);  // the date, then DaylightBias
}

// Without a standard bias both uses give the same answers: they share their entries.
inline std::uint32_t UseWord(std::uint32_t standardBias, StandardBiasUse use) {
    return standardBias == 0 ? 0u : static_cast<std::uint32_t>(use);
}

RuleKey KeyOf(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use) {
    const unsigned char* standard = StandardFields(zone);
    const unsigned char* daylight = DaylightFields(zone);
    RuleKey key;
    key.dates[0] = Load64(standard);
    key.dates[1] = Load64(standard + 8);
    key.dates[2] = Load64(daylight);
    key.dates[3] = Load64(daylight + 8);
    key.biases[0] = Load32(standard + 16);
    key.biases[1] = Load32(daylight + 16);
    key.biases[2] = static_cast<std::uint32_t>(zone.Bias);
    key.biases[3] = UseWord(key.biases[0], use);
    return key;
}

// Compared straight against the record, word by word, without building a key first.
inline bool MatchesKey(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use, const RuleKey& key) {
    const unsigned char* standard = StandardFields(zone);
    const unsigned char* daylight = DaylightFields(zone);
    const std::uint64_t dates = (Load64(standard) ^ key.dates[0]) | (Load64(standard + 8) ^ key.dates[1]) |
                                (Load64(daylight) ^ key.dates[2]) | (Load64(daylight + 8) ^ key.dates[3]);
    const std::uint32_t standardBias = Load32(standard + 16);
    const std::uint32_t biases = (standardBias ^ key.biases[0]) | (Load32(daylight + 16) ^ key.biases[1]) |
                                 (static_cast<std::uint32_t>(zone.Bias) ^ key.biases[2]) |
                                 (UseWord(standardBias, use) ^ key.biases[3]);
    return (dates | biases) == 0;
}

// a when pick is false, b when it is true, without a branch: the summer answer of random
// points is a coin toss the processor cannot predict.
inline std::uint64_t Select(bool pick, std::uint64_t a, std::uint64_t b) {
    std::uint32_t bit = pick;
    __asm__("" : "+r"(bit));  // keeps the compiler from turning the choice back into a branch
    const std::uint64_t mask = 0 - static_cast<std::uint64_t>(bit);
    return a ^ ((a ^ b) & mask);
}

constexpr int kBucketShift = 48;
// Direct-mapped, for records and years the kinds do not serve: 16 buckets of about 326
// days hold 14 years.
constexpr int kCachedBuckets = 16;
// Direct-mapped, shared by the records.
constexpr int kSplits = 1024;

constexpr std::uint8_t kSummerAtStart = 1;
constexpr std::uint8_t kHasFirst = 2;   // a period begins in the bucket's first UTC year (a kind: in its year)
constexpr std::uint8_t kHasSecond = 4;  // ... in the second
constexpr std::uint8_t kTooMany = 8;    // a kind whose year holds more changes than two

// Kinds: the weekday of 1 January (0-6) times five, plus where the one leap year among the
// year before to two after lies: 0 none, 1 the year before, 2 the year, 3 and 4 the next two.
constexpr unsigned kKinds = 35;
// The UTC years served by kinds: their periods' years (one before to two after, ending up
// to a year later) stay within 1602-30826, a week's shift of them on the tick scale.
constexpr std::uint8_t kFirstLeap = 0x80;  // beside a kind: no division by five to find the year's length
constexpr int kFirstKindYear = civil::kMinYear + 2;
constexpr int kLastKindYear = civil::kMaxYear - 4;
constexpr std::int64_t kKindOffsetLimit = 7 * static_cast<std::int64_t>(civil::kTicksPerDay);

struct Bucket {           // 32 bytes
    std::uint32_t tag;    // generation << 16 | utc >> 48; generation 0 (never current) when the
                          // bucket is empty or holds more changes than two
    std::uint8_t flags;
    std::uint64_t nextYear;    // the first tick of the second UTC year the bucket touches
    std::uint64_t changes[2];  // ascending; unused ones UINT64_MAX
};

// Where the two UTC years of a bucket meet, and their kinds.
struct YearSplit {           // 8 bytes
    std::uint16_t tag;       // the bucket's index (utc >> 48) plus one; 0 empty
    std::uint8_t kinds[2];   // the first's with kFirstLeap where its year has 366 days
    std::uint32_t nextJan1;  // the day of 1 January of the second year
};

// The step function of summer over one UTC year, in ticks from its first one.
struct YearKind {               // 40 bytes
    std::uint32_t generation;   // the way's generation it was made in; 0 never
    std::uint8_t flags;         // kSummerAtStart, kHasFirst, kTooMany
    std::uint64_t changes[2];   // ascending; unused ones UINT64_MAX
    std::uint64_t period[2];    // of the period beginning in the year, modulo 2^64 (it may begin before)
};

struct ZoneCache {
    RuleKey key;
    std::uint32_t generation;  // [1, 65535] once a record is in; its buckets and kinds carry it
    SummerForm form;
    bool byKinds;              // offsets within kKindOffsetLimit
    std::uint64_t offsets[2];  // UTC minus wall clock outside and in summer, as the conversions apply it
    YearSplit* splits;         // the thread's
    Bucket buckets[kCachedBuckets];
    YearKind kinds[kKinds];
};

// A thread alternates between a few records: the years of a zone with per-year rules, or
// the zones it compares. Each keeps a cache of its own; the one used last is tried first.
constexpr unsigned kWays = 3;

// A record of a stamped set (ZoneYears) is found through its link: the way that held it
// when last looked up by its contents. A way taking another record drops its links, so a
// link whose stamp matches names the record's way without a comparison; kinds from kLinks
// on are looked up by their contents.
constexpr unsigned kLinks = 8;

struct Link {
    std::uint64_t stamp;  // 0: none (stamps begin at 1)
    unsigned way;
};

struct ThreadCaches {
    YearSplit splits[kSplits];
    ZoneCache ways[kWays];
    ZoneCache* current;  // the way used last, kept as its address: no multiplication to find it
    unsigned victim;   // the way a record not held replaces next, round robin
    Link links[kLinks];  // by kind
};

// The tag a current bucket for utc carries. A point beyond kMaxTicks has bit 15 set and
// never meets a bucket, which holds at most index 32767.
inline std::uint32_t TagOf(const ZoneCache& cache, std::uint64_t utc) {
    return cache.generation << 16 | static_cast<std::uint32_t>(utc >> kBucketShift);
}

inline std::uint32_t SlotOf(std::uint64_t utc) {
    return static_cast<std::uint32_t>(utc >> kBucketShift) % kCachedBuckets;
}

static_assert(sizeof(ThreadCaches) <= 16384, "a thread's caches stay within 16 KB");

// The calling thread's cache, made on its first conversion: zeroed heap memory, so that the
// image carries no template of it. Its address sits in a system TLS slot, read on every
// conversion, and in an FLS slot, whose callback frees it when the thread ends; freeing the
// FLS slot when a host unloads the library (ReleaseThreadCaches) frees every thread's cache
// still held, and the TLS slot goes too. At process exit they stay: static destructors run
// while other threads may still convert, and the system reclaims everything. Without a slot
// (none left) conversions evaluate in full. The slot numbers are kept plus one, so that a
// conversion before the library's initialisation (zeroes) finds no slot.
void WINAPI FreeThreadCache(void* caches);

struct Slots {
    DWORD tlsPlusOne = TlsAlloc() + 1;  // 0 without a slot (TLS_OUT_OF_INDEXES + 1)
    DWORD flsPlusOne = FlsAlloc(FreeThreadCache) + 1;
    std::atomic<long> live{0};  // caches held, for the tests
    bool Usable() const { return tlsPlusOne != 0 && flsPlusOne != 0; }
} g_slots;

void WINAPI FreeThreadCache(void* caches) {
    if (!caches) return;
    if (g_slots.tlsPlusOne != 0 && TlsGetValue(g_slots.tlsPlusOne - 1) == caches) TlsSetValue(g_slots.tlsPlusOne - 1, nullptr);
    HeapFree(GetProcessHeap(), 0, caches);
    --g_slots.live;
}

// Null for a thread that cannot have a cache (no slot, no memory): its answers are evaluated
// in full.
__attribute__((noinline)) ThreadCaches* NewThreadCache() {
    if (!g_slots.Usable()) return nullptr;
    // Held already where the TLS read missed it: a block taken on every call would pile up.
    if (void* held = FlsGetValue(g_slots.flsPlusOne - 1)) {
        TlsSetValue(g_slots.tlsPlusOne - 1, held);  // failing, the next call finds it here again
        return static_cast<ThreadCaches*>(held);
    }
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThreadCaches));
    if (!block) return nullptr;
    ThreadCaches* caches = new (block) ThreadCaches;  // trivial: the zeroes stand
    caches->current = caches->ways;
    for (ZoneCache& way : caches->ways) way.splits = caches->splits;
    if (!FlsSetValue(g_slots.flsPlusOne - 1, caches) || !TlsSetValue(g_slots.tlsPlusOne - 1, caches)) {
        FlsSetValue(g_slots.flsPlusOne - 1, nullptr);
        HeapFree(GetProcessHeap(), 0, block);
        return nullptr;
    }
    ++g_slots.live;
    return caches;
}

inline ThreadCaches* ThreadCache() {
    const DWORD slot = g_slots.tlsPlusOne - 1;  // wraps to TLS_OUT_OF_INDEXES without a slot
#if QUENDEL_TLS_ASM
    if (slot < 64) {
        // One load through the segment register that addresses the thread's environment
        // block, where TlsGetValue is a call and NtCurrentTeb()->TlsSlots[slot] two loads.
        void* cached;
#if defined(__x86_64__)
        __asm__("movq %%gs:%c2(,%1,8), %0" : "=r"(cached) : "r"(static_cast<std::uintptr_t>(slot)),
                "i"(offsetof(TEB, TlsSlots)));
#else
        __asm__("movl %%fs:%c2(,%1,4), %0" : "=r"(cached) : "r"(slot), "i"(offsetof(TEB, TlsSlots)));
#endif
        return cached ? static_cast<ThreadCaches*>(cached) : NewThreadCache();
    }
#endif
    // The expansion slots (64 on, taken in a host that holds many) lie outside the block.
    if (slot != TLS_OUT_OF_INDEXES)
        if (void* cached = TlsGetValue(slot)) return static_cast<ThreadCaches*>(cached);
    return NewThreadCache();  // the thread's first call, or no slot
}

// Summer of utc from the periods beginning in the UTC years first - 1 ... first + 2: the
// local year may differ from the UTC year near the new year, and a southern summer that
// began last year still runs in January, so the neighbours count too.
__attribute__((noinline)) void FillBucket(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use, std::uint64_t utc, ZoneCache& cache) {
    Bucket& b = cache.buckets[SlotOf(utc)];
    const std::uint64_t lo = utc >> kBucketShift << kBucketShift;
    const std::uint64_t last = lo + ((1ull << kBucketShift) - 1);  // <= kMaxTicks
    bool has[4];
    Period periods[4];
    const std::uint64_t nextYear = PeriodsAround(zone, UtcYear(lo), use, has, periods);

    // The answer can change only where a period begins or ends, or at the new year.
    std::uint64_t candidates[9];
    int count = 0;
    auto add = [&](std::uint64_t t) {
        if (t > lo && t <= last) candidates[count++] = t;
    };
    add(nextYear);
    for (int i = 0; i < 4; ++i)
        if (has[i]) {
            add(periods[i].start);
            add(periods[i].end);
        }
    for (int i = 1; i < count; ++i)  // at most nine: insertion sort
        for (int j = i; j > 0 && candidates[j] < candidates[j - 1]; --j) std::swap(candidates[j], candidates[j - 1]);

    bool summer = SummerAmong(has, periods, nextYear, lo);
    b.tag = TagOf(cache, utc);
    b.flags = static_cast<std::uint8_t>((summer ? kSummerAtStart : 0) | (has[1] ? kHasFirst : 0) |
                                        (has[2] ? kHasSecond : 0));
    b.changes[0] = b.changes[1] = UINT64_MAX;
    int changes = 0;
    for (int i = 0; i < count; ++i) {
        if (SummerAmong(has, periods, nextYear, candidates[i]) == summer) continue;
        summer = !summer;
        if (changes == 2) {
            b.tag = 0;  // more than two changes: never served from the cache
            break;
        }
        b.changes[changes++] = candidates[i];
    }
    b.nextYear = nextYear;
}

// The kind of a year in [kFirstKindYear, kLastKindYear], whose 1 January is day jan1. Of
// year - 1 ... year + 2 one is divisible by four, at position p: the leap year, unless a
// century's not divisible by 400. Without a branch on the year's remainder, which random
// points would make the processor mispredict.
inline unsigned KindOf(int year, std::uint32_t jan1) {
    const unsigned p = (1u - static_cast<unsigned>(year)) & 3u;                         // [0, 3]
    const unsigned leap = civil::IsLeapYear(year - 1 + static_cast<int>(p)) ? p + 1 : 0u;  // [0, 4]
    return civil::WeekdayFromDays(jan1) * 5u + leap;                                  // [0, 34]
}

inline unsigned YearDays(unsigned kind) { return kind % 5 == 2 ? 366u : 365u; }

inline bool SummerInYear(const YearKind& k, std::uint64_t sinceYearStart) {
    return ((k.flags & kSummerAtStart) != 0) ^ (sinceYearStart >= k.changes[0]) ^ (sinceYearStart >= k.changes[1]);
}

// The kind's entry for the way's record, made from the year's periods when not yet current.
__attribute__((noinline)) void FillKind(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use, int year,
                                        std::uint64_t yearStart, std::uint32_t generation, YearKind& k) {
    bool has[4];
    Period periods[4];
    const std::uint64_t nextYear = PeriodsAround(zone, year, use, has, periods);
    std::uint64_t candidates[8];
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (has[i])
            for (std::uint64_t t : {periods[i].start, periods[i].end})
                if (t > yearStart && t < nextYear) candidates[count++] = t;
    for (int i = 1; i < count; ++i)  // at most eight: insertion sort
        for (int j = i; j > 0 && candidates[j] < candidates[j - 1]; --j) std::swap(candidates[j], candidates[j - 1]);
    bool summer = SummerAmong(has, periods, nextYear, yearStart);
    k.flags = static_cast<std::uint8_t>((summer ? kSummerAtStart : 0) | (has[1] ? kHasFirst : 0));
    k.changes[0] = k.changes[1] = UINT64_MAX;
    int changes = 0;
    for (int i = 0; i < count; ++i) {
        if (SummerAmong(has, periods, nextYear, candidates[i]) == summer) continue;
        summer = !summer;
        if (changes == 2) {
            k.flags |= kTooMany;
            break;
        }
        k.changes[changes++] = candidates[i] - yearStart;
    }
    k.period[0] = has[1] ? periods[1].start - yearStart : 0;
    k.period[1] = has[1] ? periods[1].end - yearStart : 0;
    k.generation = generation;
}

// The thread's cache used last (the thread has caches).
inline ZoneCache& Current() { return *ThreadCache()->current; }

// The thread's cache for the record, made the current one: the way that holds it, or the
// next victim taking it in; null for a thread without caches.
ZoneCache* CacheFor(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use) {
    ThreadCaches* held = ThreadCache();
    if (!held) return nullptr;
    ThreadCaches& caches = *held;
    for (unsigned i = 0; i < kWays; ++i) {
        const unsigned way = (static_cast<unsigned>(caches.current - caches.ways) + i) % kWays;
        if (caches.ways[way].generation != 0 && MatchesKey(zone, use, caches.ways[way].key)) {
            caches.current = &caches.ways[way];
            return &caches.ways[way];
        }
    }
    caches.current = &caches.ways[caches.victim];
    for (Link& link : caches.links)
        if (link.way == caches.victim) link.stamp = 0;
    caches.victim = (caches.victim + 1) % kWays;
    ZoneCache& cache = *caches.current;
    {
        cache.key = KeyOf(zone, use);
        cache.form = FormOf(zone);
        cache.offsets[0] = static_cast<std::uint64_t>(MinutesToTicks(zone.Bias) + MinutesToTicks(zone.StandardBias));
        cache.offsets[1] = static_cast<std::uint64_t>(MinutesToTicks(zone.Bias) + MinutesToTicks(zone.DaylightBias));
        // The start of summer is shifted by Bias alone where the standard bias is ignored.
        const std::int64_t shifts[3] = {MinutesToTicks(zone.Bias), static_cast<std::int64_t>(cache.offsets[0]),
                                        static_cast<std::int64_t>(cache.offsets[1])};
        cache.byKinds = true;
        for (std::int64_t shift : shifts)
            if (shift > kKindOffsetLimit || shift < -kKindOffsetLimit) cache.byKinds = false;
        if (++cache.generation == 0x10000) {  // wrapped: no bucket or kind may keep an old generation's number
            for (Bucket& b : cache.buckets) b.tag = 0;
            for (YearKind& k : cache.kinds) k.generation = 0;
            cache.generation = 1;
        }
    }
    return &cache;
}

// The way holding the record, the one used last tried first; null when none holds it.
__attribute__((noinline)) ZoneCache* OtherWay(ThreadCaches& caches, const TIME_ZONE_INFORMATION& zone,
                                              StandardBiasUse use) {
    for (unsigned way = 0; way < kWays; ++way)
        if (caches.ways[way].generation != 0 && MatchesKey(zone, use, caches.ways[way].key)) {
            caches.current = &caches.ways[way];
            return &caches.ways[way];
        }
    return nullptr;
}

inline ZoneCache* WayOf(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use) {
    ThreadCaches* caches = ThreadCache();
    if (!caches) return nullptr;
    ZoneCache& last = *caches->current;
    return MatchesKey(zone, use, last.key) ? &last : OtherWay(*caches, zone, use);
}

// The bucket of utc in the way, when it is current, else null. Buckets are only ever filled
// for rule-form records.
inline const Bucket* CachedBucket(const ZoneCache* way, std::uint64_t utc) {
    if (!way) return nullptr;
    const Bucket& b = way->buckets[SlotOf(utc)];
    return b.tag == TagOf(*way, utc) ? &b : nullptr;
}

inline bool SummerInBucket(const Bucket& b, std::uint64_t utc) {
    // Branch-free: the answer at the bucket's start, flipped at each change passed.
    return ((b.flags & kSummerAtStart) != 0) ^ (utc >= b.changes[0]) ^ (utc >= b.changes[1]);
}

// The year split of utc's bucket, made when not held; null outside the kinds' years.
__attribute__((noinline)) const YearSplit* NewSplit(YearSplit& s, std::uint64_t utc) {
    const std::uint32_t index = static_cast<std::uint32_t>(utc >> kBucketShift);  // [0, 32767]
    std::uint32_t days;
    std::uint64_t tickOfDay;
    civil::SplitDays(static_cast<std::uint64_t>(index) << kBucketShift, &days, &tickOfDay);
    const int year = civil::CivilFromDays(days).year;
    if (year < kFirstKindYear || year >= kLastKindYear) return nullptr;  // both years served
    const std::uint32_t jan1 = static_cast<std::uint32_t>(civil::DaysFromCivil(year, 1, 1));
    const unsigned kind0 = KindOf(year, jan1);
    s.nextJan1 = jan1 + YearDays(kind0);
    s.kinds[0] = static_cast<std::uint8_t>(kind0 | (YearDays(kind0) == 366 ? kFirstLeap : 0));
    s.kinds[1] = static_cast<std::uint8_t>(KindOf(year + 1, s.nextJan1));
    s.tag = static_cast<std::uint16_t>(index + 1);
    return &s;
}

// Which kind answers utc, and the first tick of its year. The year is picked without a
// branch: random points fall on either side of the new year.
inline unsigned KindOfPoint(const YearSplit& s, std::uint64_t utc, std::uint64_t* yearStart) {
    const std::uint64_t nextYear = s.nextJan1 * civil::kTicksPerDay;
    const bool second = utc >= nextYear;
    const std::uint64_t firstDays = 365u + (s.kinds[0] >> 7);
    *yearStart = Select(second, nextYear - firstDays * civil::kTicksPerDay, nextYear);
    return s.kinds[second] & (0xFFu ^ kFirstLeap);
}

// The summer answer of utc (<= kMaxTicks) from the kinds, when its split is held and its
// kind current for the way; false otherwise.
inline bool HeldKindAnswer(const ZoneCache& way, std::uint64_t utc, bool* summer) {
    const std::uint32_t index = static_cast<std::uint32_t>(utc >> kBucketShift);
    const YearSplit& s = way.splits[index % kSplits];
    if (s.tag != index + 1) return false;
    std::uint64_t yearStart;
    const YearKind& k = way.kinds[KindOfPoint(s, utc, &yearStart)];
    if ((k.generation != way.generation) | ((k.flags & kTooMany) != 0)) return false;  // never made without byKinds
    *summer = SummerInYear(k, utc - yearStart);
    return true;
}

// The kind of utc's UTC year for the way's record, its split and the kind made where not
// held, with the year's first tick; null where kinds do not serve.
const YearKind* KindAt(const TIME_ZONE_INFORMATION& zone, StandardBiasUse use, std::uint64_t utc, ZoneCache& cache,
                       std::uint64_t* yearStart) {
    if (!cache.byKinds || utc > civil::kMaxTicks) return nullptr;
    const std::uint32_t index = static_cast<std::uint32_t>(utc >> kBucketShift);
    YearSplit& held = cache.splits[index % kSplits];
    const YearSplit* s = held.tag == index + 1 ? &held : NewSplit(held, utc);
    if (!s) return nullptr;
    const unsigned kind = KindOfPoint(*s, utc, yearStart);
    YearKind& k = cache.kinds[kind];
    if (k.generation != cache.generation) FillKind(zone, use, UtcYear(*yearStart), *yearStart, cache.generation, k);
    return k.flags & kTooMany ? nullptr : &k;
}

// Where a summer answer came from: a bucket, the kind of its year, or neither (evaluated
// in full).
struct Source {
    const Bucket* bucket;
    const YearKind* kind;
    std::uint64_t yearStart;  // of the kind's year
};

// The summer answer of utc from what the way holds, a kind or a bucket, without making
// anything; false when it holds neither. utc <= kMaxTicks or a bucket's index beyond.
inline bool HeldSummer(const ZoneCache* way, std::uint64_t utc, bool* summer) {
    if (!way) return false;
    if (HeldKindAnswer(*way, utc, summer)) return true;
    const Bucket* b = CachedBucket(way, utc);
    if (!b) return false;
    *summer = SummerInBucket(*b, utc);
    return true;
}

// The summer answer, with its source.
bool SummerAnswer(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use, Source* from) {
    *from = Source{nullptr, nullptr, 0};
    if (utc > civil::kMaxTicks) return false;
    ZoneCache* way = CacheFor(zone, use);
    if (way && way->form == SummerForm::kRule) {
        ZoneCache& cache = *way;
        if (const YearKind* k = KindAt(zone, use, utc, cache, &from->yearStart)) {
            from->kind = k;
            return SummerInYear(*k, utc - from->yearStart);
        }
        const Bucket& b = cache.buckets[SlotOf(utc)];
        if (b.tag != TagOf(cache, utc)) FillBucket(zone, use, utc, cache);
        if (b.tag == TagOf(cache, utc)) {
            from->bucket = &b;
            return SummerInBucket(b, utc);
        }
    }
    return SummerInFull(zone, utc, use);
}

__attribute__((noinline)) bool SlowSummer(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc,
                                          StandardBiasUse use) {
    Source unused;
    return SummerAnswer(zone, utc, use, &unused);
}

// The tick a Shift gives, or kNoTicks.
inline std::uint64_t Shifted(std::uint64_t base, std::int64_t offset) {
    std::uint64_t out;
    return Shift(base, offset, &out) ? out : kNoTicks;
}

}  // namespace

Evaluation Evaluate(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    if (utc > civil::kMaxTicks) return EvaluateInFull(zone, utc, use);
    Source from;
    const bool summer = SummerAnswer(zone, utc, use, &from);
    Evaluation e = {summer, false, {0, 0}};
    if (from.kind) {
        e.hasPeriod = (from.kind->flags & kHasFirst) != 0;
        if (e.hasPeriod) e.period = Period{from.yearStart + from.kind->period[0], from.yearStart + from.kind->period[1]};
        return e;
    }
    const Bucket* b = from.bucket;
    if (!b) return EvaluateInFull(zone, utc, use);
    const int own = utc < b->nextYear ? 0 : 1;  // the period beginning in utc's UTC year
    e.hasPeriod = (b->flags & (own == 0 ? kHasFirst : kHasSecond)) != 0;
    if (e.hasPeriod) SummerPeriod(zone, UtcYear(utc), use, &e.period);  // true: the bucket saw the period
    return e;
}

bool InSummer(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    bool summer;
    if (HeldSummer(WayOf(zone, use), utc, &summer)) return summer;
    return SlowSummer(zone, utc, use);
}

namespace {

__attribute__((noinline)) std::uint64_t WallOfSlow(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc) {
    const std::int64_t standard = MinutesToTicks(zone.Bias) + MinutesToTicks(zone.StandardBias);
    const std::int64_t summer = MinutesToTicks(zone.Bias) + MinutesToTicks(zone.DaylightBias);
    return Shifted(utc, -(SlowSummer(zone, utc, StandardBiasUse::kApply) ? summer : standard));
}

__attribute__((noinline)) std::uint64_t UtcOfSlow(const TIME_ZONE_INFORMATION& zone, std::uint64_t wall) {
    const std::uint64_t standard = Shifted(wall, MinutesToTicks(zone.Bias) + MinutesToTicks(zone.StandardBias));
    const std::uint64_t summer = Shifted(wall, MinutesToTicks(zone.Bias) + MinutesToTicks(zone.DaylightBias));
    return summer != kNoTicks && SlowSummer(zone, summer, StandardBiasUse::kApply) ? summer : standard;
}

}  // namespace

namespace {

// The cached wall-clock reading of utc in the way, or false when the way holds no current
// bucket for it. Both offsets lie within 2^62 of zero, utc within the range: a result below
// zero wraps above kMaxTicks. The offset is picked with a mask: the reading goes straight
// into the division of the calendar fields, and the mask is ready sooner than a load.
inline bool CachedWall(const ZoneCache* cache, std::uint64_t utc, std::uint64_t* wall) {
    bool summer;
    if (!HeldSummer(cache, utc, &summer)) return false;
    const std::uint64_t w = utc - Select(summer, cache->offsets[0], cache->offsets[1]);
    *wall = w <= civil::kMaxTicks ? w : kNoTicks;
    return true;
}

// A summer-time reading, the first of a repeated pair included, reads back on the summer
// clock; standard time, and the readings that the change to summer time skips, on the
// standard one. The offset is picked by indexing with the answer, which takes fewer
// registers than a mask on this longer path.
inline bool CachedUtc(const ZoneCache* cache, std::uint64_t wall, std::uint64_t* utc) {
    if (!cache || wall > civil::kMaxTicks) return false;
    const std::uint64_t summer = wall + cache->offsets[1];
    if (summer > civil::kMaxTicks) return false;
    bool inSummer;
    if (!HeldSummer(cache, summer, &inSummer)) return false;
    const std::uint64_t u = wall + cache->offsets[inSummer];
    *utc = u <= civil::kMaxTicks ? u : kNoTicks;
    return true;
}

// The way a link names, or null.
inline ZoneCache* LinkedWay(unsigned kind, std::uint64_t stamp) {
    ThreadCaches* caches = kind < kLinks ? ThreadCache() : nullptr;
    if (!caches) return nullptr;
    const Link& link = caches->links[kind];
    return link.stamp == stamp ? &caches->ways[link.way] : nullptr;
}

// Links the record to the way that holds it now, if any.
void LinkWay(const TIME_ZONE_INFORMATION& zone, unsigned kind, std::uint64_t stamp) {
    ThreadCaches* caches = kind < kLinks ? ThreadCache() : nullptr;
    if (!caches) return;
    if (const ZoneCache* way = WayOf(zone, StandardBiasUse::kApply))
        caches->links[kind] = Link{stamp, static_cast<unsigned>(way - caches->ways)};
}

}  // namespace

std::uint64_t WallOf(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc) {
    std::uint64_t wall;
    ZoneCache* way = WayOf(zone, StandardBiasUse::kApply);
    if (CachedWall(way, utc, &wall)) return wall;
    return WallOfSlow(zone, utc);
}

std::uint64_t UtcOf(const TIME_ZONE_INFORMATION& zone, std::uint64_t wall) {
    std::uint64_t utc;
    ZoneCache* way = WayOf(zone, StandardBiasUse::kApply);
    if (CachedUtc(way, wall, &utc)) return utc;
    return UtcOfSlow(zone, wall);
}

namespace {

__attribute__((noinline)) std::uint64_t WallOfLinking(const TIME_ZONE_INFORMATION& zone, unsigned kind,
                                                      std::uint64_t stamp, std::uint64_t utc) {
    const std::uint64_t wall = WallOf(zone, utc);
    LinkWay(zone, kind, stamp);
    return wall;
}

__attribute__((noinline)) std::uint64_t UtcOfLinking(const TIME_ZONE_INFORMATION& zone, unsigned kind,
                                                     std::uint64_t stamp, std::uint64_t wall) {
    const std::uint64_t utc = UtcOf(zone, wall);
    LinkWay(zone, kind, stamp);
    return utc;
}

}  // namespace

std::uint64_t WallOf(const TIME_ZONE_INFORMATION& zone, unsigned kind, std::uint64_t stamp, std::uint64_t utc) {
    std::uint64_t wall;
    ZoneCache* way = LinkedWay(kind, stamp);
    if (CachedWall(way, utc, &wall)) return wall;
    return WallOfLinking(zone, kind, stamp, utc);
}

std::uint64_t UtcOf(const TIME_ZONE_INFORMATION& zone, unsigned kind, std::uint64_t stamp, std::uint64_t wall) {
    std::uint64_t utc;
    ZoneCache* way = LinkedWay(kind, stamp);
    if (CachedUtc(way, wall, &utc)) return utc;
    return UtcOfLinking(zone, kind, stamp, wall);
}

long LiveThreadCaches() { return g_slots.live.load(); }

void ReleaseThreadCaches() {
    if (g_slots.flsPlusOne != 0) FlsFree(g_slots.flsPlusOne - 1);  // calls FreeThreadCache for every thread's cache
    if (g_slots.tlsPlusOne != 0) TlsFree(g_slots.tlsPlusOne - 1);
    g_slots.tlsPlusOne = g_slots.flsPlusOne = 0;
}

}  // namespace quendel::zone
