#include "strings/c_string.h"

#include <gtest/gtest.h>

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
namespace {
int g_liveBlocks = 0;
std::size_t g_lastRequest = 0;
}  // namespace

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

TEST(StringStorage, EmptyTextAndBlocks) {
    EXPECT_EQ(_getmbcp(), static_cast<int>(GetACP()));  // selected at start-up
    const int base = g_liveBlocks;
    C_String s;
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s.c_str(), "");
    s.Empty();
    s = "Sommerzeit";
    EXPECT_EQ(g_liveBlocks, base + 1);
    EXPECT_EQ(g_lastRequest, 10u + 5);  // capacity field, text and terminator, nothing spare
    const char* block = s.c_str();
    s = "MEZ";  // shorter: the same block
    EXPECT_EQ(s.c_str(), block);
    EXPECT_EQ(View(s), "MEZ");
    s = "";
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(g_liveBlocks, base);
    {
        C_String t("Zeit"), u(t), v(static_cast<const char*>(nullptr));
        v = u;
        EXPECT_EQ(View(v), "Zeit");
        EXPECT_EQ(g_liveBlocks, base + 3);  // copies own their text
        EXPECT_EQ(View(C_String("Sommer", 3)), "Som");
        EXPECT_EQ(View(C_String("ab", 5)), "ab");  // a shorter source is padded
        EXPECT_EQ(g_lastRequest, 5u + 5);
        EXPECT_TRUE(C_String("ab", -1).IsEmpty());
    }
    EXPECT_EQ(g_liveBlocks, base);
}

TEST(StringStorage, OwnTextAssignedAndAppended) {
    C_String s("abc");
    s += s;  // grows while the old block holds the source
    EXPECT_EQ(View(s), "abcabc");
    s.Add(s + 2, 3);
    EXPECT_EQ(View(s), "abcabccab");
    const char* block = s.c_str();
    s = s.c_str() + 6;
    s.Add(s + 1, 1);  // room enough: in place
    EXPECT_EQ(View(s), "caba");
    s.Add(s, 100);  // a count beyond the source takes the source
    s = s;
    EXPECT_EQ(View(s), "cabacaba");
    EXPECT_EQ(s.c_str(), block);
    C_String e;
    e.Add("", 5);
    EXPECT_TRUE(e.IsEmpty());
    e += "UTC";
    e.Add("+0100", 3);
    EXPECT_EQ(View(e), "UTC+01");
}

TEST(StringStorage, GetBufferDiscardsTextAndGivesRoom) {
    C_String s("Zeitzone");  // room for 9
    char* buffer = s.GetBuffer(10);
    EXPECT_EQ(g_lastRequest, 10u + 5);
    EXPECT_TRUE(s.IsEmpty());
    std::memcpy(buffer, "0123456789", 11);
    EXPECT_EQ(View(s), "0123456789");
    EXPECT_EQ(s.GetBuffer(0), buffer);  // room for 3 fits
    C_String t;
    std::memcpy(t.GetBuffer(0), "ab", 3);
    EXPECT_EQ(g_lastRequest, 2u + 5);
    EXPECT_EQ(View(t), "ab");
}

TEST(StringSubstrings, PositionsAreClamped) {
    enum Op { kLeft, kRight, kMid1, kMid2 };
    const struct {
        Op op;
        int a, b;
        const char* expected;
    } cases[] = {
        {kLeft, -1, 0, ""}, {kLeft, 0, 0, ""}, {kLeft, 2, 0, "Ha"}, {kLeft, 9, 0, "Hallo"},
        {kLeft, INT_MIN, 0, ""}, {kLeft, INT_MAX, 0, "Hallo"}, {kRight, -1, 0, ""}, {kRight, 2, 0, "lo"},
        {kRight, 5, 0, "Hallo"}, {kRight, INT_MIN, 0, ""}, {kRight, INT_MAX, 0, "Hallo"},
        {kMid1, 3, 0, "lo"}, {kMid1, 7, 0, ""}, {kMid1, 5, 0, ""}, {kMid1, -2, 0, "Hallo"},
        {kMid1, INT_MIN, 0, "Hallo"}, {kMid1, INT_MAX, 0, ""}, {kMid2, -2, 3, "Hal"}, {kMid2, 0, 99, "Hallo"},
        {kMid2, 1, 3, "all"}, {kMid2, 4, INT_MAX, "o"}, {kMid2, 2, -1, ""}, {kMid2, INT_MAX, INT_MAX, ""},
        {kMid2, INT_MIN, INT_MIN, ""}, {kMid2, INT_MIN, INT_MAX, "Hallo"},
    };
    const C_String s("Hallo");
    for (const auto& c : cases) {
        const C_String r = c.op == kLeft ? s.Left(c.a) : c.op == kRight ? s.Right(c.a)
                         : c.op == kMid1 ? s.Mid(c.a) : s.Mid(c.a, c.b);
        EXPECT_EQ(View(r), c.expected) << "op " << c.op << " (" << c.a << ", " << c.b << ")";
    }
    EXPECT_EQ(View(s), "Hallo");
}

