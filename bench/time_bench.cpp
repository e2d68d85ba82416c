// Measures the time library against anchors run in the same process on the same inputs:
// the C++ standard library's calendar conversion and the platform's time calls. Prints one
// line per operation: ns/op of ours, ns/op of the anchor, the ratio. Every measured
// function is first checked for equal results against its anchor.
//
// Ours are exported functions, called once per input; the standard library's conversions
// run behind a call of the same kind (not inlined), so that neither side is merged into
// the measuring loop and both are measured per call.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "timelib/c_time.h"
#include "timelib/civil.h"

namespace {

constexpr int kInputs = 16384;
constexpr int kRepetitions = 15;
volatile std::uint64_t g_sink;  // keeps the measured work alive

double NowNs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

// Median ns per input of body over all inputs, less the empty loop's. Each body returns a
// value of its result, summed in a register and stored once per run: a store and reload
// per input would chain the inputs through memory and put that chain's latency into the
// empty loop, where the measured work would hide it.
template <typename Body>
double Measure(Body body) {
    std::vector<double> runs;
    for (int r = 0; r < kRepetitions; ++r) {
        const double start = NowNs();
        std::uint64_t sum = 0;
        for (int i = 0; i < kInputs; ++i) sum += body(i);
        g_sink = sum;
        runs.push_back((NowNs() - start) / kInputs);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

double g_baseline = 0;

double Net(double ns) { return std::max(ns - g_baseline, 0.01); }

void Line(const char* operation, double ours, const char* anchorName, double anchor, const char* target) {
    std::printf("%-44s %8.1f ns  %-40s %8.1f ns  ratio %5.2f  (target %s)\n", operation, Net(ours), anchorName,
                Net(anchor), Net(ours) / Net(anchor), target);
}

bool Same(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds &&
           a.wDayOfWeek == b.wDayOfWeek;
}

int g_mismatches = 0;
void Check(bool ok, const char* what, int i) {
    if (!ok && g_mismatches++ < 10) std::printf("MISMATCH %s at input %d\n", what, i);
}

// A point's ticks read straight from the object, which has the layout of a FILETIME: a
// GetTimeUTC call per input would be measured with the call under test.
std::uint64_t TicksIn(const C_Time& t) {
    static_assert(sizeof(C_Time) == sizeof(std::uint64_t));
    std::uint64_t ticks;
    std::memcpy(&ticks, static_cast<const void*>(&t), sizeof ticks);
    return ticks;
}

// The library's fields-to-ticks arithmetic without its checks, called like SetTimeUTC.
__attribute__((noinline)) std::uint64_t TicksWithoutChecks(int year, int month, int day, int hour, int minute,
                                                           int second, int ms) {
    return quendel::civil::TicksOf(year, month, day, hour, minute, second, ms);
}

// The standard library's anchors, one call per input like ours.
__attribute__((noinline)) std::uint64_t ChronoFields(std::uint64_t t) {
    using namespace std::chrono;
    const std::int64_t unixTicks = static_cast<std::int64_t>(t) - 116444736000000000ll;
    const std::int64_t days = (unixTicks >= 0 ? unixTicks : unixTicks - 863999999999ll) / 864000000000ll;
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    const std::int64_t rest = unixTicks - days * 864000000000ll;
    const unsigned ms = static_cast<unsigned>(rest / 10000);
    return static_cast<std::uint64_t>(static_cast<int>(ymd.year())) + unsigned(ymd.month()) + unsigned(ymd.day()) +
           ms / 3600000 + ms / 60000 % 60 + ms / 1000 % 60 + ms % 1000;
}

__attribute__((noinline)) std::uint64_t ChronoTicks(const SYSTEMTIME& f) {
    using namespace std::chrono;
    const sys_days d{year{f.wYear} / f.wMonth / f.wDay};
    return static_cast<std::uint64_t>(d.time_since_epoch().count() + 134774) * 864000000000ull +
           ((f.wHour * 60u + f.wMinute) * 60u + f.wSecond) * 10000000ull + f.wMilliseconds * 10000ull;
}

// The same with the checks SetTimeUTC makes: the date by year_month_day::ok(), the time of
// day by its ranges; the same invalid answer for any failure.
__attribute__((noinline)) std::uint64_t ChronoTicksChecked(const SYSTEMTIME& f) {
    using namespace std::chrono;
    const year_month_day ymd{year{f.wYear}, month{f.wMonth}, day{f.wDay}};
    if (!ymd.ok() || f.wYear < 1601 || f.wHour > 23 || f.wMinute > 59 || f.wSecond > 59 || f.wMilliseconds > 999)
        return ~0ull;
    return static_cast<std::uint64_t>(sys_days{ymd}.time_since_epoch().count() + 134774) * 864000000000ull +
           ((f.wHour * 60u + f.wMinute) * 60u + f.wSecond) * 10000000ull + f.wMilliseconds * 10000ull;
}

// The time pattern Format hands to GetTimeFormatA for 0x3b: the locale's, with the
// millisecond marker after the last seconds letter.
void MarkedTimePattern(char* pattern) {
    char plain[40];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, plain, 30);
    const char* last = std::strrchr(plain, 's');
    const std::size_t cut = last ? static_cast<std::size_t>(last - plain) + 1 : std::strlen(plain);
    std::memcpy(pattern, plain, cut);
    std::strcpy(pattern + cut, ".xxx");
    std::strcat(pattern, plain + cut);
}

}  // namespace

int main() {
    std::mt19937_64 rng(20031224);
    C_Time first, last;
    first.SetTimeUTC(1601, 1, 2, 0, 0, 0, 0);
    last.SetTimeUTC(2400, 12, 31, 0, 0, 0, 0);
    TIME_ZONE_INFORMATION zone = {};
    zone.Bias = -60;
    zone.DaylightBias = -60;
    zone.StandardDate = SYSTEMTIME{0, 10, 0, 5, 3, 0, 0, 0};
    zone.DaylightDate = SYSTEMTIME{0, 3, 0, 5, 2, 0, 0, 0};

    // Random points, and a set clustered within a day of summer-time changes.
    std::vector<std::uint64_t> ticks(kInputs), clustered(kInputs);
    for (int i = 0; i < kInputs; ++i) {
        ticks[i] = first.GetTimeUTC() + rng() % (last.GetTimeUTC() - first.GetTimeUTC());
        C_Time start, end;
        C_Time(ticks[i]).IsSummerTime(&zone, &start, &end, nullptr);
        const std::uint64_t change = (i & 1) ? end.GetTimeUTC() : start.GetTimeUTC();
        clustered[i] = change - 864000000000ull + rng() % 1728000000000ull;
    }
    std::vector<SYSTEMTIME> fields(kInputs), local(kInputs);
    for (int i = 0; i < kInputs; ++i) {
        C_Time(ticks[i]).GetSystemTimeUTC(&fields[i]);
        C_Time(clustered[i]).GetLocSystemTime(&local[i], &zone);
    }

    g_baseline = Measure([&](int i) { return static_cast<std::uint64_t>(ticks[i]); });
    std::printf("inputs %d, repetitions %d, empty loop %.2f ns (subtracted)\n", kInputs, kRepetitions, g_baseline);

    // Equal results first.
    using namespace std::chrono;
    for (int i = 0; i < kInputs; ++i) {
        SYSTEMTIME ours, platform;
        C_Time(ticks[i]).GetSystemTimeUTC(&ours);
        FILETIME ft;
        C_Time(ticks[i]).GetFileTime(&ft);
        FileTimeToSystemTime(&ft, &platform);
        Check(Same(ours, platform), "ticks -> UTC fields", i);
        C_Time back;
        back.SetTimeUTC(ours.wYear, ours.wMonth, ours.wDay, ours.wHour, ours.wMinute, ours.wSecond, ours.wMilliseconds);
        FILETIME pft;
        SystemTimeToFileTime(&platform, &pft);
        Check(back == C_Time(pft), "UTC fields -> ticks", i);
        SYSTEMTIME lo, lp;
        C_Time(clustered[i]).GetLocSystemTime(&lo, &zone);
        C_Time(clustered[i]).GetSystemTimeUTC(&ours);
        SystemTimeToTzSpecificLocalTime(&zone, &ours, &lp);
        Check(Same(lo, lp), "ticks -> local fields", i);
        SYSTEMTIME u;
        C_Time(ticks[i]).GetSystemTimeUTC(&u);
        Check(ChronoFields(ticks[i]) == static_cast<std::uint64_t>(u.wYear) + u.wMonth + u.wDay + u.wHour + u.wMinute +
                                            u.wSecond + u.wMilliseconds,
              "std::chrono fields", i);
        C_Time whole;
        whole.SetSystemTimeUTC(&fields[i]);
        Check(ChronoTicks(fields[i]) == whole.GetTimeUTC(), "std::chrono ticks", i);
        Check(ChronoTicksChecked(fields[i]) == whole.GetTimeUTC(), "std::chrono checked ticks", i);
    }
    // Format against the text its platform calls make.
    char markedTime[48], decimal[5];
    MarkedTimePattern(markedTime);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    for (int i = 0; i < kInputs; i += 16) {
        SYSTEMTIME lf;
        C_Time(ticks[i]).GetLocSystemTime(&lf, &zone);
        char expected[300], time[100], ours[300];
        GetDateFormatA(LOCALE_USER_DEFAULT, 0, &lf, nullptr, expected, sizeof expected);
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &lf, markedTime, time, sizeof time);
        if (char* marker = std::strstr(time, ".xxx"))
            std::snprintf(marker, 5, "%c%03u", decimal[0], static_cast<unsigned>(lf.wMilliseconds));
        std::strcat(std::strcat(expected, " - "), time);
        C_Time(ticks[i]).Format(ours, sizeof ours, 0x3b, LOCALE_USER_DEFAULT, &zone);
        Check(std::strcmp(ours, expected) == 0, "Format 0x3b", i);
    }

