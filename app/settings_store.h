// The user's settings: the program's one reader and writer of HKCU\Software\Quendel,
// string values and fixed-size binary ones.
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

// A REG_BINARY value of exactly size bytes into data; false (data untouched) when it is
// missing, of another type or another size.
bool ReadBinary(const char* name, void* data, unsigned long size);
// Stores size bytes as REG_BINARY, creating the key.
bool WriteBinary(const char* name, const void* data, unsigned long size);

}  // namespace settings
