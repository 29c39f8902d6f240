// Line loading, tokens and numbers: the ground every text reader stands on.
#include "mesh/locale.h"
#include "mesh/numbers.h"
#include "mesh/text_lines.h"
#include "mesh/tokens.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace mw;

namespace {

std::vector<std::string> lines_of(std::string_view text)
{
    std::vector<std::string> out;
    for (std::string_view l : split_lines(text))
        out.emplace_back(l);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(TextLines, EveryLineEndCountsOnceAndAnEmptyEntryFollows)
{
    EXPECT_EQ(lines_of("a\r\nb\r\n"), (Lines{"a", "b", ""}));
    EXPECT_EQ(lines_of("a\nb\n"), (Lines{"a", "b", ""}));
    EXPECT_EQ(lines_of("a\rb\r"), (Lines{"a", "b", ""}));
    EXPECT_EQ(lines_of("no line end"), (Lines{"no line end", ""}));
    EXPECT_EQ(lines_of("a\r\nb"), (Lines{"a", "b", ""}));
    EXPECT_EQ(lines_of("\n"), (Lines{"", ""}));
    EXPECT_EQ(lines_of("a\r\n\r\nb"), (Lines{"a", "", "b", ""}));
}

TEST(TextLines, MixedLineEndsKeepTheWholeFile)
{
    // A first line ending in LF followed by CR LF and CR lines: nothing is lost.
    EXPECT_EQ(lines_of("v 1\nv 2\r\nv 3\rv 4"), (Lines{"v 1", "v 2", "v 3", "v 4", ""}));
}

TEST(TextLines, ForEachLineSeesWhatSplitLinesReturns)
{
    const std::string text = "x\r\n\ry\nz";
    std::vector<std::string> seen;
    for_each_line(text, [&](std::string_view l) { seen.emplace_back(l); });
    EXPECT_EQ(seen, lines_of(text));
}

TEST(TextLines, LoadReportsFailureAndKeepsPreviousLines)
{
    test::TempDir dir;
    const std::string good = dir.file("good.txt");
    test::write_file(good, "first\r\nsecond\r\n");
    TextLines lines;
    RecordingSink sink;
    ASSERT_TRUE(load_text_lines(good, lines, sink));
    EXPECT_TRUE(sink.empty());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "second");

    EXPECT_FALSE(load_text_lines(dir.file("missing.txt"), lines, sink));
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_EQ(sink.last().rfind("Error #:  53 File not found", 0), 0u) << sink.last();
    EXPECT_TRUE(sink.contains("missing.txt"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "first");

    const std::string empty = dir.file("empty.txt");
    test::write_file(empty, "");
    sink.clear();
    EXPECT_FALSE(load_text_lines(empty, lines, sink));
    EXPECT_TRUE(sink.contains("Error #:  62"));
    EXPECT_EQ(lines[0], "first");

    sink.clear();
    EXPECT_FALSE(load_text_lines(dir.path(), lines, sink)) << "a folder is not a text file";
    EXPECT_FALSE(sink.empty());
}

TEST(Tokens, SeparatorsRunsAndCommas)
{
    EXPECT_EQ(get_token("v  1.5   -2", 3), "-2");
    EXPECT_EQ(get_token(" v 1", 1), "");
    EXPECT_EQ(get_token(" v 1", 2), "v");
    EXPECT_EQ(get_token("1, 2, 3", 2), "2");
    EXPECT_EQ(get_token("1, 2, 3,", 3), "3,") << "the last token keeps its comma";
    EXPECT_EQ(get_token("a b", 3), "");
    EXPECT_EQ(get_token("a b", 2), "b");
    EXPECT_EQ(get_token("v\t1", 2), "1");
    EXPECT_EQ(get_token("", 1), "");
    EXPECT_EQ(get_token("v 1 ", 3), "");
}

TEST(Tokens, SlashDelimiter)
{
    EXPECT_EQ(get_token("12/5/3", 2, '/'), "5");
    EXPECT_EQ(get_token("12//3", 2, '/'), "3");
    EXPECT_EQ(get_token("12//3", 3, '/'), "");
}

TEST(Tokens, SeparatorHelpers)
{
    EXPECT_EQ(find_separator("ab cd"), 3u);
    EXPECT_EQ(find_separator("ab\tcd"), 3u);
    EXPECT_EQ(find_separator("abcd"), 0u);
    EXPECT_EQ(find_separator("a/b c", '/'), 2u);
    EXPECT_EQ(find_separator("a b/c", '/'), 4u) << "a space is no separator when the delimiter is /";
    EXPECT_EQ(skip_separators(" \t x y"), "x y");
    EXPECT_EQ(skip_separators("// 5", '/'), "5");
}

TEST(Tokens, CursorMatchesGetToken)
{
    for (std::string_view text : {"f 1/2/3 4/5/6 7/8/9", "  a,, b\t,c  ", "x", "", ",a, b,"}) {
        TokenCursor cursor(text);
        for (int n = 1; n <= 6; ++n)
            EXPECT_EQ(cursor.next(), get_token(text, n)) << "'" << text << "' token " << n;
    }
}

TEST(Numbers, LenientParse)
{
    EXPECT_DOUBLE_EQ(parse_number("1.5e2"), 150);
    EXPECT_DOUBLE_EQ(parse_number("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(parse_number("3abc"), 3);
    EXPECT_DOUBLE_EQ(parse_number("abc"), 0);
    EXPECT_DOUBLE_EQ(parse_number(""), 0);
    EXPECT_DOUBLE_EQ(parse_number("1,5"), 1) << "a comma is never a decimal point";
    EXPECT_DOUBLE_EQ(parse_number("  \t+2.25"), 2.25);
    EXPECT_DOUBLE_EQ(parse_number("1.5D3"), 1500);
    EXPECT_DOUBLE_EQ(parse_number("2d-1"), 0.2);
    EXPECT_DOUBLE_EQ(parse_number("1e"), 1) << "an exponent letter without digits ends the number";
    EXPECT_DOUBLE_EQ(parse_number("1e+x"), 1);
    EXPECT_DOUBLE_EQ(parse_number("5."), 5);
    EXPECT_DOUBLE_EQ(parse_number("."), 0);
    EXPECT_DOUBLE_EQ(parse_number("-"), 0);
    EXPECT_DOUBLE_EQ(parse_number("&HFF"), 255);
    EXPECT_DOUBLE_EQ(parse_number("&hff00"), 65280);
    EXPECT_DOUBLE_EQ(parse_number("&O17"), 15);
    EXPECT_DOUBLE_EQ(parse_number("&o19"), 1) << "octal stops at 9";
    EXPECT_DOUBLE_EQ(parse_number("inf"), 0);
    EXPECT_DOUBLE_EQ(parse_number("nan"), 0);
    EXPECT_DOUBLE_EQ(parse_number("0.1"), 0.1) << "correctly rounded";
    EXPECT_TRUE(std::isinf(parse_number("1e999")));
    EXPECT_TRUE(std::isinf(parse_number("-123456789e400")));
    EXPECT_LT(parse_number("-123456789e400"), 0);
    EXPECT_EQ(parse_number("1e-999"), 0);
    EXPECT_EQ(parse_number("0e999999"), 0);
}

TEST(Numbers, IntegerFieldsRoundHalvesToEven)
{
    const struct {
        double in;
        std::int16_t out;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {32767.4, 32767}, {-32768, -32768}};
    std::int16_t v = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(to_int16(c.in, v)) << c.in;
        EXPECT_EQ(v, c.out) << c.in;
    }
    EXPECT_FALSE(to_int16(32767.5, v)) << "rounds to 32768, beyond the field";
    EXPECT_FALSE(to_int16(-40000, v));
    EXPECT_FALSE(to_int16(parse_number("1e999"), v));
}

TEST(Numbers, FloatFieldsRefuseWhatAFloatCannotHold)
{
    float f = 0;
    ASSERT_TRUE(to_float32(0.1, f));
    EXPECT_EQ(f, 0.1f);
    ASSERT_TRUE(to_float32(-3.4e38, f));
    ASSERT_TRUE(to_float32(3.40282356e38, f)) << "rounds to the largest float";
    EXPECT_EQ(f, 3.4028235e38f);
    EXPECT_FALSE(to_float32(3.4028236e38, f)) << "rounds to infinity";
    EXPECT_FALSE(to_float32(3.5e38, f));
    EXPECT_FALSE(to_float32(-1e300, f));
    EXPECT_FALSE(to_float32(parse_number("1e999"), f));
}

TEST(Numbers, GeneralFormat)
{
    EXPECT_EQ(format_general(0.5), ".5");
    EXPECT_EQ(format_general(-0.5), "-.5");
    EXPECT_EQ(format_general(1), "1");
    EXPECT_EQ(format_general(0), "0");
    EXPECT_EQ(format_general(-0.0), "0");
    EXPECT_EQ(format_general(1.25), "1.25");
    EXPECT_EQ(format_general(0.1f), ".1") << "a float's binary noise stays beyond 7 digits";
    EXPECT_EQ(format_general(1234567), "1234567");
    EXPECT_EQ(format_general(12345678), "1.234568E+07");
    EXPECT_EQ(format_general(0.00001), "1E-05");
    EXPECT_EQ(format_general(0.0001), ".0001");
    EXPECT_EQ(format_general(-0.000012345), "-1.2345E-05");
    EXPECT_EQ(format_general(1e20), "1E+20");
    EXPECT_EQ(format_general(9999999.6), "1E+07") << "rounding may carry into the exponent";
    EXPECT_EQ(format_general(100), "100");
    EXPECT_EQ(format_general(0.001234567891), ".001234568");
}

TEST(Numbers, Items)
{
    EXPECT_EQ(format_number_item(-0.25), "-.25 ");
    EXPECT_EQ(format_number_item(3), " 3 ");
    EXPECT_EQ(format_number_item(0.1), " .1 ");
    EXPECT_EQ(format_number_item(0), " 0 ");
    EXPECT_EQ(format_int_item(0), " 0 ");
    EXPECT_EQ(format_int_item(12), " 12 ");
    EXPECT_EQ(format_int_item(-1), "-1 ");
}

TEST(Numbers, FixedPatterns)
{
    EXPECT_EQ(format_fixed(1.5, 6), "1.500000");
    EXPECT_EQ(format_fixed(-0.25, 8), "-0.25000000");
    EXPECT_EQ(format_fixed(0.5, 2), "0.50");
    EXPECT_EQ(format_fixed(0.125, 2), "0.13") << "an exact half rounds away from zero";
    EXPECT_EQ(format_fixed(-0.125, 2), "-0.13");
    EXPECT_EQ(format_fixed(0.6f, 2), "0.60");
    EXPECT_EQ(format_fixed(1.570796, 6), "1.570796");
    EXPECT_EQ(format_fixed(-1.0, 6), "-1.000000");
    EXPECT_EQ(format_fixed(-0.0, 6), "0.000000");
    EXPECT_EQ(format_fixed(-0.0000001, 6), "0.000000") << "no minus sign on a value shown as zero";
    EXPECT_EQ(format_fixed(123456.7, 2), "123456.70");
    EXPECT_EQ(format_fixed(0.1f, 8), "0.10000000");
}

TEST(Numbers, ShortestFloatReadsBack)
{
    for (float f : {0.1f, -0.0f, 1.0f / 3.0f, 3.4028235e38f, 1e-45f, -123.456f, 16777216.0f}) {
        float back = 0;
        ASSERT_TRUE(to_float32(parse_number(format_float_shortest(f)), back)) << format_float_shortest(f);
        EXPECT_EQ(std::signbit(back), std::signbit(f));
        EXPECT_EQ(back, f) << format_float_shortest(f);
    }
}

TEST(Locale, ForceDecimalPointTouchesNothing)
{
    force_decimal_point();
    EXPECT_DOUBLE_EQ(parse_number("2.5"), 2.5);
    EXPECT_EQ(format_fixed(2.5, 2), "2.50");
}