TEST(StringEdit, SetAtCaseAndTrim) {
    C_String s("Zeit 12 Zone");
    for (int index : {-1, 12, INT_MAX, INT_MIN}) s.SetAt(index, 'x');
    s.SetAt(11, 'E');
    EXPECT_EQ(View(s), "Zeit 12 ZonE");
    s.MakeUpper();
    EXPECT_EQ(View(s), "ZEIT 12 ZONE");
    s.MakeLower();
    EXPECT_EQ(View(s), "zeit 12 zone");
    const struct {
        const char *text, *left, *right;
    } trims[] = {
        {"  ab c \t", "ab c \t", "  ab c"}, {"abc", "abc", "abc"}, {"", "", ""},
        {" \t\r\n\v\f", "", ""}, {"a\n", "a\n", "a"},
    };
    for (const auto& t : trims) {
        C_String l(t.text), r(t.text);
        l.TrimLeft();
        r.TrimRight();
        EXPECT_EQ(View(l), t.left) << '"' << t.text << '"';
        EXPECT_EQ(View(r), t.right) << '"' << t.text << '"';
    }
    const int base = g_liveBlocks;
    s = "   Mitte";
    const char* block = s.c_str();
    s.TrimLeft();  // to the front of the same block
    EXPECT_EQ(s.c_str(), block);
    s = "\t ";
    s.TrimLeft();  // nothing left: the block goes
    EXPECT_EQ(g_liveBlocks, base - 1);
}

TEST(StringFormat, PrintsAndCutsAt499) {
    C_String s;
    s.Format("%d-%s|%I64d|%I64x", 42, "ab", 1234567890123ll, 0xABCDEF0123ll);
    EXPECT_EQ(View(s), "42-ab|1234567890123|abcdef0123");
    s.Format("[%s]", s.c_str());
    EXPECT_EQ(View(s), "[42-ab|1234567890123|abcdef0123]");
    for (std::size_t n : {498u, 499u, 500u, 600u}) {
        s.Format("%s", std::string(n, 'x').c_str());
        EXPECT_EQ(View(s), std::string(n < 499 ? n : 499, 'x')) << n;
    }
}

TEST(StringWide, ConvertsToAnsi) {
    const unsigned short empty[] = {0}, zeit[] = {'Z', 'e', 'i', 't', 0};
    const int base = g_liveBlocks;
    C_String s(zeit);
    EXPECT_EQ(View(s), "Zeit");
    s = empty;  // converts to nothing but the terminator
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(g_liveBlocks, base);
    if (GetACP() == 1252) {  // Western European: A umlaut is 0xC4, a CJK character has no byte
        const unsigned short other[] = {0x00C4, 'x', 0x4E00, 0};
        s = other;
        EXPECT_EQ(View(s), "\xC4x?");
    }
}

TEST(StringSearch, FindsAndCompares) {
    const C_String s("Zeitzone");
    EXPECT_EQ(s.Find('z'), 4);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("zone"), 4);
    EXPECT_EQ(s.Find("Zone"), -1);
    EXPECT_EQ(s.FindOneOf("oe"), 1);
    EXPECT_EQ(s.FindOneOf("xy"), -1);
    EXPECT_LT(s.Compare("Zeitzonf"), 0);
    EXPECT_GT(s.Compare("Zeit"), 0);
    EXPECT_EQ(s.CompareNoCase("ZEITZONE"), 0);
    EXPECT_EQ(s.Collate("Zeitzone"), 0);
    EXPECT_TRUE(s == "Zeitzone" && s == C_String("Zeitzone"));
    EXPECT_TRUE(s != "zeitzone" && s != C_String());
}

TEST(StringSearch, DoubleByteCodePageOffsets) {
    struct CodePage932 {  // Shift-JIS for this test, then back to the former code page
        int saved = _getmbcp();
        int result = _setmbcp(932);
        ~CodePage932() { _setmbcp(saved); }
    } const codePage;
    ASSERT_EQ(codePage.result, 0);
    // 0x83 0x41 is katakana A: its trail byte has the code of 'A' but is no 'A'.
    C_String s("\x83\x41" "A" "\x82\xA0" "yz");
    EXPECT_EQ(s.Find('A'), 2);
    EXPECT_EQ(s.Find("A"), 2);
    EXPECT_EQ(s.Find("AA"), -1);
    EXPECT_EQ(s.FindOneOf("yA"), 2);
    EXPECT_EQ(s.Find("y"), 5);  // hiragana a (0x82 0xA0) counts two bytes
    s.MakeLower();
    EXPECT_EQ(View(s), "\x83\x41" "a" "\x82\xA0" "yz");
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
