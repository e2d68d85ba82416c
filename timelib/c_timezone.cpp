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

void C_TimeZone::GetRecordForYear(int year, TIME_ZONE_INFORMATION* record) const {
    if (record) *record = Years(m_years).ForYear(year);
}

bool C_TimeZone::ToLocal(const C_Time& utc, SYSTEMTIME* local) const {
    return utc.GetLocSystemTime(local, &Years(m_years).AtUtc(utc.GetTimeUTC()));
}

bool C_TimeZone::ToUtc(const SYSTEMTIME& local, C_Time* utc) const {
    std::uint64_t wall;
    if (!utc) return false;
    if (!quendel::civil::FieldsToTicks(local, &wall)) {
        utc->SetInvalid();
        return false;
    }
    return utc->SetLocSystemTime(&local, &Years(m_years).AtWall(wall));
}

bool C_TimeZone::IsSummerTime(const C_Time& point, C_Time* start, C_Time* end) const {
    return point.IsSummerTime(&Years(m_years).AtUtc(point.GetTimeUTC()), start, end);
}
