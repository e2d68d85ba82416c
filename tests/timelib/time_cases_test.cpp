// C_Time and C_TimeSpan, one operation a row: tests/data/time_cases.tsv holds the cases,
// worked out from the calendar, from worked examples and with other tools, and the generated
// zone_answers.tsv and calendar_answers.tsv more; this program runs them in order. A point is UTC text ("2003-12-24 12:00:00.000", converted by the
// platform), "#<ticks>" or "invalid"; a zone is a name from tests/data/zones.tsv, or "null"
// for the user time zone. Setters start from the point #77, so "#77" means "kept".
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "strings/c_string.h"
#include "support/data_table.h"
#include "support/locale_scope.h"
#include "support/user_zone_scope.h"
#include "timelib/c_time.h"
#include "timelib/c_timezone.h"

struct C_TimeTestPeer {  // the private zone operations that the library exports
    static void SearchDaylLimiter(SYSTEMTIME& rule, FILETIME* at) { C_Time::SearchDaylLimiter(rule, at); }
    static int DaysOfMonth(unsigned short y, unsigned short m) { return C_Time::DaysOfMonth(y, m); }
    static bool UtcToLocal(const TIME_ZONE_INFORMATION* z, const SYSTEMTIME* u, SYSTEMTIME* l) {
        return C_Time::SystemTimeToLocalSystemTime(z, u, l);
    }
    static bool LocalToUtc(const TIME_ZONE_INFORMATION* z, const SYSTEMTIME* l, FILETIME* u) {
        return C_Time::LocalSystemTimeToFileTime(z, l, u);
    }
};

namespace {

using data_table::Int;
using Row = data_table::Row;

// "2003-12-24 13:45:10.123" or "2003 12 24 13 45 10 123": as many numbers as are written.
SYSTEMTIME Fields(const std::string& s) {
    int v[8] = {};
    std::sscanf(s.c_str(), s.find('-') != std::string::npos ? "%d-%d-%d %d:%d:%d.%d" : "%d %d %d %d %d %d %d %d",
                &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]);
    return SYSTEMTIME{WORD(v[0]), WORD(v[1]), 0, WORD(v[2]), WORD(v[3]), WORD(v[4]), WORD(v[5]), WORD(v[6])};
}

std::string Text(const SYSTEMTIME& f) {
    char s[64];
    std::snprintf(s, sizeof s, "%04u-%02u-%02u %02u:%02u:%02u.%03u %u", f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute,
                  f.wSecond, f.wMilliseconds, f.wDayOfWeek);
    return s;
}

C_Time Point(const std::string& s) {
    if (s == "invalid") return C_Time();
    if (s[0] == '#') return C_Time(data_table::Uint(s.substr(1)));
    FILETIME ft;
    const SYSTEMTIME f = Fields(s);
    EXPECT_TRUE(SystemTimeToFileTime(&f, &ft)) << s;
    return C_Time(ft);
}

// As the platform reads the ticks, without the weekday; "#<ticks>" beyond its range or
// between milliseconds.
std::string Text(const C_Time& t) {
    if (t.IsInvalid()) return "invalid";
    if (t.GetTimeUTC() % 10000 != 0) return "#" + std::to_string(t.GetTimeUTC());  // below a millisecond
    FILETIME ft;
    SYSTEMTIME f;
    t.GetFileTime(&ft);
    if (!FileTimeToSystemTime(&ft, &f)) return "#" + std::to_string(t.GetTimeUTC());
    const std::string s = Text(f);
    return s.substr(0, s.rfind(' '));
}

std::string B(bool b) { return b ? "true" : "false"; }
std::string D(double d) {
    char s[40];
    std::snprintf(s, sizeof s, "%.17g", d);
    return s;
}

