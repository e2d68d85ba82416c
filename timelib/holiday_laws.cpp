#include "timelib/holiday_laws.h"

#include "timelib/german_states.h"

namespace {

// One bit a state, by its index; bit 0 is the nationwide choice.
enum : unsigned {
    BW = 1u << 1, BY = 1u << 2, BE = 1u << 3, BB = 1u << 4, HB = 1u << 5, HH = 1u << 6,
    HE = 1u << 7, MV = 1u << 8, NI = 1u << 9, NW = 1u << 10, RP = 1u << 11, SL = 1u << 12, SN = 1u << 13,
    ST = 1u << 14, SH = 1u << 15, TH = 1u << 16,
    kEverywhere = (1u << kStateCount) - 1u,
};

constexpr int kFirst = 1995;     // the states' own sets
constexpr int kEver = 1 << 30;   // no end

// The day is a legal holiday in the states of the mask from the year "from" to "to".
struct LawRow {
    Holiday day;
    unsigned states;
    int from, to;
};

constexpr LawRow kLaws[] = {
    // The earlier nationwide set, kept for the years before the states' own ones.
    {Holiday::kNeujahr, kEverywhere, 0, kFirst - 1},
    {Holiday::kKarfreitag, kEverywhere, 0, kFirst - 1},
    {Holiday::kOstersonntag, kEverywhere, 0, kFirst - 1},
    {Holiday::kOstermontag, kEverywhere, 0, kFirst - 1},
    {Holiday::kTagDerArbeit, kEverywhere, 0, kFirst - 1},
    {Holiday::kChristiHimmelfahrt, kEverywhere, 0, kFirst - 1},
    {Holiday::kPfingstsonntag, kEverywhere, 0, kFirst - 1},
    {Holiday::kPfingstmontag, kEverywhere, 0, kFirst - 1},
    {Holiday::kMariaeHimmelfahrt, kEverywhere, 0, kFirst - 1},
    {Holiday::kDeutscheEinheit, kEverywhere, 0, kFirst - 1},
    {Holiday::kWeihnachtstag1, kEverywhere, 0, kFirst - 1},
    {Holiday::kWeihnachtstag2, kEverywhere, 0, kFirst - 1},
    // Everywhere.
    {Holiday::kNeujahr, kEverywhere, kFirst, kEver},
    {Holiday::kKarfreitag, kEverywhere, kFirst, kEver},
    {Holiday::kOstermontag, kEverywhere, kFirst, kEver},
    {Holiday::kTagDerArbeit, kEverywhere, kFirst, kEver},
    {Holiday::kChristiHimmelfahrt, kEverywhere, kFirst, kEver},
    {Holiday::kPfingstmontag, kEverywhere, kFirst, kEver},
    {Holiday::kDeutscheEinheit, kEverywhere, kFirst, kEver},
    {Holiday::kWeihnachtstag1, kEverywhere, kFirst, kEver},
    {Holiday::kWeihnachtstag2, kEverywhere, kFirst, kEver},
    {Holiday::kReformationstag, kEverywhere, 2017, 2017},  // the 500th anniversary
    // By state.
    {Holiday::kHeiligeDreiKoenige, BW | BY | ST, kFirst, kEver},
    {Holiday::kFrauentag, BE, 2019, kEver},
    {Holiday::kFrauentag, MV, 2023, kEver},
    {Holiday::kOstersonntag, BB, kFirst, kEver},
    {Holiday::kPfingstsonntag, BB, kFirst, kEver},
    {Holiday::kFronleichnam, BW | BY | HE | NW | RP | SL, kFirst, kEver},
    {Holiday::kMariaeHimmelfahrt, SL, kFirst, kEver},
    {Holiday::kWeltkindertag, TH, 2019, kEver},
    {Holiday::kReformationstag, BB | MV | SN | ST | TH, kFirst, kEver},
    {Holiday::kReformationstag, HB | HH | NI | SH, 2018, kEver},
    {Holiday::kAllerheiligen, BW | BY | NW | RP | SL, kFirst, kEver},
    {Holiday::kBussUndBettag, SN, kFirst, kEver},
    // Berlin's one-off days: the 75th and 80th anniversaries of the end of the war.
    {Holiday::kTagDerBefreiung, BE, 2020, 2020},
    {Holiday::kTagDerBefreiung, BE, 2025, 2025},
};

static_assert(kStateCount == 17, "one bit a state");

}  // namespace

bool IsLegalHoliday(Holiday day, int state, int year) {
    if (state < 0 || state >= kStateCount) return false;
    const unsigned bit = 1u << state;
    for (const LawRow& row : kLaws)
        if (row.day == day && (row.states & bit) != 0 && year >= row.from && year <= row.to) return true;
    return false;
}
