// The C interface's zones: handles opened by registry key, from the machine or by IANA name,
// and the conversions between UTC and local time through them.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

#include "timelib/c_api.h"
#include "timelib/civil.h"
#include "timelib/time_source.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

namespace civil = quendel::civil;
namespace zone = quendel::zone;
using quendel::c_api::Guard;
using quendel::c_api::SizeOk;
using quendel::c_api::TicksOk;

namespace quendel::c_api {
bool StoreFields(std::uint64_t wall, int offset, int summer, qt_fields* f);  // c_api_utc.cpp
qt_status FieldsToWall(const qt_fields* f, std::uint64_t* wall);
}  // namespace quendel::c_api

namespace {

constexpr std::size_t kFieldsV1 = offsetof(qt_fields, is_summer) + sizeof(int);
constexpr std::size_t kResultV1 = offsetof(qt_local_result, later) + sizeof(qt_int64);
constexpr std::size_t kChangesV1 = offsetof(qt_changes, end) + sizeof(qt_int64);

// Hands a new handle out, or keeps the old value of *out on failure.
qt_status Publish(std::unique_ptr<qt_zone_s> z, qt_zone* out) {
    *out = z.release();
    return QT_OK;
}

// The zone's key and display name from the database.
void Name(qt_zone_s* z, const char* key) {
    zone::RegistryZone read;
    z->key = quendel::c_api::Wide(key);
    if (zone::ReadRegistryZone(key, &read)) z->display = quendel::c_api::Wide(read.display);
}

// A key of the database as the registry's narrow calls take it: ASCII in practice; anything
// the code page cannot hold, a path separator or an empty name names no zone.
bool KeyToAnsi(const wchar_t* key, char (&ansi)[128]) {
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, key, -1, ansi, sizeof ansi, nullptr, &lossy);
    return n > 1 && !lossy && std::find(ansi, ansi + n, '\\') == ansi + n;
}

// Local minus UTC, in minutes, of a UTC instant whose wall reading is known.
int OffsetMinutes(std::uint64_t utc, std::uint64_t wall) {
    const qt_int64 d = static_cast<qt_int64>(wall) - static_cast<qt_int64>(utc);
    return static_cast<int>(d / static_cast<qt_int64>(civil::kTicksPerMinute));
}

// In the years of an IANA history by its changes: a year's record there holds only one
// summer that begins and ends in the year (not Casablanca's two in 2013, nor Sydney's of 1971/72).
bool Summer(const zone::ZoneYears& years, std::uint64_t utc) {
    zone::Evaluation e;
    std::uint64_t wall;
    if (years.HistorySummer(utc, &e, &wall)) return e.summer;
    return zone::InSummer(years.AtUtc(utc), utc, zone::StandardBiasUse::kApply);
}

// The summer that begins in the year, by the history's changes where it answers the year.
bool SummerOfYear(const zone::ZoneYears& years, int year, zone::Period* period) {
    zone::Evaluation e;
    std::uint64_t wall, midYear;
    if (civil::DateTimeToTicks(year, 7, 1, 0, 0, 0, 0, &midYear) && years.HistorySummer(midYear, &e, &wall)) {
        *period = e.period;
        return e.hasPeriod;
    }
    return zone::SummerPeriod(years.ForYear(year), year, zone::StandardBiasUse::kApply, period);
}

// The local year of a UTC instant; 0 off the scale.
int LocalYear(const zone::ZoneYears& years, std::uint64_t utc) {
    SYSTEMTIME s;
    const std::uint64_t wall = years.WallOf(utc);
    return wall != zone::kNoTicks && civil::TicksToFields(wall, &s) ? s.wYear : 0;
}

}  // namespace

extern "C" qt_status QT_CALL quendel_time_zone_open_key(const wchar_t* key, qt_zone* out) {
    if (!key || !out) return QT_E_ARGUMENT;
    return Guard([&] {
        char ansi[128];
        auto z = std::make_unique<qt_zone_s>();
        if (!KeyToAnsi(key, ansi) || !z->years.Read(ansi)) return QT_E_NOT_FOUND;
        Name(z.get(), ansi);
        return Publish(std::move(z), out);
    });
}

extern "C" qt_status QT_CALL quendel_time_zone_open_machine(qt_zone* out) {
    if (!out) return QT_E_ARGUMENT;
    return Guard([&] {
        DYNAMIC_TIME_ZONE_INFORMATION machine = {};
        char key[128];
        if (quendel::ReadMachineDynamicZone(&machine, key, sizeof key) == TIME_ZONE_ID_INVALID) return QT_E_SYSTEM;
        TIME_ZONE_INFORMATION record;
        std::memcpy(&record, &machine, sizeof record);  // the same fields, in the same order
        // Automatic summer time switched off: Windows keeps the zone on standard time.
        const bool noSummer = machine.DynamicDaylightTimeDisabled != 0;
        if (noSummer) record.StandardDate = record.DaylightDate = SYSTEMTIME{}, record.DaylightBias = 0;
        auto z = std::make_unique<qt_zone_s>();
        z->years = zone::ZoneYears(record);
        // With the per-year records or the history of its key, where there are any.
        zone::ZoneYears perYear;
        if (key[0] && perYear.Read(key)) {
            if (!noSummer && (perYear.HasYears() || perYear.HistoryName()[0])) z->years = std::move(perYear);
            Name(z.get(), key);
        }
        return Publish(std::move(z), out);
    });
}