    // Ticks to UTC fields.
    const double oursToFields = Measure([&](int i) {
        SYSTEMTIME f;
        C_Time(ticks[i]).GetSystemTimeUTC(&f);
        return static_cast<std::uint64_t>(f.wDay + f.wSecond);
    });
    const double chronoToFields = Measure([&](int i) { return static_cast<std::uint64_t>(ChronoFields(ticks[i])); });
    const double platformToFields = Measure([&](int i) {
        FILETIME ft = {static_cast<DWORD>(ticks[i]), static_cast<DWORD>(ticks[i] >> 32)};
        SYSTEMTIME f;
        FileTimeToSystemTime(&ft, &f);
        return static_cast<std::uint64_t>(f.wDay + f.wSecond);
    });
    Line("ticks -> UTC fields (GetSystemTimeUTC)", oursToFields, "std::chrono year_month_day + h/m/s", chronoToFields, "<= 1.0x");
    Line("", oursToFields, "FileTimeToSystemTime", platformToFields, "<= 1.0x");

    // UTC fields to ticks.
    C_Time target;  // one object set again and again: the measured call is SetTimeUTC alone
    const double oursFromFields = Measure([&](int i) {
        const SYSTEMTIME& f = fields[i];
        target.SetTimeUTC(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds);
        return TicksIn(target);
    });
    const double chronoFromFields = Measure([&](int i) { return static_cast<std::uint64_t>(ChronoTicks(fields[i])); });
    const double platformFromFields = Measure([&](int i) {
        FILETIME ft;
        SystemTimeToFileTime(&fields[i], &ft);
        return static_cast<std::uint64_t>(ft.dwLowDateTime);
    });
    // The unvalidated conversion checks nothing: for information; the fair anchor validates
    // as SetTimeUTC does.
    Line("UTC fields -> ticks (SetTimeUTC)", oursFromFields, "std::chrono sys_days + h/m/s", chronoFromFields, "none, for information");
    Line("", oursFromFields, "SystemTimeToFileTime", platformFromFields, "<= 1.0x");
    const double chronoChecked = Measure([&](int i) { return ChronoTicksChecked(fields[i]); });
    Line("", oursFromFields, "std::chrono with ok() and time ranges", chronoChecked, "<= 1.0x");
    // For comparison: the same call with the arithmetic alone, without SetTimeUTC's checks
    // of the seven fields and the date, which the standard library's conversion does not make.
    const double conversionAlone = Measure([&](int i) {
        const SYSTEMTIME& f = fields[i];
        return TicksWithoutChecks(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds);
    });
    Line("  its arithmetic alone (no checks)", conversionAlone, "std::chrono sys_days + h/m/s", chronoFromFields, "none, for comparison");

