// The registry's time-zone database: zones of our own as written, bad entries, and the lookup
// by standard name among all the machine's zones.
#include "timelib/zone_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "support/test_zones.h"
#include "support/user_zone_scope.h"
#include "timelib/c_time.h"
#include "timelib/c_timezone.h"

namespace {

constexpr char kDatabase[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

// The 44 bytes of "TZI": Bias, StandardBias, DaylightBias, StandardDate, DaylightDate.
std::vector<BYTE> Tzi(const TIME_ZONE_INFORMATION& z, std::size_t size = 44) {
    std::vector<BYTE> tzi(size < 44 ? 44 : size, 0xAB);
    const LONG biases[3] = {z.Bias, z.StandardBias, z.DaylightBias};
    std::memcpy(tzi.data(), biases, 12);
    std::memcpy(tzi.data() + 12, &z.StandardDate, 16);
    std::memcpy(tzi.data() + 28, &z.DaylightDate, 16);
    return tzi;
}

// A zone of our own in the database, removed at the end; values of a key as name and bytes.
class TestZoneKey {
public:
    TestZoneKey(const char* keyName, const char* display, const char* std, const char* dlt,
                const TIME_ZONE_INFORMATION& z, std::size_t tziSize = 44)
        : m_path(std::string(kDatabase) + "\\" + keyName) {
        for (const auto& [name, text] : {std::pair{"Display", display}, {"Std", std}, {"Dlt", dlt}})
            if (text) Set("", name, REG_SZ, std::vector<BYTE>(text, text + std::strlen(text) + 1));
        Set("", "TZI", REG_BINARY, Tzi(z, tziSize), tziSize);
    }
    // A "Dynamic DST" sub-key: FirstEntry and LastEntry (negative: left out) and a value a year.
    void Years(int first, int last, const std::vector<std::pair<int, TIME_ZONE_INFORMATION>>& years, std::size_t size = 44) {
        for (const auto& [name, entry] : {std::pair{"FirstEntry", first}, {"LastEntry", last}})
            if (entry >= 0) Set("\\Dynamic DST", name, REG_DWORD, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&entry), reinterpret_cast<const BYTE*>(&entry) + 4));
        for (const auto& [year, z] : years) Set("\\Dynamic DST", std::to_string(year).c_str(), REG_BINARY, Tzi(z), size);
    }
    ~TestZoneKey() {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (m_path + "\\Dynamic DST").c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_path.c_str());
    }

private:
    void Set(const std::string& sub, const char* name, DWORD type, const std::vector<BYTE>& bytes, std::size_t size = 0) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (m_path + sub).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(size ? size : bytes.size()));
        RegCloseKey(key);
    }
    std::string m_path;
};

std::string Narrow(const WCHAR* w) { return std::string(w, w + std::wcslen(w)); }  // the names are ASCII

}  // namespace

// Read as written; over-long names cut to their fields; a "TZI" of any other size than 44
// bytes, or none, leaves biases and dates zero.
TEST(ZoneRegistry, ReadsEntriesAsWrittenAndBadOnesHarmlessly) {
    TIME_ZONE_INFORMATION z = test_zones::Chatham();
    z.StandardBias = 7;
    const std::string longName(80, 'N'), longDisplay(300, 'D');
    TestZoneKey good("Quendel Read Zone", "(UTC+12:45) Testinseln", "Testinseln Normalzeit", "Testinseln Sommerzeit", z);
    TestZoneKey a("Quendel Bad A", longDisplay.c_str(), longName.c_str(), longName.c_str(), z, 20);
    TestZoneKey b("Quendel Bad B", nullptr, "Kurz", nullptr, z, 60);
    quendel::zone::RegistryZone read;
    ASSERT_TRUE(quendel::zone::ReadRegistryZone("Quendel Read Zone", &read));
    EXPECT_STREQ(read.display, "(UTC+12:45) Testinseln");
    EXPECT_EQ(Narrow(read.record.StandardName) + "|" + Narrow(read.record.DaylightName),
              "Testinseln Normalzeit|Testinseln Sommerzeit");
    EXPECT_TRUE(read.record.Bias == -765 && read.record.StandardBias == 7 && read.record.DaylightBias == -60);
    EXPECT_EQ(std::memcmp(&read.record.StandardDate, &z.StandardDate, sizeof(SYSTEMTIME) + 4), 0);  // and StandardBias
    EXPECT_EQ(std::memcmp(&read.record.DaylightDate, &z.DaylightDate, sizeof(SYSTEMTIME)), 0);
    EXPECT_FALSE(quendel::zone::ReadRegistryZone("Quendel No Such Zone", &read));
    EXPECT_STREQ(quendel::zone::DatabasePath(), kDatabase);
    for (const char* bad : {"Quendel Bad A", "Quendel Bad B"}) {
        ASSERT_TRUE(quendel::zone::ReadRegistryZone(bad, &read));
        EXPECT_TRUE(read.record.Bias == 0 && read.record.DaylightBias == 0 && read.record.StandardDate.wMonth == 0);
    }
    ASSERT_TRUE(quendel::zone::ReadRegistryZone("Quendel Bad A", &read));
    EXPECT_EQ(read.display, longDisplay.substr(0, 99));
    EXPECT_EQ(Narrow(read.record.StandardName) + Narrow(read.record.DaylightName), longName.substr(0, 62));
    ASSERT_TRUE(quendel::zone::ReadRegistryZone("Quendel Bad B", &read));
    EXPECT_EQ(std::string(read.display) + Narrow(read.record.StandardName) + Narrow(read.record.DaylightName), "Kurz");
}

