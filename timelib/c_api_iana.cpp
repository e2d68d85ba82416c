// The C interface's link to the IANA zone history: a zone of the history table by its name,
// with the registry records of the key CLDR maps it to for the years after the table.
#include "timelib/c_api.h"
#include "timelib/zone_history.h"

qt_status quendel::c_api::OpenIanaZone(const wchar_t* name, quendel::zone::ZoneYears* years, const char** keyOut) {
    // IANA names are ASCII ("America/Argentina/Buenos_Aires" is among the longest).
    char ascii[64];
    int n = 0;
    for (; name[n]; ++n) {
        if (n + 1 >= static_cast<int>(sizeof ascii) || name[n] > 0x7E || name[n] < 0x20) return QT_E_NOT_FOUND;
        ascii[n] = static_cast<char>(name[n]);
    }
    ascii[n] = 0;
    const char* key = quendel::zone::KeyOfHistoryZone(ascii);
    quendel::zone::ZoneYears found;
    if (!key || !found.Read(key) || !found.AttachHistory(ascii)) return QT_E_NOT_FOUND;
    *years = std::move(found);
    *keyOut = key;
    return QT_OK;
}
