// The C interface's one link to the IANA zone history. This build carries none: every name
// is QT_E_NOT_AVAILABLE. Where the history is built in, this function opens its zones.
#include "timelib/c_api.h"

qt_status quendel::c_api::OpenIanaZone(const wchar_t* name, quendel::zone::ZoneYears* years) {
    (void)name;
    (void)years;
    return QT_E_NOT_AVAILABLE;
}
