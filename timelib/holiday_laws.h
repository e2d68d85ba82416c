// Which days are legal holidays, by state and year, as the states' holiday laws set them.
//
// The table vouches for the years from 1990 on: 3 October from 1990, Buß- und Bettag in
// every state until 1994 and then only in Saxony, the new states' own days (Reformationstag)
// from 1990, Sachsen-Anhalt's Heilige Drei Könige from 1993. Before 1990 it follows West
// Germany's laws as far as the list can tell (17 June, "Tag der deutschen Einheit", from 1954
// to 1990 in the western states; Buß- und Bettag in the western states), without vouching for
// every state's year of introduction. Days a law keeps only in some communities (Mariä
// Himmelfahrt in Bavaria, Fronleichnam in parts of Saxony and Thuringia) are not marked.
// States are the indices of german_states.h; kNationwide marks only the days that are
// holidays everywhere (before 1990: everywhere in West Germany).
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
    kSiebzehnterJuni,  // West Germany's day of German unity, 1954-1990
    kReformationstag,
    kAllerheiligen,
    kBussUndBettag,
    kWeihnachtstag1,
    kWeihnachtstag2,
};

// Whether the day is a legal holiday in the state (or, for kNationwide, in every state) in
// the year. False for a bad state.
bool IsLegalHoliday(Holiday day, int state, int year);
