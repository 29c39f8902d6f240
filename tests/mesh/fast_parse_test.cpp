// The OBJ reader's inlined tokens and numbers give what the general ones give, and the
// corner table numbers corners as a plain search in order of first appearance would.
#include "mesh/corner_table.h"
#include "mesh/fast_tokens.h"
#include "mesh/numbers.h"
#include "mesh/tokens.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace mw;

TEST(FastTokens, CutLinesAsTheTokenCursorDoes)
{
    const char* const lines[] = {"v  1.5   -2",
                                 "f 1, 2, 3",
                                 "f 1/2/3 4/5/6 7/8/9 ",
                                 "\tvn\t0 0 1",
                                 " v 1",
                                 "a b",
                                 "",
                                 "   ",
                                 "g name,",
                                 "x,, y, z,",
                                 "f\t1//3\t\t2//4 3//5",
                                 "vt 0.25 0.75\t",
                                 "usemtl skin ,",
                                 "f 1/1/1,2/2/2,",
                                 ",",
                                 "a ,b"};
    for (const char* line : lines) {
        TokenCursor slow(line);
        FastTokens fast(line);
        for (int n = 1; n <= 8; ++n)
            EXPECT_EQ(fast.next(), slow.next()) << "token " << n << " of \"" << line << "\"";
        EXPECT_EQ(skip_blanks(line), skip_separators(line));
    }
}

TEST(FastTokens, NumbersMatchTheGeneralParse)
{
    const char* const tokens[] = {"0",
                                  "-0.000000",
                                  "1.5",
                                  "-12.345678",
                                  "0.1",
                                  ".5",
                                  "5.",
                                  "-.25",
                                  "3abc",
                                  "abc",
                                  "",
                                  "-",
                                  "1,5",
                                  "1.5e2",
                                  "2D3",
                                  "&H1F",
                                  "+3.25",
                                  "123456789012345",
                                  "1234567890123456",
                                  "0.30000000000000004",
                                  "9999999.999999",
                                  "1e39",
                                  "-1e400",
                                  "0.0000000000000000000001",
                                  "00000000000000000001.5"};
    for (const char* t : tokens) {
        const double slow = parse_number(t);
        const double fast = parse_number_fast(t);
        EXPECT_EQ(std::memcmp(&slow, &fast, sizeof slow), 0) << t << ": " << slow << " vs " << fast;
    }
    // Random six-decimal numbers as exporters write them, through to 32-bit floats.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> values(-1000, 1000);
    for (int i = 0; i < 20000; ++i) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.*f", i % 9, values(random));
        float slow = 0, fast = 0;
        ASSERT_TRUE(to_float32(parse_number(buf), slow));
        ASSERT_TRUE(to_float32_fast(parse_number_fast(buf), fast));
        ASSERT_EQ(slow, fast) << buf;
    }
    float out = 0;
    EXPECT_FALSE(to_float32_fast(4e38, out));
    EXPECT_TRUE(to_float32_fast(3.4028234e38, out));
}

TEST(CornerTable, NumbersInOrderOfFirstAppearanceAsAPlainSearchWould)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pick(0, 60);
    CornerTable table;
    for (int model = 0; model < 3; ++model) {
        std::vector<Corner> seen;
        for (int i = 0; i < 30000; ++i) {
            const Corner c{pick(random) + 1, pick(random) % 7, model == 1 ? 0 : pick(random) % 5};
            std::int32_t expected = 0;
            for (std::size_t e = 0; e < seen.size() && expected == 0; ++e)
                if (seen[e] == c)
                    expected = static_cast<std::int32_t>(e + 1);
            if (expected == 0) {
                seen.push_back(c);
                expected = static_cast<std::int32_t>(seen.size());
            }
            ASSERT_EQ(table.number(c), expected);
        }
        EXPECT_EQ(table.take_entries(), seen);
        EXPECT_TRUE(table.entries().empty());
    }
}

TEST(CornerTable, RefusesTheCornerAfterTheLimit)
{
    CornerTable table;
    for (std::int32_t i = 1; i <= CornerTable::kMaxEntries; ++i)
        ASSERT_EQ(table.number({i, 0, 0}), i);
    EXPECT_EQ(table.number({1, 0, 0}), 1);
    EXPECT_EQ(table.number({CornerTable::kMaxEntries, 0, 0}), CornerTable::kMaxEntries);
    EXPECT_EQ(table.number({0, 0, 1}), 0);
}
