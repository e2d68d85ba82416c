// The C interface's pasted timestamps: the library's readers and writers, with the local
// forms read and written in a zone handle.
#include <cstring>
#include <string>

#include "timelib/c_api.h"
#include "timelib/civil.h"
#include "timelib/time_source.h"
#include "timelib/timestamp_forms.h"

namespace civil = quendel::civil;
namespace stamp = quendel::stamp;
using quendel::c_api::Guard;
using quendel::c_api::TicksOk;

namespace quendel::c_api {
qt_status ResolveWall(const quendel::zone::ZoneYears& years, std::uint64_t wall, qt_local_result* result);
}

// The interface's numbers are the library's forms: a form added to the library goes last in
// both, so that no number changes meaning.
static_assert(QT_STAMP_COUNT == static_cast<int>(stamp::StampForm::kCount), "one number a form");
static_assert(QT_STAMP_USER_TEXT == static_cast<int>(stamp::StampForm::kUserText) &&
                  QT_STAMP_UNIX_SECONDS == static_cast<int>(stamp::StampForm::kUnixSeconds) &&
                  QT_STAMP_DOTNET_TICKS == static_cast<int>(stamp::StampForm::kDotNetTicks) &&
                  QT_STAMP_GPS == static_cast<int>(stamp::StampForm::kGps) &&
                  QT_STAMP_DOS == static_cast<int>(stamp::StampForm::kDosDateTime),
              "the forms keep their numbers");

namespace {

constexpr std::size_t kLongestText = 200;  // the readers read nothing longer

// The text as the readers take it, without the blanks around it: ASCII kept; any other
// character becomes DEL, which no form contains, so that such a text reads as nothing.
// False for a text over the limit.
bool Narrow(const wchar_t* text, std::string* out) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    while (blank(*text)) ++text;
    std::size_t n = std::wcslen(text);
    while (n > 0 && blank(text[n - 1])) --n;
    if (n > kLongestText) return false;
    for (std::size_t i = 0; i < n; ++i) out->push_back(text[i] < 0x7F ? static_cast<char>(text[i]) : '\x7F');
    return true;
}

// A wall-clock reading of the zone as UTC, as C_Time reads one: a skipped reading in
// standard time (the later instant), a repeated one in summer time (the earlier).
bool WallToUtc(qt_zone z, std::uint64_t wall, std::uint64_t* utc) {
    if (!z) return *utc = wall, true;
    qt_local_result r;
    r.cbSize = sizeof r;
    if (quendel::c_api::ResolveWall(z->years, wall, &r) != QT_OK) return false;
    *utc = static_cast<std::uint64_t>(r.kind == QT_LOCAL_SKIPPED ? r.later : r.earlier);
    return true;
}

}  // namespace

extern "C" qt_status QT_CALL quendel_time_read_stamp(qt_zone z, const wchar_t* text, qt_int64 now, qt_stamp* list,
                                                     int capacity, int* count) {
    if (!text || !count || capacity < 0 || (capacity > 0 && !list) || now < 0) return QT_E_ARGUMENT;
    return Guard([&] {
        std::string narrow;
        stamp::ReadOptions options;
        if (now == 0) {
            FILETIME clock;
            quendel::ReadClock(&clock);
            options.now = static_cast<std::uint64_t>(clock.dwHighDateTime) << 32 | clock.dwLowDateTime;
        } else {
            options.now = static_cast<std::uint64_t>(now);
        }
        qt_stamp found[QT_STAMP_COUNT];
        bool seen[QT_STAMP_COUNT] = {};
        int n = 0;
        if (Narrow(text, &narrow)) {
            for (const stamp::StampCandidate& c : stamp::ReadTimestamp(narrow, options)) {
                const int form = static_cast<int>(c.form);
                std::uint64_t utc = c.ticks;
                if (form < 0 || form >= QT_STAMP_COUNT || seen[form]) continue;  // the first of a form
                if (c.local && !WallToUtc(z, c.ticks, &utc)) continue;
                if (utc > civil::kMaxTicks) continue;
                seen[form] = true;
                found[n++] = qt_stamp{form, c.local ? 1 : 0, static_cast<qt_int64>(utc)};
            }
        }
        *count = n;
        if (n > capacity) return QT_E_BUFFER_TOO_SMALL;
        if (n > 0) std::memcpy(list, found, sizeof found[0] * static_cast<std::size_t>(n));
        return QT_OK;
    });
}

extern "C" qt_status QT_CALL quendel_time_write_stamp(qt_zone z, int form, qt_int64 ticks, wchar_t* buffer,
                                                      int capacity, int* length) {
    if (form < 0 || form >= QT_STAMP_COUNT || form == QT_STAMP_USER_TEXT) return QT_E_ARGUMENT;
    if (!buffer && capacity != 0) return QT_E_ARGUMENT;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    return Guard([&] {
        const std::uint64_t utc = static_cast<std::uint64_t>(ticks);
        const std::uint64_t wall = z ? z->years.WallOf(utc) : utc;
        if (wall == quendel::zone::kNoTicks) return QT_E_RANGE;
        const std::string text = stamp::WriteTimestamp(static_cast<stamp::StampForm>(form), utc, wall);
        if (text.empty()) return QT_E_RANGE;
        const std::wstring wide(text.begin(), text.end());  // the writers write ASCII
        return quendel::c_api::WriteText(wide.c_str(), static_cast<int>(wide.size()), buffer, capacity, length);
    });
}

extern "C" qt_status QT_CALL quendel_time_stamp_name(int form, int which, wchar_t* buffer, int capacity,
                                                     int* length) {
    if (form < 0 || form >= QT_STAMP_COUNT || (which != QT_STAMP_NAME_TOKEN && which != QT_STAMP_NAME_GERMAN))
        return QT_E_ARGUMENT;
    const stamp::StampFormInfo& info = stamp::FormInfo(static_cast<stamp::StampForm>(form));
    const char* name = which == QT_STAMP_NAME_TOKEN ? info.token : info.name;
    return Guard([&] {
        // The German names are Windows-1252, whose upper half (the names' "\xB5") is Latin-1's.
        std::wstring wide;
        for (const char* p = name; *p; ++p) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
        return quendel::c_api::WriteText(wide.c_str(), static_cast<int>(wide.size()), buffer, capacity, length);
    });
}