// The lookup matches the "Std" value exactly (not the key's name); the name reads back.
TEST(ZoneRegistry, LookupByStandardName) {
    UserZoneScope scope;
    const TIME_ZONE_INFORMATION z = test_zones::Eastern();
    const std::string longName(80, 'N');
    TestZoneKey key("Quendel Key Name", "(UTC-05:00) Test", "Quendel Ostk\xFCste Normalzeit", "Sommer", z);
    TestZoneKey cut("Quendel Long Std", "(UTC-05:00) Lang", longName.c_str(), "Sommer", z);
    TIME_ZONE_INFORMATION current;
    for (const char* miss : {"Quendel Key Name", "quendel ostk\xFCste normalzeit"}) {
        EXPECT_FALSE(C_Time::SetLocTimeZoneByRegString(miss));
        C_Time::GetLocTimeZoneInfo(&current);
        EXPECT_EQ(current.Bias, -60);  // unchanged: the machine's zone
    }
    ASSERT_TRUE(C_Time::SetLocTimeZoneByRegString("Quendel Ostk\xFCste Normalzeit"));
    C_Time::GetLocTimeZoneInfo(&current);
    EXPECT_TRUE(current.Bias == 300 && current.StandardName[12] == 0xFC);  // Windows-1252 became U+00FC
    EXPECT_EQ(std::memcmp(&current.DaylightDate, &z.DaylightDate, sizeof(SYSTEMTIME)), 0);
    int zones = 0;
    quendel::zone::ForEachZoneKey([&](const char*) { return ++zones, true; });
    EXPECT_GT(zones, 100);
    char name[64];
    for (const std::string& std : {std::string("W. Europe Standard Time"), longName.substr(0, 31)}) {
        ASSERT_TRUE(C_Time::SetLocTimeZoneByRegString(std.c_str())) << std;
        C_Time::GetLocTimeZoneAsRegString(name, sizeof name);
        EXPECT_EQ(name, std);
    }
}

// Per-year records: a year's own, FirstEntry's before it, LastEntry's after it; a broken
// "Dynamic DST" (a value not 44 bytes, entries out of order or missing) gives "TZI" for all.
TEST(ZoneRegistry, PerYearRecordsAndBrokenOnes) {
    const TIME_ZONE_INFORMATION tzi = test_zones::WEurope(), tokyo = test_zones::Tokyo();
    const std::vector<std::pair<int, TIME_ZONE_INFORMATION>> years = {
        {2001, test_zones::Eastern()}, {2002, tokyo}, {2003, test_zones::AusEastern()}};
    TestZoneKey good("Quendel Years", "(UTC) Jahre", "Jahre", "Jahre S", tzi);
    good.Years(2001, 2003, years);
    TestZoneKey shortValue("Quendel Short", "", "Kurz", "", tzi), reversed("Quendel Reversed", "", "Rueck", "", tzi),
        noFirst("Quendel No First", "", "Ohne", "", tzi);
    shortValue.Years(2001, 2003, years, 40);
    reversed.Years(2003, 2001, years);
    noFirst.Years(-1, 2003, years);
    const struct {
        const char* key;
        int year;
        LONG bias;
    } cases[] = {{"Quendel Years", 1990, 300},   {"Quendel Years", 2002, -540},   {"Quendel Years", 2050, -600},
                 {"Quendel Short", 2002, -60},   {"Quendel Reversed", 2002, -60}, {"Quendel No First", 2002, -60}};
    for (const auto& c : cases) {
        C_TimeZone zone;
        ASSERT_TRUE(zone.Load(c.key));
        TIME_ZONE_INFORMATION record;
        zone.GetRecordForYear(c.year, &record);
        EXPECT_EQ(record.Bias, c.bias) << c.key << " " << c.year;
        C_Time noon;
        noon.SetTimeUTC(c.year, 1, 15, 12, 0, 0, 0);
        SYSTEMTIME local;
        ASSERT_TRUE(zone.ToLocal(noon, &local));
        EXPECT_EQ(local.wHour * 60 + local.wMinute, 12 * 60 - c.bias + (c.bias == -600 ? 60 : 0)) << c.key;  // Sydney's summer
        C_Time back;
        EXPECT_TRUE(zone.ToUtc(local, &back) && back == noon);
    }
    EXPECT_FALSE(C_TimeZone().Load("Quendel No Such Zone"));
    // Made the user zone, its record now is this year's: LastEntry's (Sydney's bias).
    UserZoneScope scope;
    TIME_ZONE_INFORMATION now;
    ASSERT_TRUE(C_Time::SetLocTimeZoneByKeyName("Quendel Years"));
    C_Time::GetLocTimeZoneInfo(&now);
    EXPECT_EQ(now.Bias, -600);
}
