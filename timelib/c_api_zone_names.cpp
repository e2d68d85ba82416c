// The C interface's zone names: the database's keys in order, and the names of an open zone.
#include <cwchar>

#include "timelib/c_api.h"
#include "timelib/zone_registry.h"

using quendel::c_api::Guard;
using quendel::c_api::WriteText;

std::wstring quendel::c_api::Wide(const char* text) {
    wchar_t wide[200];
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 200) > 0 ? std::wstring(wide) : std::wstring();
}

extern "C" qt_status QT_CALL quendel_time_zone_key(int index, wchar_t* buffer, int capacity, int* length) {
    if (index < 0) return QT_E_ARGUMENT;
    return Guard([&] {
        std::wstring key;
        int at = 0;
        if (!quendel::zone::ForEachZoneKey([&](const char* subkey) {
                if (at++ < index) return true;
                key = quendel::c_api::Wide(subkey);
                return false;
            }))
            return QT_E_SYSTEM;
        if (at <= index) return QT_E_NOT_FOUND;
        return WriteText(key.c_str(), static_cast<int>(key.size()), buffer, capacity, length);
    });
}

extern "C" qt_status QT_CALL quendel_time_zone_name(qt_zone zone, int which, wchar_t* buffer, int capacity,
                                                    int* length) {
    if (!zone || which < QT_NAME_KEY || which > QT_NAME_DAYLIGHT) return QT_E_ARGUMENT;
    // Every record of a zone carries the names of "Std" and "Dlt".
    const TIME_ZONE_INFORMATION& record = zone->years.ForYear(2000);
    const wchar_t* text = which == QT_NAME_KEY       ? zone->key.c_str()
                          : which == QT_NAME_DISPLAY ? zone->display.c_str()
                          : which == QT_NAME_STANDARD ? record.StandardName : record.DaylightName;
    // A record's names fill their 32 characters without a terminator at most.
    const std::size_t most = which == QT_NAME_STANDARD || which == QT_NAME_DAYLIGHT ? 32 : 200;
    return WriteText(text, static_cast<int>(wcsnlen(text, most)), buffer, capacity, length);
}
