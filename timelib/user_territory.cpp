#include "timelib/user_territory.h"

#include <windows.h>

namespace quendel::zone {

bool UserTerritory(char (&iso2)[4]) {
    iso2[0] = 0;
    const GEOID geo = GetUserGeoID(GEOCLASS_NATION);
    if (geo == GEOID_NOT_AVAILABLE) return false;
    char text[8];
    // The count includes the terminator: a two-letter code gives 3.
    if (GetGeoInfoA(geo, GEO_ISO2, text, sizeof text, 0) != 3) return false;
    iso2[0] = text[0];
    iso2[1] = text[1];
    iso2[2] = 0;
    return true;
}

}  // namespace quendel::zone