extern "C" qt_status QT_CALL quendel_time_zone_open_iana(const wchar_t* name, qt_zone* out) {
    if (!name || !out) return QT_E_ARGUMENT;
    return Guard([&] {
        auto z = std::make_unique<qt_zone_s>();
        const char* key = nullptr;
        const qt_status s = quendel::c_api::OpenIanaZone(name, &z->years, &key);
        if (s != QT_OK) return s;
        Name(z.get(), key);  // the key whose records follow the history's last year
        return Publish(std::move(z), out);
    });
}

extern "C" qt_status QT_CALL quendel_time_zone_close(qt_zone z) {
    delete z;
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_to_local(qt_zone z, qt_int64 ticks, qt_fields* local) {
    if (!z || !local) return QT_E_ARGUMENT;
    if (!SizeOk(local->cbSize, kFieldsV1)) return QT_E_STRUCT_SIZE;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    return Guard([&] {
        const std::uint64_t utc = static_cast<std::uint64_t>(ticks), wall = z->years.WallOf(utc);
        if (wall == zone::kNoTicks) return QT_E_RANGE;
        return quendel::c_api::StoreFields(wall, OffsetMinutes(utc, wall), Summer(z->years, utc), local) ? QT_OK
                                                                                                      : QT_E_RANGE;
    });
}

namespace quendel::c_api {

// The UTC instants that read as the wall ticks, by every offset in force around them.
qt_status ResolveWall(const zone::ZoneYears& years, std::uint64_t wall, qt_local_result* result) {
    if (!SizeOk(result->cbSize, kResultV1)) return QT_E_STRUCT_SIZE;
    // The records of the reading's local year and of the days beside it, where a year's
    // record may change the offsets, and the offsets in force a day before and after, which
    // in a history's years are not always a record's (Moscow's move to +4 in 2011).
    std::int64_t offsets[9];
    int n = 0;
    for (const std::uint64_t at : {wall, wall - std::min(wall, civil::kTicksPerDay), wall + civil::kTicksPerDay}) {
        const std::uint64_t clamped = std::min(at, civil::kMaxTicks);
        const TIME_ZONE_INFORMATION& r = years.AtWall(clamped);
        offsets[n++] = zone::detail::MinutesToTicks(r.Bias) + zone::detail::MinutesToTicks(r.StandardBias);
        if (zone::FormOf(r) != zone::SummerForm::kNone)
            offsets[n++] = zone::detail::MinutesToTicks(r.Bias) + zone::detail::MinutesToTicks(r.DaylightBias);
        const std::uint64_t utc = years.UtcOf(clamped);
        // UTC minus local, as the records' biases count (in unsigned ticks: no overflow).
        if (utc != zone::kNoTicks) offsets[n++] = static_cast<std::int64_t>(utc - clamped);
    }
    bool any = false, anyCandidate = false;
    std::uint64_t first = 0, last = 0, low = 0, high = 0;
    for (int i = 0; i < n; ++i) {
        std::uint64_t utc;
        if (!zone::detail::Shift(wall, offsets[i], &utc)) continue;
        low = anyCandidate ? std::min(low, utc) : utc;
        high = anyCandidate ? std::max(high, utc) : utc;
        anyCandidate = true;
        if (years.WallOf(utc) != wall) continue;
        first = any ? std::min(first, utc) : utc;
        last = any ? std::max(last, utc) : utc;
        any = true;
    }
    if (!anyCandidate) return QT_E_RANGE;
    result->kind = any ? (first == last ? QT_LOCAL_UNIQUE : QT_LOCAL_REPEATED) : QT_LOCAL_SKIPPED;
    result->earlier = static_cast<qt_int64>(any ? first : low);
    result->later = static_cast<qt_int64>(any ? last : high);
    return QT_OK;
}

}  // namespace quendel::c_api

extern "C" qt_status QT_CALL quendel_time_from_local(qt_zone z, const qt_fields* local, qt_local_result* result) {
    if (!z || !result) return QT_E_ARGUMENT;
    return Guard([&] {
        std::uint64_t wall;
        const qt_status s = quendel::c_api::FieldsToWall(local, &wall);
        return s == QT_OK ? quendel::c_api::ResolveWall(z->years, wall, result) : s;
    });
}

extern "C" qt_status QT_CALL quendel_time_is_summer(qt_zone z, qt_int64 ticks, int* summer) {
    if (!z || !summer) return QT_E_ARGUMENT;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    return Guard([&] {
        *summer = Summer(z->years, static_cast<std::uint64_t>(ticks)) ? 1 : 0;
        return QT_OK;
    });
}

extern "C" qt_status QT_CALL quendel_time_changes(qt_zone z, int year, qt_changes* changes) {
    if (!z || !changes) return QT_E_ARGUMENT;
    if (!SizeOk(changes->cbSize, kChangesV1)) return QT_E_STRUCT_SIZE;
    if (year < civil::kMinYear || year > civil::kMaxYear) return QT_E_RANGE;
    return Guard([&] {
        // The summer that begins in the year, and the one that began the year before, whose
        // end falls in this year in the southern hemisphere.
        zone::Period now{}, before{};
        const bool hasNow = SummerOfYear(z->years, year, &now);
        const bool hasBefore = year > civil::kMinYear && SummerOfYear(z->years, year - 1, &before);
        changes->reserved = 0;
        changes->has_start = hasNow && LocalYear(z->years, now.start) == year;
        changes->start = changes->has_start ? static_cast<qt_int64>(now.start) : 0;
        const bool endNow = hasNow && LocalYear(z->years, now.end) == year;
        const bool endBefore = hasBefore && LocalYear(z->years, before.end) == year;
        changes->has_end = endNow || endBefore;
        changes->end = endBefore ? static_cast<qt_int64>(before.end) : endNow ? static_cast<qt_int64>(now.end) : 0;
        return QT_OK;
    });
}
