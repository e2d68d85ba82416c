#include "timelib/zone_registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "timelib/c_time.h"
#include "timelib/test_zones.h"
#include "timelib/user_zone_scope.h"

namespace {

constexpr char kDatabase[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

std::vector<BYTE> TziBytes(const TIME_ZONE_INFORMATION& z) {
    std::vector<BYTE> b(44);
    auto put32 = [&](size_t at, LONG v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<BYTE>(static_cast<DWORD>(v) >> (8 * i));
    };
    auto putTime = [&](size_t at, const SYSTEMTIME& t) {
        const WORD w[8] = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
        for (int i = 0; i < 8; ++i) b[at + 2 * i] = static_cast<BYTE>(w[i]), b[at + 2 * i + 1] = static_cast<BYTE>(w[i] >> 8);
    };
    put32(0, z.Bias);
    put32(4, z.StandardBias);
    put32(8, z.DaylightBias);
    putTime(12, z.StandardDate);
    putTime(28, z.DaylightDate);
    return b;
}

// A zone of our own in the machine's time-zone database, removed again at the end.
class TestZoneKey {
public:
    TestZoneKey(const std::string& keyName, const char* display, const char* std, const char* dlt,
                const std::vector<BYTE>& tzi)
        : m_path(std::string(kDatabase) + "\\" + keyName) {
        HKEY key;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        auto text = [&](const char* name, const char* value) {
            if (value) RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), std::strlen(value) + 1);
        };
        text("Display", display);
        text("Std", std);
        text("Dlt", dlt);
        if (!tzi.empty()) RegSetValueExA(key, "TZI", 0, REG_BINARY, tzi.data(), tzi.size());
        RegCloseKey(key);
    }
    ~TestZoneKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_path.c_str()); }

private:
    std::string m_path;
};

std::string Narrow(const WCHAR* w) {
    std::string s;
    while (*w) s += static_cast<char>(*w++);
    return s;
}


}  // namespace

TEST(ZoneRegistry, ReadsTheDatabaseAsWritten) {
    TIME_ZONE_INFORMATION z = test_zones::Chatham();
    z.StandardBias = 7;
    TestZoneKey key("Quendel Read Zone", "(UTC+12:45) Testinseln", "Testinseln Normalzeit", "Testinseln Sommerzeit",
                    TziBytes(z));
    quendel::zone::RegistryZone read;
    ASSERT_TRUE(quendel::zone::ReadRegistryZone("Quendel Read Zone", &read));
    EXPECT_STREQ(read.display, "(UTC+12:45) Testinseln");
    EXPECT_EQ(Narrow(read.record.StandardName), "Testinseln Normalzeit");
    EXPECT_EQ(Narrow(read.record.DaylightName), "Testinseln Sommerzeit");
    EXPECT_EQ(read.record.Bias, -765);
    EXPECT_EQ(read.record.StandardBias, 7);
    EXPECT_EQ(read.record.DaylightBias, -60);
    EXPECT_EQ(std::memcmp(&read.record.StandardDate, &z.StandardDate, sizeof(SYSTEMTIME)), 0);
    EXPECT_EQ(std::memcmp(&read.record.DaylightDate, &z.DaylightDate, sizeof(SYSTEMTIME)), 0);
    EXPECT_FALSE(quendel::zone::ReadRegistryZone("Quendel No Such Zone", &read));
    EXPECT_STREQ(quendel::zone::DatabasePath(), kDatabase);
}

// Bad entries: over-long names are cut to their fields, a "TZI" of the wrong size or a
// missing value leaves that part zero.
TEST(ZoneRegistry, BadEntriesAreHarmless) {
    const std::string longName(80, 'N');
    const std::string longDisplay(300, 'D');
    std::vector<BYTE> short20 = TziBytes(test_zones::WEurope());
    short20.resize(20);
    std::vector<BYTE> long60 = TziBytes(test_zones::WEurope());
    long60.resize(60, 0xAB);
    TestZoneKey a("Quendel Bad A", longDisplay.c_str(), longName.c_str(), longName.c_str(), short20);
    TestZoneKey b("Quendel Bad B", nullptr, "Kurz", nullptr, long60);
    quendel::zone::RegistryZone read;
    ASSERT_TRUE(quendel::zone::ReadRegistryZone("Quendel Bad A", &read));
    EXPECT_EQ(std::string(read.display), longDisplay.substr(0, 99));
    EXPECT_EQ(Narrow(read.record.StandardName), longName.substr(0, 31));
    EXPECT_EQ(Narrow(read.record.DaylightName), longName.substr(0, 31));
    EXPECT_EQ(read.record.Bias, 0);
    EXPECT_EQ(read.record.StandardDate.wMonth, 0);
    ASSERT_TRUE(quendel::zone::ReadRegistryZone("Quendel Bad B", &read));
    EXPECT_STREQ(read.display, "");
    EXPECT_EQ(Narrow(read.record.StandardName), "Kurz");
    EXPECT_EQ(read.record.DaylightName[0], 0);
    EXPECT_EQ(read.record.Bias, 0);

    UserZoneScope scope;
    EXPECT_TRUE(C_Time::SetLocTimeZoneByRegString(longName.substr(0, 31).c_str()));
    char name[64];
    C_Time::GetLocTimeZoneAsRegString(name, sizeof name);
    EXPECT_EQ(std::string(name), longName.substr(0, 31));
}