    // Ticks to local fields in a rule zone.
    const double oursToLocal = Measure([&](int i) {
        SYSTEMTIME f;
        C_Time(clustered[i]).GetLocSystemTime(&f, &zone);
        return static_cast<std::uint64_t>(f.wHour);
    });
    const double platformToLocal = Measure([&](int i) {
        SYSTEMTIME u, f;
        C_Time(clustered[i]).GetSystemTimeUTC(&u);
        SystemTimeToTzSpecificLocalTime(&zone, &u, &f);
        return static_cast<std::uint64_t>(f.wHour);
    });
    Line("ticks -> local fields (GetLocSystemTime)", oursToLocal, "ours ticks -> UTC fields", oursToFields, "<= 2x");
    Line("", oursToLocal, "SystemTimeToTzSpecificLocalTime (+fields)", platformToLocal, "<= 0.25x");
    // Points of 1990 to 2040, which the per-thread cache (16 KB) holds whole; the points above
    // spread over eight centuries and refill it.
    std::vector<std::uint64_t> recent(kInputs);
    for (int i = 0; i < kInputs; ++i)
        recent[i] = 122756256000000000ull + clustered[i] % 15778800000000000ull;  // 1990-01-01 + up to 50 years
    const double oursRecent = Measure([&](int i) {
        SYSTEMTIME f;
        C_Time(recent[i]).GetLocSystemTime(&f, &zone);
        return static_cast<std::uint64_t>(f.wHour);
    });
    Line("  the same, points of 1990 to 2040", oursRecent, "ours ticks -> UTC fields", oursToFields, "<= 2x");

