// Which days are legal holidays, by state and year, as the states' holiday laws set them.
//
// From 1995 on (when Buß- und Bettag ceased to be a holiday outside Saxony) each state's own
// set; before 1995 the list keeps its earlier nationwide set for every choice. States are the
// indices of german_states.h; kNationwide marks only the days that are holidays everywhere.
#pragma once

enum class Holiday {
    kNeujahr,
    kHeiligeDreiKoenige,
    kFrauentag,
    kKarfreitag,
    kOstersonntag,
    kOstermontag,
    kTagDerArbeit,
    kTagDerBefreiung,
    kChristiHimmelfahrt,
    kPfingstsonntag,
    kPfingstmontag,
    kFronleichnam,
    kMariaeHimmelfahrt,
    kWeltkindertag,
    kDeutscheEinheit,
    kReformationstag,
    kAllerheiligen,
    kBussUndBettag,
    kWeihnachtstag1,
    kWeihnachtstag2,
};

// Whether the day is a legal holiday in the state (or, for kNationwide, in every state) in
// the year. False for a bad state.
bool IsLegalHoliday(Holiday day, int state, int year);
