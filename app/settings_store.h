// The user's settings: string values under HKCU\Software\Quendel.
//
//   std::string servers;
//   if (!settings::Read("Zeitserver", servers)) servers = quendel::kDefaultTimeServers;
#pragma once

#include <string>

namespace settings {

// The key, below HKEY_CURRENT_USER.
constexpr char kKey[] = "Software\\Quendel";

// The value as text; false when it is missing, not a REG_SZ string, or longer than 4096
// characters: callers then use their default.
bool Read(const char* name, std::string& value);
// Stores the value as REG_SZ, creating the key; false (with the system's error code in
// *error) when it could not be written.
bool Write(const char* name, const std::string& value, unsigned long* error = nullptr);

}  // namespace settings