    // The user zone with the registry's per-year records against the same zone as one fixed
    // record, both through a null zone argument, over points from 1601 to 2400.
    auto toUserLocal = [&](int i) {
        SYSTEMTIME f;
        C_Time(ticks[i]).GetLocSystemTime(&f, nullptr);
        return static_cast<std::uint64_t>(f.wHour);
    };
    C_Time::SetLocTimeZoneByKeyName("Eastern Standard Time");
    const double perYear = Measure(toUserLocal);
    TIME_ZONE_INFORMATION fixed;
    C_Time::GetLocTimeZoneInfoForYear(2010, &fixed);
    C_Time::SetLocTimeZoneInfo(&fixed);
    const double oneRecord = Measure(toUserLocal);
    Line("user zone, per-year records (Eastern)", perYear, "the same zone, one fixed record", oneRecord, "<= 1.2x");

    // The IANA history against the registry's per-year records, through the user zone set
    // by key: points of 1900 to the history's last year, and the same points 400 years
    // later (the same dates and weekdays), which the records answer.
    C_Time::SetLocTimeZoneByKeyName("Eastern Standard Time");
    const std::uint64_t cycle = 146097ull * 864000000000ull;  // 400 years
    C_Time from1900, toLast;
    from1900.SetTimeUTC(1900, 1, 1, 0, 0, 0, 0);
    toLast.SetTimeUTC(C_Time::GetTimeZoneHistoryLastYear(), 12, 30, 0, 0, 0, 0);
    std::vector<std::uint64_t> past(kInputs), later(kInputs);
    std::vector<SYSTEMTIME> pastLocal(kInputs), laterLocal(kInputs);
    for (int i = 0; i < kInputs; ++i) {
        past[i] = from1900.GetTimeUTC() + rng() % (toLast.GetTimeUTC() - from1900.GetTimeUTC());
        later[i] = past[i] + cycle;
        C_Time(past[i]).GetLocSystemTime(&pastLocal[i], nullptr);
        C_Time(later[i]).GetLocSystemTime(&laterLocal[i], nullptr);
    }
    auto userLocal = [](const std::vector<std::uint64_t>& points) {
        return Measure([&](int i) {
            SYSTEMTIME f;
            C_Time(points[i]).GetLocSystemTime(&f, nullptr);
            return static_cast<std::uint64_t>(f.wHour);
        });
    };
    auto userTicks = [&](const std::vector<SYSTEMTIME>& fieldsOf) {
        return Measure([&](int i) {
            const SYSTEMTIME& f = fieldsOf[i];
            target.SetLocTime(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, nullptr);
            return TicksIn(target);
        });
    };
    const double historyToLocal = userLocal(past), recordsToLocal = userLocal(later);
    const double historyFromLocal = userTicks(pastLocal), recordsFromLocal = userTicks(laterLocal);
    Line("IANA history: ticks -> local (Eastern)", historyToLocal,
         "per-year records, 400 years later", recordsToLocal, "<= 1.2x");
    Line("IANA history: local -> ticks (Eastern)", historyFromLocal,
         "per-year records, 400 years later", recordsFromLocal, "<= 1.2x");

