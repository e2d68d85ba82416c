#include "timelib/zone_registry.h"

#include <cstdio>
#include <cstring>

#include "timelib/reg_key.h"

namespace quendel::zone {
namespace {

constexpr char kNtPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
constexpr char kWin9xPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Time Zones";

// Copies at most size - 1 bytes of text and a terminator, never splitting a double-byte
// character of the ANSI code page.
void CopyCut(const char* text, char* buffer, int size) {
    int n = 0;
    while (text[n] && n < size - 1) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[n]))) {
            if (!text[n + 1] || n + 2 > size - 1) break;
            n += 2;
        } else {
            ++n;
        }
    }
    std::memcpy(buffer, text, n);
    buffer[n] = 0;
}

// Reads a string value into buffer (size > 0), cut to fit; empty when it cannot be read.
void ReadText(HKEY key, const char* name, char* buffer, int size) {
    char raw[512] = {};
    DWORD type = 0, bytes = sizeof raw - 1;
    if (RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(raw), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        raw[0] = 0;
    raw[sizeof raw - 1] = 0;
    CopyCut(raw, buffer, size);
}

DWORD LoadLe32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }
WORD LoadLe16(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }

SYSTEMTIME LoadSystemTime(const BYTE* p) {
    SYSTEMTIME t;
    t.wYear = LoadLe16(p);
    t.wMonth = LoadLe16(p + 2);
    t.wDayOfWeek = LoadLe16(p + 4);
    t.wDay = LoadLe16(p + 6);
    t.wHour = LoadLe16(p + 8);
    t.wMinute = LoadLe16(p + 10);
    t.wSecond = LoadLe16(p + 12);
    t.wMilliseconds = LoadLe16(p + 14);
    return t;
}

}  // namespace

bool ReadTzi(HKEY key, const char* name, TIME_ZONE_INFORMATION* record) {
    BYTE tzi[64] = {};
    DWORD type = 0, bytes = sizeof tzi;
    if (RegQueryValueExA(key, name, NULL, &type, tzi, &bytes) != ERROR_SUCCESS || bytes != 44) return false;
    record->Bias = static_cast<LONG>(LoadLe32(tzi));
    record->StandardBias = static_cast<LONG>(LoadLe32(tzi + 4));
    record->DaylightBias = static_cast<LONG>(LoadLe32(tzi + 8));
    record->StandardDate = LoadSystemTime(tzi + 12);
    record->DaylightDate = LoadSystemTime(tzi + 28);
    return true;
}

const char* DatabasePath() { return (GetVersion() & 0x80000000u) ? kWin9xPath : kNtPath; }

void NameToField(const char* text, WCHAR (&field)[32]) {
    WCHAR wide[512];
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 512) <= 0) wide[0] = 0;
    int n = 0;
    while (n < 31 && wide[n]) ++n;
    if (n == 31 && wide[30] >= 0xD800 && wide[30] <= 0xDBFF) --n;  // keep surrogate pairs whole
    std::memcpy(field, wide, n * sizeof(WCHAR));
    std::memset(field + n, 0, (32 - n) * sizeof(WCHAR));
}

void FieldToName(const WCHAR (&field)[32], char* buffer, int size) {
    if (size <= 0) return;
    WCHAR wide[33];
    std::memcpy(wide, field, sizeof field);
    wide[32] = 0;  // a field filled to the last character has no terminator of its own
    char bytes[160];
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes, sizeof bytes, NULL, NULL) <= 0) bytes[0] = 0;
    CopyCut(bytes, buffer, size);
}

bool ReadRegistryZone(const char* subkey, RegistryZone* zone) {
    *zone = RegistryZone{};
    char path[400];
    if (std::snprintf(path, sizeof path, "%s\\%s", DatabasePath(), subkey) >= static_cast<int>(sizeof path))
        return false;
    C_RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, path)) return false;
    ReadText(key.Get(), "Display", zone->display, sizeof zone->display);
    char name[64];
    ReadText(key.Get(), "Std", name, sizeof name);
    NameToField(name, zone->record.StandardName);
    ReadText(key.Get(), "Dlt", name, sizeof name);
    NameToField(name, zone->record.DaylightName);
    ReadTzi(key.Get(), "TZI", &zone->record);
    return true;
}

std::vector<NamedZone> ReadZoneDatabase() {
    std::vector<NamedZone> zones;
    zones.reserve(160);
    ForEachZoneKey([&](const char* subkey) {
        NamedZone z;
        if (ReadRegistryZone(subkey, &z.zone)) {
            z.subkey = subkey;
            zones.push_back(std::move(z));
        }
        return true;
    });
    return zones;
}

bool EnumZoneKeys(bool (*visit)(const char* subkey, void* context), void* context) {
    C_RegKey base;
    if (!base.Open(HKEY_LOCAL_MACHINE, DatabasePath())) return false;
    for (DWORD index = 0;; ++index) {
        char name[256];  // registry key names have at most 255 characters
        const LONG rc = RegEnumKeyA(base.Get(), index, name, sizeof name);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) return true;
        if (!visit(name, context)) return true;
    }
}

}  // namespace quendel::zone
