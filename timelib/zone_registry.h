// Reading the registry's time-zone database (HKEY_LOCAL_MACHINE, read only).
//
// One sub-key per zone with the values "Display", "Std", "Dlt" and the 44 raw bytes of
// "TZI" (Bias, StandardBias, DaylightBias, StandardDate, DaylightDate, little-endian).
// Values are taken defensively: a value that cannot be read, and a "TZI" of any size but
// 44 bytes, leave their part of the record zero; names too long for their fields are cut.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quendel::zone {

// The database key: the NT family's path when bit 31 of GetVersion() is clear, else the
// Windows 95 family's.
const char* DatabasePath();

struct RegistryZone {
    char display[100];  // terminated, cut to fit
    TIME_ZONE_INFORMATION record;
};

// Fills the record's biases and dates from a "TZI"-laid-out value of the key; false, and the
// record unchanged, when it cannot be read or is not 44 bytes.
bool ReadTzi(HKEY key, const char* name, TIME_ZONE_INFORMATION* record);

// Reads the zone of the sub-key HKLM\<DatabasePath()>\<subkey>; false when the sub-key
// cannot be opened.
bool ReadRegistryZone(const char* subkey, RegistryZone* zone);

// Visits the database's sub-key names in registry order until visit returns false.
// Returns false when the database key cannot be opened.
template <typename Visit>
bool ForEachZoneKey(Visit visit);

// Implementation detail of ForEachZoneKey.
bool EnumZoneKeys(bool (*visit)(const char* subkey, void* context), void* context);

template <typename Visit>
bool ForEachZoneKey(Visit visit) {
    return EnumZoneKeys([](const char* subkey, void* context) { return (*static_cast<Visit*>(context))(subkey); },
                        &visit);
}

// Every zone of the database that can be read, with its sub-key name, in registry order.
struct NamedZone {
    std::string subkey;
    RegistryZone zone;
};
std::vector<NamedZone> ReadZoneDatabase();

// Converts a byte text of the ANSI code page into a name field of 32 wide characters:
// cut after 31 characters, always terminated.
void NameToField(const char* text, WCHAR (&field)[32]);

// Converts a name field back to ANSI bytes into buffer (size > 0): cut to fit, terminated.
void FieldToName(const WCHAR (&field)[32], char* buffer, int size);

}  // namespace quendel::zone
