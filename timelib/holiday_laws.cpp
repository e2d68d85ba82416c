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

constexpr int kUnity = 1990;     // 3 October; from here the table vouches for every state
constexpr int kStates = 1995;    // Buß- und Bettag only in Saxony
constexpr int kEver = 1 << 30;   // no end
constexpr int kAlways = 0;

// The western states, and before 1990 the nationwide choice (West Germany).
constexpr unsigned kWest = 1u | BW | BY | BE | HB | HH | HE | NI | NW | RP | SL | SH;

// The day is a legal holiday in the states of the mask from the year "from" to "to".
struct LawRow {
    Holiday day;
    unsigned states;
    int from, to;
};

constexpr LawRow kLaws[] = {
    // Everywhere.
    {Holiday::kNeujahr, kEverywhere, kAlways, kEver},
    {Holiday::kKarfreitag, kEverywhere, kAlways, kEver},
    {Holiday::kOstermontag, kEverywhere, kAlways, kEver},
    {Holiday::kTagDerArbeit, kEverywhere, kAlways, kEver},
    {Holiday::kChristiHimmelfahrt, kEverywhere, kAlways, kEver},
    {Holiday::kPfingstmontag, kEverywhere, kAlways, kEver},
    {Holiday::kDeutscheEinheit, kEverywhere, kUnity, kEver},
    {Holiday::kWeihnachtstag1, kEverywhere, kAlways, kEver},
    {Holiday::kWeihnachtstag2, kEverywhere, kAlways, kEver},
    {Holiday::kReformationstag, kEverywhere, 2017, 2017},  // the 500th anniversary
    {Holiday::kBussUndBettag, kEverywhere, kUnity, kStates - 1},
    // West Germany before unity: 17 June, in its last year no longer nationwide.
    {Holiday::kSiebzehnterJuni, kWest, 1954, kUnity - 1},
    {Holiday::kSiebzehnterJuni, kWest & ~1u, kUnity, kUnity},
    {Holiday::kBussUndBettag, kWest, kAlways, kUnity - 1},
    // By state.
    {Holiday::kHeiligeDreiKoenige, BW | BY, kAlways, kEver},
    {Holiday::kHeiligeDreiKoenige, ST, 1993, kEver},
    {Holiday::kFrauentag, BE, 2019, kEver},
    {Holiday::kFrauentag, MV, 2023, kEver},
    {Holiday::kOstersonntag, BB, kUnity, kEver},
    {Holiday::kPfingstsonntag, BB, kUnity, kEver},
    {Holiday::kFronleichnam, BW | BY | HE | NW | RP | SL, kAlways, kEver},
    {Holiday::kMariaeHimmelfahrt, SL, kAlways, kEver},
    {Holiday::kWeltkindertag, TH, 2019, kEver},
    {Holiday::kReformationstag, BB | MV | SN | ST | TH, kUnity, kEver},
    {Holiday::kReformationstag, HB | HH | NI | SH, 2018, kEver},
    {Holiday::kAllerheiligen, BW | BY | NW | RP | SL, kAlways, kEver},
    {Holiday::kBussUndBettag, SN, kStates, kEver},
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
