// The C interface's texts: a point written and read in a locale's formats, in UTF-16.
//
// The library formats and reads in the locale's ANSI code page (C_Time::Format,
// SetLocFormatTime); the texts cross over to UTF-16 by that same code page, so that every
// character the locale's formats use arrives as it is.
#include <cstdint>

#include "timelib/c_api.h"
#include "timelib/c_time.h"
#include "timelib/civil.h"

using quendel::c_api::Guard;
using quendel::c_api::TicksOk;

namespace quendel::c_api {
qt_status ResolveWall(const quendel::zone::ZoneYears& years, std::uint64_t wall, qt_local_result* result);
}

namespace {

constexpr int kKnownFlags = QT_FMT_SECONDS | QT_FMT_TIME | QT_FMT_DATE | QT_FMT_MSECONDS | QT_FMT_YEAR4;

// The locale's ANSI code page, as the narrow locale calls use it; 0 for an unknown locale.
UINT CodePageOf(unsigned long lcid) {
    DWORD page = 0;
    if (GetLocaleInfoW(lcid, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&page),
                       sizeof page / sizeof(wchar_t)) <= 0)
        return 0;
    return page == 0 ? CP_ACP : page;  // a Unicode-only locale: the system's
}

// Local time of a zone as UTC in the record that has no offset: the wall reading itself.
const TIME_ZONE_INFORMATION kUtc = {};

}  // namespace

extern "C" qt_status QT_CALL quendel_time_format(qt_zone z, qt_int64 ticks, int flags, unsigned long lcid,
                                                 wchar_t* buffer, int capacity, int* length) {
    if ((flags & ~kKnownFlags) != 0 || !(flags & (QT_FMT_DATE | QT_FMT_TIME))) return QT_E_ARGUMENT;
    if (!buffer && capacity != 0) return QT_E_ARGUMENT;
    if (!TicksOk(ticks) || ticks == 0) return QT_E_RANGE;  // tick 0 is C_Time's invalid point
    return Guard([&] {
        const UINT page = CodePageOf(lcid);
        if (page == 0) return QT_E_ARGUMENT;
        // Never the process's user zone: the handle's wall clock (by the history's changes in
        // its years, which a year's record does not always hold), or UTC.
        const std::uint64_t wall = z ? z->years.WallOf(static_cast<std::uint64_t>(ticks)) : static_cast<std::uint64_t>(ticks);
        if (wall == quendel::zone::kNoTicks || wall == 0) return QT_E_RANGE;
        const C_Time point(wall);
        char narrow[300];
        point.Format(narrow, sizeof narrow, flags | FMT_UTC, lcid, &kUtc);
        wchar_t wide[300];
        const int n = MultiByteToWideChar(page, 0, narrow, -1, wide, 300);
        if (n <= 0) return QT_E_SYSTEM;
        return quendel::c_api::WriteText(wide, n - 1, buffer, capacity, length);
    });
}

extern "C" qt_status QT_CALL quendel_time_parse(qt_zone z, const wchar_t* text, int flags, unsigned long lcid,
                                                qt_local_result* result) {
    // Milliseconds are written, never read (SetLocFormatTime reads to the second).
    if (!text || !result || (flags & ~(kKnownFlags & ~QT_FMT_MSECONDS)) != 0 || !(flags & QT_FMT_DATE))
        return QT_E_ARGUMENT;
    return Guard([&] {
        const UINT page = CodePageOf(lcid);
        if (page == 0) return QT_E_ARGUMENT;
        // A character the locale's code page cannot hold appears in none of its formats.
        char narrow[300];
        BOOL lossy = FALSE;
        BOOL* lossyOut = page == CP_UTF8 ? nullptr : &lossy;
        if (WideCharToMultiByte(page, 0, text, -1, narrow, sizeof narrow, nullptr, lossyOut) <= 0 ||
            lossy)
            return QT_E_PARSE;
        // Read as UTC fields, then resolved in the zone with both candidates.
        C_Time wall(1);
        if (!wall.SetLocFormatTime(narrow, flags, lcid, &kUtc))
            return wall.IsInvalid() ? QT_E_NO_SUCH_DATE : QT_E_PARSE;  // a date the calendar lacks, or no reading
        const std::uint64_t ticks = wall.GetTimeUTC();
        if (!z) {
            if (result->cbSize < sizeof(qt_local_result)) return QT_E_STRUCT_SIZE;
            result->kind = QT_LOCAL_UNIQUE;
            result->earlier = result->later = static_cast<qt_int64>(ticks);
            return QT_OK;
        }
        return quendel::c_api::ResolveWall(z->years, ticks, result);
    });
}
