// The OBJ reader's inlined tokens and numbers give what the general ones give, and the
// corner table numbers corners as a plain search in order of first appearance would.
#include "mesh/corner_table.h"
#include "mesh/fast_tokens.h"
#include "mesh/numbers.h"
#include "mesh/tokens.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace mw;

TEST(FastTokens, CutLinesAndNumbersAsTheGeneralFunctionsDo)
{
    // Lines and number tokens, each separated by '|'.
    const std::string lines = "v  1.5   -2|f 1, 2, 3|f 1/2/3 4/5/6 7/8/9 |\tvn\t0 0 1| v 1||   |x,, y, z,|"
                              "f\t1//3\t\t2//4 3//5|usemtl skin ,|f 1/1/1,2/2/2,|,|a ,b";
    const std::string numbers = "0|-0.000000|-12.345678|0.1|.5|5.|-.25|3abc|abc||-|1,5|1.5e2|2D3|&H1F|+3.25|"
                                "1234567890123456|0.30000000000000004|1e39|-1e400|0.0000000000000000000001|"
                                "00000000000000000001.5";
    std::size_t start = 0;
    for (std::size_t bar; (bar = lines.find('|', start)) != std::string::npos || start <= lines.size();
         start = bar + 1) {
        bar = std::min(bar, lines.size());
        const std::string line = lines.substr(start, bar - start);
        TokenCursor slow(line);
        FastTokens fast(line);
        for (int n = 1; n <= 8; ++n)
            EXPECT_EQ(fast.next(), slow.next()) << "token " << n << " of \"" << line << "\"";
        EXPECT_EQ(skip_blanks(line), skip_separators(line));
    }
    start = 0;
    for (std::size_t bar; (bar = numbers.find('|', start)) != std::string::npos || start <= numbers.size();
         start = bar + 1) {
        bar = std::min(bar, numbers.size());
        const std::string t = numbers.substr(start, bar - start);
        const double slow = parse_number(t), fast = parse_number_fast(t);
        EXPECT_EQ(std::memcmp(&slow, &fast, sizeof slow), 0) << t << ": " << slow << " vs " << fast;
    }
    // Random numbers as exporters write them, through to 32-bit floats.
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

TEST(CornerTable, NumbersInOrderOfFirstAppearanceAsAPlainSearchWouldUpToTheLimit)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pick(0, 60);
    CornerTable table;
    for (int model = 0; model < 3; ++model) {
        std::vector<Corner> seen;
        for (int i = 0; i < 30000; ++i) {
            const Corner c{pick(random) + 1, pick(random) % 7, model == 1 ? 0 : pick(random) % 5};
            auto at = std::find(seen.begin(), seen.end(), c) - seen.begin();
            if (at == static_cast<std::ptrdiff_t>(seen.size()))
                seen.push_back(c);
            ASSERT_EQ(table.number(c), static_cast<std::int32_t>(at + 1));
        }
        EXPECT_EQ(table.take_entries(), seen);
        EXPECT_TRUE(table.entries().empty());
    }
    for (std::int32_t i = 1; i <= CornerTable::kMaxEntries; ++i)
        ASSERT_EQ(table.number({i, 0, 0}), i);
    EXPECT_EQ(table.number({CornerTable::kMaxEntries, 0, 0}), CornerTable::kMaxEntries);
    EXPECT_EQ(table.number({0, 0, 1}), 0);
}