std::map<std::string, TIME_ZONE_INFORMATION> Zones() {
    std::map<std::string, TIME_ZONE_INFORMATION> zones;
    for (const Row& r : data_table::Read("zones.tsv")) {
        TIME_ZONE_INFORMATION z = {};
        std::sscanf(r[1].c_str(), "%ld %ld %ld", &z.Bias, &z.DaylightBias, &z.StandardBias);
        for (int i = 0; i < 2; ++i) {
            WORD* w = &(i ? z.DaylightDate : z.StandardDate).wYear;  // y m weekday d h mi s ms, as laid out
            std::sscanf(r[2 + i].c_str(), "%hu %hu %hu %hu %hu %hu %hu %hu", w, w + 1, w + 2, w + 3, w + 4, w + 5,
                        w + 6, w + 7);
        }
        for (int i = 0; i < 31 && i < static_cast<int>(r[4].size()); ++i) z.StandardName[i] = r[4][i];
        zones[r[0]] = z;
    }
    return zones;
}

const std::map<std::string, LCTYPE> kLocaleItems = {{"SSHORTDATE", LOCALE_SSHORTDATE}, {"STIMEFORMAT", LOCALE_STIMEFORMAT},
                                                    {"S1159", LOCALE_S1159}, {"S2359", LOCALE_S2359},
                                                    {"SDECIMAL", LOCALE_SDECIMAL}};

}  // namespace

