// The timestamp readers against known answers (gen_stamp_answers.py), hand-worked cases,
// round trips through the writers, and hostile input with a fixed seed.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "support/data_table.h"
#include "timelib/timestamp_forms.h"

using namespace quendel::stamp;

namespace {

constexpr std::uint64_t kNow = 134411472000000000;  // 2026-12-07 00:00 UTC
constexpr std::uint64_t kLikelyFrom = 122756256000000000, kLikelyTo = 138534624000000000;  // 1990, 2040

std::map<std::string, StampForm> Forms() {
    std::map<std::string, StampForm> forms;
    for (int f = 0; f < static_cast<int>(StampForm::kCount); ++f) forms[FormInfo(StampForm(f)).token] = StampForm(f);
    return forms;
}

std::vector<StampCandidate> Read(const std::string& text, std::string* note = nullptr) {
    ReadOptions options;
    options.now = kNow;
    // The user's formats stand in as the library's dd.MM.yyyy HH:mm:ss.
    options.userFormat = [](std::string_view t, std::uint64_t* wall) {
        unsigned d, mo, y, h, mi, s;
        char rest;
        const std::string copy(t);
        if (std::sscanf(copy.c_str(), "%2u.%2u.%4u %2u:%2u:%2u%c", &d, &mo, &y, &h, &mi, &s, &rest) != 6) return false;
        for (const StampCandidate& c : ReadTimestamp(
                 std::to_string(y) + "-" + (mo < 10 ? "0" : "") + std::to_string(mo) + "-" + (d < 10 ? "0" : "") +
                 std::to_string(d) + "T" + (h < 10 ? "0" : "") + std::to_string(h) + ":" + (mi < 10 ? "0" : "") +
                 std::to_string(mi) + ":" + (s < 10 ? "0" : "") + std::to_string(s)))
            return *wall = c.ticks, true;
        return false;
    };
    return ReadTimestamp(text, options, note);
}

// Each form's first and one-past-last tick, from the generated table.
std::map<StampForm, std::pair<std::uint64_t, std::uint64_t>> Ranges() {
    std::map<StampForm, std::pair<std::uint64_t, std::uint64_t>> ranges;
    for (const data_table::Row& row : data_table::Read("stamp_answers.tsv"))
        if (row[0] == "range") ranges[Forms().at(row[1])] = {data_table::Uint(row[2]), data_table::Uint(row[3])};
    return ranges;
}

}  // namespace

