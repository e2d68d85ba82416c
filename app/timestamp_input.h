// Pasted timestamps for the dialog and the command line: the time library's readers, with
// the user's own date formats and the user time zone added, and the texts shown for each
// candidate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "timelib/timestamp_forms.h"

struct StampChoice {
    quendel::stamp::StampForm form;
    std::uint64_t utc;   // ticks since 1601, UTC
    std::uint64_t wall;  // the same point on the user time zone's clock
};

// The candidates of the text in the user time zone, ranked; local readings (DOS, ISO
// without a zone, the user's formats) converted as the zone's rules of their year say.
// note receives a word on a refused value (see ReadTimestamp).
std::vector<StampChoice> ReadStampChoices(const std::string& text, std::string* note = nullptr);

// "2023-11-14T22:13:20Z" and "2023-11-14T23:13:20+01:00" (fractions where there are any).
std::string UtcIso(const StampChoice& choice);
std::string LocalIso(const StampChoice& choice);

// The forms the field reads, for the complaint: "Unix, Filetime, ...".
std::string StampFormNames();

// The choice for a point (UTC ticks) in the user time zone.
StampChoice ChoiceAt(std::uint64_t utc);
