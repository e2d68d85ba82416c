// The user's region as the platform keeps it (GetUserGeoID), for the choice of a zone's
// history: the ISO 3166 alpha-2 code, "DE" for Germany.
#pragma once

namespace quendel::zone {

// Writes the code into iso2 (terminated); false, and iso2 empty, when the region is unknown.
bool UserTerritory(char (&iso2)[4]);

}  // namespace quendel::zone