TEST(TimeCases, EveryRowOfTheTable) {
    UserZoneScope userZone;
    LocaleScope locale;
    const auto zones = Zones();
    int rows = 0;
    std::vector<Row> table = data_table::Read("time_cases.tsv");
    for (const char* generated : {"zone_answers.tsv", "calendar_answers.tsv"}) {
        const std::vector<Row> more = data_table::Read(generated);
        table.insert(table.end(), more.begin(), more.end());
    }
    for (const Row& r : table) {
        const std::string& op = r[0];
        auto zone = [&](std::size_t i) { return r[i] == "null" ? nullptr : &zones.at(r[i]); };
        C_Time t(77);
        C_TimeSpan s;
        std::string got;
        std::size_t inputs = 1;  // fields before the expected ones
        auto set = [&](bool ok) { return B(ok) + "\t" + Text(t); };  // the answer first, then the point
        SYSTEMTIME f = {};
        if (op == "locale") {
            locale.Set(kLocaleItems.at(r[1]), r[2].c_str());
            continue;
        } else if (op == "userzone") {
            TIME_ZONE_INFORMATION z = zones.at(r[1]);
            C_Time::SetLocTimeZoneInfo(&z);
            continue;
        } else if (op == "userkey") {  // a zone of the database by key name, with its per-year records
            EXPECT_TRUE(C_Time::SetLocTimeZoneByKeyName(r[1].c_str())) << r[1];
            continue;
        } else if (op == "unix_set") {
            got = set(t.SetUnixTime(static_cast<long>(Int(r[1])))), inputs = 2;
        } else if (op == "unix64_set") {
            got = set(t.SetUnixTime64(Int(r[1]))), inputs = 2;
        } else if (op == "unix64_get") {
            got = std::to_string(Point(r[1]).GetUnixTime64()), inputs = 2;
        } else if (op == "unix_get") {
            got = std::to_string(Point(r[1]).GetUnixTime()), inputs = 2;
        } else if (op == "ole_set") {
            got = set(t.SetVariantTimeUTC(std::strtod(r[1].c_str(), nullptr))), inputs = 2;
        } else if (op == "ole_get" || op == "loc_ole") {
            double d = 0;
            const bool ok = op == "ole_get" ? Point(r[1]).GetVariantTimeUTC(&d) : Point(r[2]).GetLocVariantTime(&d, zone(1));
            got = B(ok) + "\t" + D(d), inputs = op == "ole_get" ? 2 : 3;
        } else if (op == "utc_set") {
            int v[7] = {};
            std::sscanf(r[1].c_str(), "%d %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
            got = set(t.SetTimeUTC(v[0], v[1], v[2], v[3], v[4], v[5], v[6])), inputs = 2;
        } else if (op == "st_utc_set" || op == "st_loc_set") {
            f = Fields(r[op == "st_utc_set" ? 1 : 2]);
            const bool ok = op == "st_utc_set" ? t.SetSystemTimeUTC(&f) : t.SetLocSystemTime(&f, zone(1));
            got = B(ok) + "\t" + Text(t), inputs = op == "st_utc_set" ? 2 : 3;
        } else if (op == "utc_get" || op == "loc_get") {
            f.wYear = 99;
            const bool ok = op == "utc_get" ? Point(r[1]).GetSystemTimeUTC(&f) : Point(r[2]).GetLocSystemTime(&f, zone(1));
            got = B(ok) + "\t" + Text(f), inputs = op == "utc_get" ? 2 : 3;
        } else if (op == "loc_set") {
            int v[6] = {};
            std::sscanf(r[2].c_str(), "%d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
            got = set(t.SetLocTime(v[0], v[1], v[2], v[3], v[4], v[5], zone(1)));
            const C_Time built(v[0], v[1], v[2], v[3], v[4], v[5], zone(1));  // the same reading, or invalid
            EXPECT_EQ(built, t.GetTimeUTC() == 77 ? C_Time() : t) << r[2];
            inputs = 3;
        } else if (op == "raster") {
            t = Point(r[1]);
            t.RasterIt(C_TimeSpan(Int(r[2])));
            got = Text(t), inputs = 3;
        } else if (op == "timestr") {
            const bool ok = t.SetTimeStr(r[1].c_str());
            got = B(ok) + "\t" + std::to_string(t.GetTimeUTC()), inputs = 2;
        } else if (op == "ticks_text") {
            C_String text;
            std::string other;
            got = std::string(Point(r[1]).GetTimeStr(text, r[2] == "hex")) + "\t" +
                  Point(r[1]).GetTimeStr(other, r[2] == "hex"), inputs = 3;
        } else if (op == "summer") {
            C_Time start(5), end(5);
            const bool summer = Point(r[2]).IsSummerTime(zone(1), &start, &end, &f);
            EXPECT_EQ(Point(r[2]).IsSummerTime(zone(1)), summer) << r[2];  // each output may be null
            got = B(summer) + "\t" + Text(start) + "\t" + Text(end) + "\t" + Text(f), inputs = 3;
        } else if (op == "rule_day") {
            f = Fields(r[1]);
            f.wDayOfWeek = static_cast<WORD>(Int(r[2]));
            FILETIME at = {1, 1};
            C_TimeTestPeer::SearchDaylLimiter(f, &at);
            got = Text(C_Time(at)), inputs = 3;
        } else if (op == "days_of_month") {
            got = std::to_string(C_TimeTestPeer::DaysOfMonth(WORD(Int(r[1])), WORD(Int(r[2])))), inputs = 3;
        } else if (op == "peer_u2l" || op == "peer_l2u") {
            const SYSTEMTIME in = Fields(r[2]);
            FILETIME ft = {1, 1};
            const bool ok = op == "peer_u2l" ? C_TimeTestPeer::UtcToLocal(zone(1), &in, &f)
                                             : C_TimeTestPeer::LocalToUtc(zone(1), &in, &ft);
            got = B(ok) + "\t" + (op == "peer_u2l" ? Text(f) : Text(C_Time(ft))), inputs = 3;
        } else if (op == "fields") {
            const C_Time p = Point(r[2]);
            const TIME_ZONE_INFORMATION* z = zone(1);
            for (int v : {p.GetLocYear(z), p.GetLocMonth(z), p.GetLocDay(z), p.GetLocHour(z), p.GetLocMinute(z),
                          p.GetLocSecond(z), p.GetLocMilliseconds(z), p.GetLocWeekDay(z), p.GetLocDayOfYear(z),
                          p.GetLocWeekOfYear(z)})
                got += std::to_string(v) + " ";
            got.pop_back(), inputs = 3;
        } else if (op == "starts" || op == "utc_starts") {
            const C_Time p = Point(r[op == "starts" ? 2 : 1]);
            const TIME_ZONE_INFORMATION* z = op == "starts" ? zone(1) : nullptr;
            const C_Time all[] = {
                z ? p.StartYearLOC(z) : p.StartYearUTC(), z ? p.StartMonthLOC(z) : p.StartMonthUTC(),
                z ? p.StartWeekLOC(z) : p.StartWeekUTC(), z ? p.StartDayLOC(z) : p.StartDayUTC(),
                z ? p.StartHour2LOC(z) : p.StartHour2UTC(), z ? p.StartHourLOC(z) : p.StartHourUTC(),
                z ? p.StartMinLOC(z) : p.StartMinUTC(), z ? p.StartSecLOC(z) : p.StartSecUTC(),
                z ? p.EndDayLOC(z) : p.EndDayUTC()};
            for (const C_Time& a : all) got += Text(a) + "\t";
            got.pop_back(), inputs = op == "starts" ? 3 : 2;
        } else if (op == "lengths") {
            const C_Time p = Point(r[2]);
            got = std::to_string(static_cast<__int64>(p.GetLocLenYear(zone(1)))) + "\t" +
                  std::to_string(static_cast<__int64>(p.GetLocLenMonth(zone(1)))) + "\t" +
                  std::to_string(static_cast<__int64>(p.GetLocLenDay(zone(1)))), inputs = 3;
        } else if (op == "format") {  // zone point flags [capacity]: what stands, nothing beyond
            char buffer[300];
            const unsigned capacity = r.size() > 5 ? static_cast<unsigned>(Int(r[4])) : 300u;
            std::memset(buffer, '#', sizeof buffer);
            got = Point(r[2]).Format(buffer, capacity, static_cast<int>(Int(r[3])), LOCALE_USER_DEFAULT, zone(1));
            for (unsigned i = capacity; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << r[2] << " " << capacity;
            std::string other;  // the text forms write the same
            if (capacity == 300) {
                EXPECT_EQ(got, Point(r[2]).Format(other, static_cast<int>(Int(r[3])), LOCALE_USER_DEFAULT, zone(1)));
            }
            inputs = r.size() > 5 ? 5 : 4;
        } else if (op == "names") {  // zone point locale: month, abbreviated month, day, abbreviated day
            C_String text[4];
            const C_Time p = Point(r[2]);
            const unsigned long lcid = static_cast<unsigned long>(Int(r[3]));
            got = std::string(p.GetMonthString(text[0], false, lcid, zone(1))) + "\t" +
                  p.GetMonthString(text[1], true, lcid, zone(1)) + "\t" + p.GetDayString(text[2], false, lcid, zone(1)) +
                  "\t" + p.GetDayString(text[3], true, lcid, zone(1));
            if (r[1] == "null") {  // the std::string forms work in the user zone
                std::string a, b;
                EXPECT_EQ(got.substr(0, got.find('\t')), p.GetMonthString(a, false, lcid));
                EXPECT_NE(got.find(p.GetDayString(b, false, lcid)), std::string::npos);
            }
            inputs = 4;
        } else if (op == "parse") {  // zone flags text
            t = C_Time(42);
            got = set(t.SetLocFormatTime(r[3].c_str(), static_cast<int>(Int(r[2])), LOCALE_USER_DEFAULT, zone(1))), inputs = 4;
        } else if (op == "span_new") {  // days hours minutes seconds ms, or count unit
            int v[5] = {};
            const int n = std::sscanf(r[1].c_str(), "%d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4]);
            s = n == 2 ? C_TimeSpan(static_cast<long>(v[0]), static_cast<long>(v[1])) : C_TimeSpan(v[0], v[1], v[2], v[3], v[4]);
            got = std::to_string(static_cast<__int64>(s)), inputs = 2;
        } else if (op == "span_parts") {  // ticks: seconds, milliseconds
            s = C_TimeSpan(Int(r[1]));
            got = std::to_string(s.GetSeconds()) + "\t" + std::to_string(s.GetMSeconds()), inputs = 2;
        } else if (op == "span_set") {  // seconds ms: the spans they set
            s.SetSeconds(static_cast<long>(Int(r[1])));
            got = std::to_string(static_cast<__int64>(s));
            s.SetMSeconds(static_cast<unsigned long>(data_table::Uint(r[2])));
            got += "\t" + std::to_string(static_cast<__int64>(s)), inputs = 3;
        } else if (op == "span_div") {  // span divisor: quotient, the span rastered by the divisor
            s = C_TimeSpan(Int(r[1]));
            got = std::to_string(s.DivTime(C_TimeSpan(Int(r[2]))));
            s.RasterIt(C_TimeSpan(Int(r[2])));
            got += "\t" + std::to_string(static_cast<__int64>(s)), inputs = 3;
        } else if (op == "span_scale") {  // scale range value position: TimeToInteger, IntegerToTime
            int i = 7;
            const int scale = static_cast<int>(Int(r[1]));
            const bool a = C_TimeSpan::TimeToInteger(scale, C_TimeSpan(Int(r[2])), C_TimeSpan(Int(r[3])), i);
            const bool b = C_TimeSpan::IntegerToTime(scale, C_TimeSpan(Int(r[2])), static_cast<int>(Int(r[4])), s);
            got = B(a && b) + "\t" + std::to_string(i) + "\t" +
                  (s.IsInvalid() ? "invalid" : std::to_string(static_cast<__int64>(s))), inputs = 5;
        } else if (op == "span_format") {  // ticks flags [capacity]
            char buffer[100];
            const unsigned capacity = r.size() > 4 ? static_cast<unsigned>(Int(r[3])) : 100u;
            s = r[1] == "invalid" ? C_TimeSpan() : C_TimeSpan(Int(r[1]));
            got = s.Format(buffer, capacity, static_cast<int>(Int(r[2])));
            C_String text;
            std::string same = "old";
            if (capacity == 100) {
                EXPECT_EQ(got, s.Format(text, static_cast<int>(Int(r[2])))) << r[1];
                EXPECT_TRUE(got == s.Format(same, static_cast<int>(Int(r[2]))) && got == same) << r[1];
            }
            inputs = r.size() > 4 ? 4 : 3;
        } else {
            ADD_FAILURE() << "unknown operation " << op;
            continue;
        }
        std::string expected;  // "*" takes whatever stands in its place
        for (std::size_t i = inputs, from = 0; i < r.size(); ++i, from = got.find('\t', from) + 1)
            expected += (i > inputs ? "\t" : "") + (r[i] == "*" ? got.substr(from, got.find('\t', from) - from) : r[i]);
        std::string row;
        for (const std::string& field : r) row += field + " | ";
        EXPECT_EQ(got, expected) << row;
        ++rows;
    }
    C_Time zero(77);
    zero = 0;  // the tick count, not a null pointer
    EXPECT_TRUE(zero.IsInvalid());
    std::printf("%d rows\n", rows);
}

// Whatever pointer a caller passes: a null one gives false (or the invalid time), never a crash.
TEST(TimeCases, NullInputsAreRefused) {
    C_Time t(77ull), none(static_cast<const char*>(nullptr));
    C_TimeZone zone;
    const bool any[] = {t.SetSystemTimeUTC(nullptr), t.SetLocSystemTime(nullptr), t.GetSystemTimeUTC(nullptr),
                        t.GetLocSystemTime(nullptr), t.GetFileTime(nullptr), t.GetVariantTimeUTC(nullptr),
                        t.GetLocVariantTime(nullptr), t.SetTimeStr(nullptr), t.SetLocFormatTime(nullptr, FMT_DATE),
                        C_Time::SetLocTimeZoneByRegString(nullptr), C_Time::SetLocTimeZoneByKeyName(nullptr),
                        zone.Load(nullptr), zone.ToUtc(SYSTEMTIME{2003, 1, 0, 1, 0, 0, 0, 0}, nullptr),
                        C_TimeSpan(5).GetFileTime(nullptr)};
    for (bool b : any) EXPECT_FALSE(b);
    C_Time::GetLocTimeZoneInfo(nullptr), C_Time::GetLocTimeZoneInfoForYear(2003, nullptr);
    C_Time::GetLocTimeZoneAsRegString(nullptr, 8), zone.GetRecordForYear(2003, nullptr);
    EXPECT_EQ(t.GetTimeUTC(), 77u);
    t = static_cast<const C_Time*>(nullptr);
    EXPECT_TRUE(t.IsInvalid() && none.IsInvalid());
}
