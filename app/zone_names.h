// A zone's names as Windows' own settings show them: the localized "MUI_Display", "MUI_Std"
// and "MUI_Dlt" values of its key in the registry's database ("@tzres.dll,-321"), in the
// user's language ("(UTC+01:00) Amsterdam, Berlin, Bern, Rom, Stockholm, Wien",
// "Mitteleuropäische Sommerzeit"), where the plain "Display", "Std" and "Dlt" may be English.
#pragma once

#include <string>
#include <vector>

#include "timelib/zone_registry.h"

// The names in the ANSI code page, as the dialog shows them.
struct ZoneNames {
    std::string display, standard, daylight;
};

// The localized names of the database's sub-key; each name that has no localized value, or
// whose resource cannot be loaded, keeps the plain one given.
ZoneNames LocalizedZoneNames(const std::string& subkey, ZoneNames plain);

// A zone of the database with the names the list shows: entry.zone.display holds the localized
// display name too (cut to fit), names all three.
struct ShownZone {
    quendel::zone::NamedZone entry;
    ZoneNames names;
};
// The whole database so, in Windows' order by the names shown (for a worker thread: it makes
// no window calls).
std::vector<ShownZone> ReadShownZones();