TEST(Timestamp, KnownAnswersFromPython) {
    const auto forms = Forms();
    int checked = 0;
    for (const data_table::Row& row : data_table::Read("stamp_answers.tsv")) {
        if (row[0] == "range") continue;
        const StampForm form = forms.at(row[1]);
        const std::uint64_t expected = data_table::Uint(row[2]);
        bool found = false;
        for (const StampCandidate& c : Read(row[0])) found |= c.form == form && c.ticks == expected;
        EXPECT_TRUE(found) << row[0] << " as " << row[1] << " (" << row[3] << ")";
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST(Timestamp, HandWorkedCasesAndRanking) {
    const auto forms = Forms();
    for (const data_table::Row& row : data_table::Read("stamp_cases.tsv")) {
        if (row[0] == "outside") {
            for (const StampCandidate& c : Read(row[1])) EXPECT_NE(FormInfo(c.form).token, row[2]) << row[1];
            continue;
        }
        if (row[0] != "top") continue;
        std::string note;
        const std::vector<StampCandidate> found = Read(row[1], &note);
        if (row[2] == "none") {
            EXPECT_TRUE(found.empty()) << row[1] << ": " << FormInfo(found[0].form).token;
            continue;
        }
        ASSERT_FALSE(found.empty()) << row[1];
        EXPECT_EQ(FormInfo(found[0].form).token, row[2]) << row[1];
        if (row[3] != "-") {
            EXPECT_EQ(found[0].ticks, data_table::Uint(row[3])) << row[1];
        }
        if (row[4] != "-") {
            EXPECT_NE(note.find(row[4]), std::string::npos) << row[1] << ": " << note;
        }
        for (const StampCandidate& c : found)
            EXPECT_FALSE(c.form == StampForm::kExcel1900 && row[4] != "-") << row[1] << " still has an Excel candidate";
    }
}

// Every form writes random points of its range at its resolution, and reads them back.
TEST(Timestamp, RoundTrips) {
    const auto forms = Forms();
    const auto ranges = Ranges();
    std::mt19937_64 random(27);
    for (const data_table::Row& row : data_table::Read("stamp_cases.tsv")) {
        if (row[0] != "trip") continue;
        const StampForm form = forms.at(row[1]);
        const std::uint64_t step = data_table::Uint(row[2]);
        auto [low, high] = ranges.at(form);
        if (row.size() > 5) low = data_table::Uint(row[4]), high = data_table::Uint(row[5]);
        for (int i = 0; i < 300; ++i) {
            // Half the points from the likely years, where the ranking matters; a sixth from the
            // whole calendar, where a form writes nothing for a point it cannot hold.
            const bool anywhere = i % 6 == 0 && row.size() <= 5;
            const std::uint64_t from = anywhere ? 0 : i % 2 ? std::max(low, kLikelyFrom) : low;
            const std::uint64_t to = anywhere ? kCalendarEnd - step : i % 2 ? std::min(high, kLikelyTo) : high;
            if (from >= to) continue;
            const std::uint64_t point = (from + random() % (to - from) + step - 1) / step * step;
            const std::string text = WriteTimestamp(form, point, point);
            if ((!anywhere && point >= high) || text.empty()) continue;
            const std::vector<StampCandidate> back = Read(text);
            bool found = false;
            for (const StampCandidate& c : back) found |= c.form == form && c.ticks == point;
            EXPECT_TRUE(found) << row[1] << " " << point << " wrote " << text;
            if (row[3] == "first" && i % 2 && !back.empty()) {
                EXPECT_EQ(back[0].ticks, point) << row[1] << " wrote " << text << ", first " << FormInfo(back[0].form).token;
            }
        }
    }
}

// Random and hostile strings: no crash, and no candidate outside its form's range.
TEST(Timestamp, HostileInputStaysInRange) {
    const auto ranges = Ranges();
    std::vector<std::string> seeds;
    for (const data_table::Row& row : data_table::Read("stamp_answers.tsv"))
        if (row[0] != "range") seeds.push_back(row[0]);
    static const char* const kPieces[] = {"-", "+", "e", "E", ".", ",", ":", "0x", " ", "9", "0", "T", "Z", "\xD0\x96",
                                          "\xEF\xBC\x91", "\xE2\x80\x8B", "ffffffff",
                                          "99999999999999999999", "Nov", "GMT", "-0000", "{", "}"};
    std::mt19937 random(2027);
    int candidates = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string text = seeds[random() % seeds.size()];
        for (int edits = 1 + random() % 4; edits > 0; --edits) {
            const std::size_t at = text.empty() ? 0 : random() % (text.size() + 1);
            switch (random() % 5) {
            case 0: text.insert(at, kPieces[random() % (sizeof kPieces / sizeof kPieces[0])]); break;
            case 1: if (at < text.size()) text.erase(at, 1 + random() % 3); break;
            case 2: if (at < text.size()) text[at] = static_cast<char>(random()); break;
            case 3: text.insert(at, std::string(1 + random() % 300, static_cast<char>('0' + random() % 10))); break;
            default: text.insert(at, 1, '\0'); break;
            }
        }
        for (const StampCandidate& c : Read(text)) {
            const auto [low, high] = ranges.at(c.form);
            EXPECT_TRUE(c.ticks >= low && c.ticks < high) << FormInfo(c.form).token << " " << c.ticks;
            ++candidates;
        }
    }
    EXPECT_GT(candidates, 1000);  // the edits leave many texts readable
}
