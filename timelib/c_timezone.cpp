#include "timelib/c_timezone.h"

#include <utility>

#include "timelib/civil.h"
#include "timelib/zone_years.h"

namespace {

quendel::zone::ZoneYears& Years(void* p) { return *static_cast<quendel::zone::ZoneYears*>(p); }

}  // namespace

C_TimeZone::C_TimeZone() : m_years(new quendel::zone::ZoneYears()) {}
C_TimeZone::C_TimeZone(const C_TimeZone& other) : m_years(new quendel::zone::ZoneYears(Years(other.m_years))) {}
C_TimeZone& C_TimeZone::operator=(const C_TimeZone& other) {
    Years(m_years) = Years(other.m_years);
    return *this;
}
C_TimeZone::~C_TimeZone() { delete static_cast<quendel::zone::ZoneYears*>(m_years); }

bool C_TimeZone::Load(const char* keyName) {
    quendel::zone::ZoneYears years;
    if (!keyName || !years.Read(keyName)) return false;
    Years(m_years) = std::move(years);
    return true;
}

bool C_TimeZone::LoadIana(const char* ianaName) {
    quendel::zone::ZoneYears years;
    const char* key = quendel::zone::KeyOfHistoryZone(ianaName);
    if (!key || !years.Read(key) || !years.AttachHistory(ianaName)) return false;
    Years(m_years) = std::move(years);
    return true;
}

const char* C_TimeZone::GetHistoryName() const { return Years(m_years).HistoryName(); }

void C_TimeZone::GetRecordForYear(int year, TIME_ZONE_INFORMATION* record) const {
    if (record) *record = Years(m_years).ForYear(year);
}

bool C_TimeZone::ToLocal(const C_Time& utc, SYSTEMTIME* local) const {
    if (!local) return false;
    if (utc.IsValid() && quendel::civil::TicksToFields(Years(m_years).WallOf(utc.GetTimeUTC()), local)) return true;
    *local = SYSTEMTIME{};
    return false;
}

bool C_TimeZone::ToUtc(const SYSTEMTIME& local, C_Time* utc) const {
    std::uint64_t wall, ticks = quendel::zone::kNoTicks;
    if (!utc) return false;
    if (quendel::civil::FieldsToTicks(local, &wall)) ticks = Years(m_years).UtcOf(wall);
    if (ticks == quendel::zone::kNoTicks) {
        utc->SetInvalid();
        return false;
    }
    *utc = C_Time(ticks);
    return true;
}

bool C_TimeZone::IsSummerTime(const C_Time& point, C_Time* start, C_Time* end) const {
    quendel::zone::Evaluation e;
    std::uint64_t wall;
    if (!Years(m_years).HistorySummer(point.GetTimeUTC(), &e, &wall))
        return point.IsSummerTime(&Years(m_years).AtUtc(point.GetTimeUTC()), start, end);
    if (start) *start = C_Time(e.hasPeriod ? e.period.start : 0);
    if (end) *end = C_Time(e.hasPeriod ? e.period.end : 0);
    return e.summer;
}
