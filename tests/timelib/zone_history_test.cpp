// Every registry key as the user zone, and every zone of the answers by IANA name, against
// the IANA database's readings from 1900 through the history's last year
// (zone_history_answers.tsv, from Python's zoneinfo); later years by the registry's records.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

#include "support/data_table.h"
#include "support/user_zone_scope.h"
#include "timelib/c_time.h"
#include "timelib/c_timezone.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

namespace {

using data_table::Int;
using data_table::Row;

std::uint64_t Ticks(long long unixSeconds) { return static_cast<std::uint64_t>(unixSeconds + 11644473600LL) * 10000000ull; }

struct Answers {
    std::map<std::string, std::string> zoneOfKey;
    std::map<std::string, std::vector<Row>> rows;  // by zone
};

const Answers& Data() {
    static const Answers answers = [] {
        Answers a;
        std::string zone;
        for (const Row& row : data_table::Read("zone_history_answers.tsv")) {
            if (row[0] == "key") a.zoneOfKey[row[1]] = row[2];
            else if (row[0] == "zone") zone = row[1];
            else a.rows[zone].push_back(row);
        }
        return a;
    }();
    return answers;
}

// A zone under test, the user zone (null) or a C_TimeZone: UTC ticks to wall ticks, the
// summer test, wall ticks back to UTC.
std::uint64_t Wall(const C_TimeZone* z, std::uint64_t t) {
    SYSTEMTIME f;
    C_Time w;
    return (z ? z->ToLocal(C_Time(t), &f) : C_Time(t).GetLocSystemTime(&f)) && w.SetSystemTimeUTC(&f) ? w.GetTimeUTC() : 0;
}
bool Summer(const C_TimeZone* z, std::uint64_t t) { return z ? z->IsSummerTime(C_Time(t)) : C_Time(t).IsSummerTime(); }
std::uint64_t Back(const C_TimeZone* z, std::uint64_t w) {
    SYSTEMTIME f;
    C_Time(w).GetSystemTimeUTC(&f);
    C_Time t;
    return (z ? z->ToUtc(f, &t) : t.SetLocSystemTime(&f)) ? t.GetTimeUTC() : 0;
}

// The count of readings that disagree; the first few are reported.
int Disagreements(const std::string& what, const std::vector<Row>& rows, const C_TimeZone* z) {
    int wrong = 0;
    auto check = [&](const char* kind, long long at, std::uint64_t got, std::uint64_t expected) {
        if (got == expected) return;
        if (++wrong <= 3) ADD_FAILURE() << what << ": " << kind << " at unix " << at << ": " << got << " != " << expected;
    };
    auto reading = [&](long long t, long long offset, long long summer) {
        check("local", t, Wall(z, Ticks(t)), Ticks(t + offset));
        check("summer", t, Summer(z, Ticks(t)), summer != 0);
    };
    auto back = [&](long long w, long long u) { check("back", w, Back(z, Ticks(w)), Ticks(u)); };
    for (const Row& r : rows) {
        if (r[0] == "change") {
            reading(Int(r[1]) - 1, Int(r[2]), Int(r[3]));
            reading(Int(r[1]), Int(r[4]), Int(r[5]));
            for (int i = 6; i + 1 < 12; i += 2) back(Int(r[i]), Int(r[i + 1]));
        } else if (r[0] == "at") {
            reading(Int(r[1]), Int(r[2]), Int(r[3]));
            back(Int(r[4]), Int(r[5]));
        }
    }
    return wrong;
}

TEST(ZoneHistory, EveryRegistryKeyReadsAsItsIanaZone) {
    UserZoneScope scope;
    int keys = 0, wrong = 0;
    for (const quendel::zone::NamedZone& z : quendel::zone::ReadZoneDatabase()) {
        const auto expected = Data().zoneOfKey.find(z.subkey);
        ASSERT_TRUE(C_Time::SetLocTimeZoneByKeyName(z.subkey.c_str())) << z.subkey;
        char name[64];
        EXPECT_EQ(C_Time::GetLocTimeZoneHistory(name, sizeof name), expected != Data().zoneOfKey.end()) << z.subkey;
        if (expected == Data().zoneOfKey.end()) continue;
        EXPECT_EQ(std::string(name), expected->second) << z.subkey;
        ++keys;
        wrong += Disagreements(z.subkey, Data().rows.at(expected->second), nullptr);
    }
    EXPECT_GT(keys, 100);
    EXPECT_EQ(wrong, 0);
}

TEST(ZoneHistory, ZonesLoadByIanaName) {
    for (const auto& [name, rows] : Data().rows) {
        C_TimeZone zone;
        ASSERT_TRUE(zone.LoadIana(name.c_str())) << name;
        EXPECT_EQ(std::string(zone.GetHistoryName()), name);
        EXPECT_EQ(Disagreements(name, rows, &zone), 0);
        // The records of the years: summer from the year's first change to its first change
        // back, as "year:start:end" of wall readings, or no summer ("year").
        for (const Row& r : rows)
            for (std::size_t i = 1; r[0] == "years" && i < r.size(); ++i) {
                const int year = static_cast<int>(Int(r[i]));
                TIME_ZONE_INFORMATION record;
                zone.GetRecordForYear(year, &record);
                std::uint64_t start = 0, end = 0;
                // Joined by append: operator+ chains here draw a false -Wrestrict from GCC 12 (i686).
                std::string got = std::to_string(year);
                if (quendel::zone::RuleWallTicks(record.DaylightDate, year, &start) &&
                    quendel::zone::RuleWallTicks(record.StandardDate, year, &end))
                    got.append(":").append(std::to_string(start)).append(":").append(std::to_string(end));
                std::string want = std::to_string(year);
                if (const std::size_t colon = r[i].find(':'); colon != std::string::npos)
                    want.append(":").append(std::to_string(Ticks(Int(r[i].substr(colon + 1))))).append(":").append(
                        std::to_string(Ticks(Int(r[i].substr(r[i].rfind(':') + 1)))));
                EXPECT_EQ(got, want) << name;
            }
    }
    EXPECT_FALSE(C_TimeZone().LoadIana("Europe/Atlantis"));
}

// After the history's last year the user zone converts as the registry's record of the year.
TEST(ZoneHistory, LaterYearsFollowTheRegistry) {
    UserZoneScope scope;
    std::mt19937_64 random(24);
    const int first = C_Time::GetTimeZoneHistoryLastYear() + 1;
    for (const quendel::zone::NamedZone& z : quendel::zone::ReadZoneDatabase()) {
        ASSERT_TRUE(C_Time::SetLocTimeZoneByKeyName(z.subkey.c_str()));
        for (int i = 0; i < 50; ++i) {
            C_Time t;
            t.SetTimeUTC(first + static_cast<int>(random() % 15), 1 + static_cast<int>(random() % 12),
                         2 + static_cast<int>(random() % 26), static_cast<int>(random() % 24), 0, 0, 0);
            SYSTEMTIME f, g;
            TIME_ZONE_INFORMATION record;
            C_Time::GetLocTimeZoneInfoForYear(t.GetLocYear(), &record);
            ASSERT_TRUE(t.GetLocSystemTime(&f) && t.GetLocSystemTime(&g, &record));
            EXPECT_EQ(std::memcmp(&f, &g, sizeof f), 0) << z.subkey;
            EXPECT_EQ(C_Time(f.wYear, f.wMonth, f.wDay, f.wHour, 30, 0), C_Time(f.wYear, f.wMonth, f.wDay, f.wHour, 30, 0, &record));
        }
    }
}

}  // namespace