    // Local fields to ticks.
    const double oursFromLocal = Measure([&](int i) {
        const SYSTEMTIME& f = local[i];
        target.SetLocTime(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, &zone);
        return TicksIn(target);
    });
    const double platformFromLocal = Measure([&](int i) {
        SYSTEMTIME u;
        TzSpecificLocalTimeToSystemTime(&zone, &local[i], &u);
        return static_cast<std::uint64_t>(u.wHour);
    });
    Line("local fields -> ticks (SetLocTime)", oursFromLocal, "ours UTC fields -> ticks", oursFromFields, "<= 2.5x");
    Line("", oursFromLocal, "TzSpecificLocalTimeToSystemTime", platformFromLocal, "<= 0.3x");

    // Summer time with its change-over instants.
    const double oursSummer = Measure([&](int i) {
        C_Time s, e;
        return static_cast<std::uint64_t>(C_Time(clustered[i]).IsSummerTime(&zone, &s, &e, nullptr) + s.GetTimeUTC());
    });
    Line("IsSummerTime with start and end", oursSummer, "ours ticks -> UTC fields", oursToFields, "<= 3x");

    // Week and day of the year.
    const double week = Measure([&](int i) { return static_cast<std::uint64_t>(C_Time(ticks[i]).GetLocWeekOfYear(&zone)); });
    const double dayOfYear = Measure([&](int i) { return static_cast<std::uint64_t>(C_Time(ticks[i]).GetLocDayOfYear(&zone)); });
    Line("GetLocWeekOfYear", week, "ours ticks -> local fields", oursToLocal, "<= 1.5x");
    Line("GetLocDayOfYear", dayOfYear, "ours ticks -> local fields", oursToLocal, "<= 1.5x");

    // Formatting: ours against the platform calls it makes.
    const double oursFormat = Measure([&](int i) {
        char buffer[300];
        C_Time(ticks[i]).Format(buffer, sizeof buffer, 0x3b, LOCALE_USER_DEFAULT, &zone);
        return static_cast<std::uint64_t>(static_cast<unsigned char>(buffer[3]));
    });
    const double platformFormat = Measure([&](int i) {
        char pattern[81], timePattern[40], separator[5], out[300];
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, sizeof pattern);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, timePattern, 30);
        GetDateFormatA(LOCALE_USER_DEFAULT, 0, &local[i], pattern, out, sizeof out);
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local[i], markedTime, out + 20, sizeof out - 20);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
        return static_cast<std::uint64_t>(static_cast<unsigned char>(out[3]) + static_cast<unsigned char>(timePattern[0]));
    });
    Line("Format 0x3b", oursFormat, "its platform calls (3 locale, date, time)", platformFormat, "<= 1.1x");

    std::printf("%d mismatches\n", g_mismatches);
    return g_mismatches == 0 ? 0 : 1;
}
