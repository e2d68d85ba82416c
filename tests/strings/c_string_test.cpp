#include "strings/c_string.h"
#include "strings/code_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <malloc.h>
#include <windows.h>

// Last: <mbctype.h> defines macros (_M1, _M2) that collide with names in the C++ headers.
#include <mbctype.h>

// Counts the blocks in use and remembers the last request, so that the tests see when a
// string allocates and frees. Freed memory is overwritten: a read after the free shows.
int g_liveBlocks = 0;
std::size_t g_lastRequest = 0;

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) std::abort();
    ++g_liveBlocks;
    g_lastRequest = size;
    return block;
}
void operator delete(void* block) noexcept {
    if (!block) return;
    --g_liveBlocks;
    std::memset(block, 0xDD, _msize(block));
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {
std::string_view View(const C_String& s) { return s.c_str(); }
}  // namespace

// Blocks: exactly the length needed plus the capacity field and the terminator; copies own
// their text; a shorter source is padded; the empty text frees the block.
TEST(String, BlocksTextsAndConversions) {
    const int base = g_liveBlocks;
    {
        C_String s("Sommerzeit"), t(s), u(static_cast<const char*>(nullptr)), v("ab", 5), w("Sommer", 3);
        const int blocks = g_liveBlocks;
        const std::size_t lastRequest = g_lastRequest;
        EXPECT_TRUE(blocks == base + 4 && lastRequest == 3u + 5 && u.IsEmpty() && C_String("ab", -1).IsEmpty());
        s.MakeUpper();
        t.MakeLower();
        EXPECT_EQ(std::string(s.c_str()) + t.c_str() + u.c_str() + v.c_str() + w.c_str(), "SOMMERZEITsommerzeitabSom");
        const unsigned short empty[] = {0}, other[] = {0x00C4, 'x', 0x4E00, 0};
        u = other;  // A umlaut is 0xC4 in code page 1252, a CJK character has no byte
        EXPECT_EQ(View(u), GetACP() == 1252 ? "\xC4x?" : View(u));
        u = empty;
        s.Format("%d-%s|%I64d|%I64x", 42, "ab", 1234567890123ll, 0xABCDEF0123ll);
        s.Format("[%s]", s.c_str());
        EXPECT_TRUE(u.IsEmpty() && View(s) == "[42-ab|1234567890123|abcdef0123]");
        for (std::size_t n : {498u, 499u, 500u}) {
            s.Format("%s", std::string(n, 'x').c_str());
            EXPECT_EQ(s.GetLength(), n < 499 ? int(n) : 499);
        }
    }
    EXPECT_EQ(g_liveBlocks, base);
}

TEST(String, SearchAndCompare) {
    const C_String s("Zeitzone");
    const int found[] = {s.Find('z'), s.Find('x'), s.Find("zone"), s.Find("Zone"), s.FindOneOf("oe"), s.FindOneOf("xy"),
                         s.Compare("Zeitzonf") < 0, s.Compare("Zeit") > 0, s.CompareNoCase("ZEITZONE"), s.Collate("Zeitzone"),
                         s == "Zeitzone" && s == C_String("Zeitzone") && s != "zeitzone" && s != C_String()};
    const int expected[] = {4, -1, 4, -1, 1, -1, 1, 1, 0, 0, 1};
    EXPECT_TRUE(std::equal(found, found + 11, expected));
    // Shift-JIS: 0x83 0x41 is katakana A, its trail byte the code of 'A' but no 'A';
    // hiragana a (0x82 0xA0) counts two bytes.
    const unsigned saved = quendel::text::SetCodePageForTests(932);
    C_String d("\x83\x41" "A" "\x82\xA0" "yz");
    const int dbcs[] = {d.Find('A'), d.Find("A"), d.Find("AA"), d.FindOneOf("yA"), d.Find("y")};
    const int dbcsExpected[] = {2, 2, -1, 2, 5};
    d.MakeLower();
    quendel::text::SetCodePageForTests(saved);
    EXPECT_TRUE(std::equal(dbcs, dbcs + 5, dbcsExpected) && View(d) == "\x83\x41" "a" "\x82\xA0" "yz");
}

// Random sequences against std::string, with the block rules: a block grows to exactly the
// length needed, is kept otherwise and freed only on the empty text.
TEST(StringModel, RandomOperationsMatchStdString) {
    std::mt19937 rng(20261206u);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto position = [&](int size) { return pick(0, 9) == 0 ? (pick(0, 1) ? INT_MIN : INT_MAX) : pick(-3, size + 3); };
    static const char kAlphabet[] = "abcXYZ019 \t\n";
    char source[48];
    auto randomText = [&] {
        const int n = pick(0, 9) == 0 ? 40 : pick(0, 12);
        for (int i = 0; i < n; ++i) source[i] = kAlphabet[pick(0, sizeof kAlphabet - 2)];
        source[n] = '\0';
        return n;
    };
    std::string model;
    model.reserve(4096);  // no allocation of its own during the run
    std::size_t capacity = 0;
    auto grow = [&](std::size_t size) {  // whether the block stays when the text needs size bytes
        const bool kept = size == 0 ? capacity == 0 : capacity > size;
        capacity = size == 0 ? 0 : capacity > size ? capacity : size + 1;
        return kept;
    };
    const int base = g_liveBlocks;
    C_String s;
    for (int step = 0; step < 4000; ++step) {
        const int length = static_cast<int>(model.size());
        const int op = length > 300 ? 9 : pick(0, 9);
        const char* before = s.c_str();
        bool kept = true;
        if (op == 0) {
            model.assign(source, randomText());
            s = source;
            kept = grow(model.size());
        } else if (op == 1 || op == 2) {  // a text, or a part of its own
            const int n = op == 1 ? randomText() : length, first = op == 1 ? 0 : pick(0, length);
            const int count = pick(0, n - first + 3);
            s.Add(op == 1 ? source : s.c_str() + first, static_cast<unsigned>(count));
            model.append(op == 1 ? std::string_view(source) : std::string_view(model), first, count);
            kept = grow(model.size());
        } else if (op == 3) {
            const int first = pick(0, length);
            s = s.c_str() + first;
            model.erase(0, first);
            kept = grow(model.size());
        } else if (op == 4) {
            const int a = position(length), b = position(length), first = a < 0 ? 0 : a;
            const std::string_view m = model;
            EXPECT_EQ(View(s.Left(a)), a <= 0 ? "" : m.substr(0, a));
            EXPECT_EQ(View(s.Right(a)), a <= 0 ? "" : a >= length ? m : m.substr(length - a));
            EXPECT_EQ(View(s.Mid(a)), first >= length ? "" : m.substr(first));
            EXPECT_EQ(View(s.Mid(a, b)), first >= length || b <= 0 ? "" : m.substr(first, b));
        } else if (op == 5 || op == 6) {
            const std::size_t keep = op == 5 ? model.find_first_not_of(" \t\n") : model.find_last_not_of(" \t\n");
            op == 5 ? s.TrimLeft() : s.TrimRight();
            if (keep == std::string::npos && length > 0) kept = grow(0);
            if (keep == std::string::npos) model.clear();
            else op == 5 ? model.erase(0, keep) : model.erase(keep + 1);
        } else if (op == 7) {
            const int index = position(length);
            const char c = pick(0, 15) == 0 ? '\0' : kAlphabet[pick(0, 8)];
            s.SetAt(index, c);
            if (index >= 0 && index < length) model[index] = c;
            model.resize(std::strlen(model.c_str()));  // a zero byte ends the text
        } else if (op == 8) {
            const int room = pick(-2, 30), n = randomText() % ((room < 1 ? 2 : room) + 1);
            char* buffer = s.GetBuffer(room);
            kept = grow(room < 1 ? 2 : room);
            EXPECT_EQ(buffer[0], '\0');
            std::memcpy(buffer, source, n);
            buffer[n] = '\0';
            model.assign(source, n);
        } else {
            s.Empty();
            model.clear();
            kept = grow(0);
        }
        ASSERT_EQ(s.GetLength(), static_cast<int>(model.size())) << "step " << step << " op " << op;
        ASSERT_EQ(View(s), model) << "step " << step << " op " << op;
        ASSERT_TRUE(!kept || s.c_str() == before) << "step " << step << " op " << op;
        ASSERT_EQ(g_liveBlocks, base + (capacity > 0 ? 1 : 0)) << "step " << step << " op " << op;
    }
}
