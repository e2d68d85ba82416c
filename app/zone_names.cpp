#include "app/zone_names.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/framework/text.h"
#include "app/zone_search.h"
#include "timelib/zone_registry.h"
#include "wintoolkit/handles.h"

namespace {

// The localized text of a MUI value; false where there is none. The resource DLL is found in
// the system directory: without a directory the call answers ERROR_FILE_NOT_FOUND.
bool LoadMuiName(HKEY key, const wchar_t* value, const wchar_t* systemDirectory, std::string& name) {
    WCHAR text[256];
    DWORD size = 0;
    if (RegLoadMUIStringW(key, value, text, sizeof text, &size, 0, systemDirectory) != ERROR_SUCCESS) return false;
    text[255] = 0;
    if (!text[0]) return false;
    name = WideToAnsi(text);
    return true;
}

}  // namespace

ZoneNames LocalizedZoneNames(const std::string& subkey, ZoneNames plain) {
    WCHAR systemDirectory[MAX_PATH];
    const UINT length = GetSystemDirectoryW(systemDirectory, MAX_PATH);
    quendel_toolkit::KeyHandle key;
    HKEY opened = NULL;
    const std::string path = std::string(quendel::zone::DatabasePath()) + "\\" + subkey;
    if (length == 0 || length >= MAX_PATH ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return plain;
    key.Reset(opened);
    LoadMuiName(opened, L"MUI_Display", systemDirectory, plain.display);
    LoadMuiName(opened, L"MUI_Std", systemDirectory, plain.standard);
    LoadMuiName(opened, L"MUI_Dlt", systemDirectory, plain.daylight);
    return plain;
}

std::vector<ShownZone> ReadShownZones() {
    std::vector<ShownZone> shown;
    for (quendel::zone::NamedZone& entry : quendel::zone::ReadZoneDatabase()) {
        const TIME_ZONE_INFORMATION& record = entry.zone.record;
        ZoneNames names = LocalizedZoneNames(
            entry.subkey, ZoneNames{entry.zone.display, WideToAnsi(record.StandardName), WideToAnsi(record.DaylightName)});
        char (&display)[sizeof entry.zone.display] = entry.zone.display;
        display[names.display.copy(display, sizeof display - 1)] = 0;
        shown.push_back(ShownZone{std::move(entry), std::move(names)});
    }
    // In Windows' order, not the text order of the names ("(UTC+..." before "(UTC-...").
    std::stable_sort(shown.begin(), shown.end(),
                     [](const ShownZone& a, const ShownZone& b) { return ZoneListBefore(a.entry.zone, b.entry.zone); });
    return shown;
}