// The lookup matches the "Std" value, not the key's name; GetLocTimeZoneAsRegString gives
// the text back.
TEST(ZoneRegistry, LookupByStandardName) {
    UserZoneScope scope;
    const TIME_ZONE_INFORMATION z = test_zones::Eastern();
    TestZoneKey key("Quendel Key Name", "(UTC-05:00) Test", "Quendel Ostk\xFCste Normalzeit", "Quendel Sommerzeit",
                    TziBytes(z));
    EXPECT_FALSE(C_Time::SetLocTimeZoneByRegString("Quendel Key Name"));
    TIME_ZONE_INFORMATION current;
    C_Time::GetLocTimeZoneInfo(&current);
    EXPECT_EQ(current.Bias, -60);  // unchanged: the machine's zone
    EXPECT_FALSE(C_Time::SetLocTimeZoneByRegString("quendel ostk\xFCste normalzeit"));  // case matters
    ASSERT_TRUE(C_Time::SetLocTimeZoneByRegString("Quendel Ostk\xFCste Normalzeit"));
    C_Time::GetLocTimeZoneInfo(&current);
    EXPECT_EQ(current.Bias, 300);
    EXPECT_EQ(current.StandardName[12], 0xFC);  // Windows-1252 u-umlaut became U+00FC
    EXPECT_EQ(std::memcmp(&current.DaylightDate, &z.DaylightDate, sizeof(SYSTEMTIME)), 0);
    char name[64];
    C_Time::GetLocTimeZoneAsRegString(name, sizeof name);
    EXPECT_STREQ(name, "Quendel Ostk\xFCste Normalzeit");
    ASSERT_TRUE(C_Time::SetLocTimeZoneByRegString("W. Europe Standard Time"));
    C_Time::GetLocTimeZoneAsRegString(name, sizeof name);
    EXPECT_STREQ(name, "W. Europe Standard Time");
}

namespace {

// An independent evaluation of a rule-form record, by plain counting: days from 1601 by
// summing year lengths, weekdays by Zeller's congruence.
bool Leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int MonthDays(int y, int m) {
    static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Leap(y) ? 29 : d[m - 1];
}
int ZellerWeekday(int y, int m, int d) {  // 0 = Sunday
    if (m < 3) m += 12, --y;
    const int h = (d + 13 * (m + 1) / 5 + y % 100 + y % 100 / 4 + y / 100 / 4 + 5 * (y / 100)) % 7;  // 0 = Saturday
    return (h + 6) % 7;
}
long long DaysSince1601(int y, int m, int d) {
    long long days = 0;
    for (int yy = 1601; yy < y; ++yy) days += Leap(yy) ? 366 : 365;
    for (int mm = 1; mm < m; ++mm) days += MonthDays(y, mm);
    return days + d - 1;
}
// Wall-clock ticks of the change, or -1 when the rule names no day.
long long ReferenceRule(const SYSTEMTIME& r, int y) {
    if (r.wMonth < 1 || r.wMonth > 12 || r.wDayOfWeek > 6 || r.wDay < 1 || r.wHour > 23 || r.wMinute > 59 ||
        r.wSecond > 59 || r.wMilliseconds > 999)
        return -1;
    int day = -1, seen = 0;
    for (int d = 1; d <= MonthDays(y, r.wMonth); ++d)
        if (ZellerWeekday(y, r.wMonth, d) == r.wDayOfWeek && seen++ < r.wDay) day = d;
    const long long ms = ((r.wHour * 60LL + r.wMinute) * 60 + r.wSecond) * 1000 + r.wMilliseconds;
    return DaysSince1601(y, r.wMonth, day) * 864000000000LL + ms * 10000;
}

}  // namespace

// Every zone of the machine's database, 2000 to 2040: the change-over instants that
// IsSummerTime reports equal the reference evaluation of the same record.
TEST(ZoneRegistry, EveryZoneEveryYearMatchesReference) {
    std::vector<std::string> keys;
    quendel::zone::ForEachZoneKey([&](const char* subkey) {
        keys.push_back(subkey);
        return true;
    });
    ASSERT_GT(keys.size(), 100u);
    int withSummer = 0, offHour = 0;
    for (const std::string& key : keys) {
        quendel::zone::RegistryZone zone;
        if (!quendel::zone::ReadRegistryZone(key.c_str(), &zone)) continue;
        const TIME_ZONE_INFORMATION& z = zone.record;
        const bool rule = z.StandardDate.wMonth && z.DaylightDate.wMonth && !z.StandardDate.wYear && !z.DaylightDate.wYear;
        if (rule) ++withSummer;
        if (rule && (z.StandardDate.wMinute || z.DaylightDate.wMinute || z.StandardDate.wSecond)) ++offHour;
        for (int y = 2000; y <= 2040; ++y) {
            C_Time start, end;
            C_Time probe;
            ASSERT_TRUE(probe.SetTimeUTC(y, 6, 15, 12, 0, 0, 0));
            probe.IsSummerTime(&z, &start, &end, nullptr);
            if (!rule) {
                EXPECT_TRUE(start.IsInvalid()) << key;
                continue;
            }
            const int endYear = z.StandardDate.wMonth < z.DaylightDate.wMonth ? y + 1 : y;
            const long long s = ReferenceRule(z.DaylightDate, y), e = ReferenceRule(z.StandardDate, endYear);
            if (s < 0 || e < 0) {
                EXPECT_TRUE(start.IsInvalid()) << key;
                continue;
            }
            EXPECT_EQ(start.GetTimeUTC(), static_cast<unsigned long long>(s + z.Bias * 600000000LL)) << key << " " << y;
            EXPECT_EQ(end.GetTimeUTC(), static_cast<unsigned long long>(e + (z.Bias + z.DaylightBias) * 600000000LL))
                << key << " " << y;
        }
    }
    EXPECT_GT(withSummer, 20);
    EXPECT_GT(offHour, 0);  // Chatham at :45, and the 23:59:59.999 records
}
