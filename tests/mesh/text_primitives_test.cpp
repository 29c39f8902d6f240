// Line loading, tokens and numbers: the ground every text reader stands on.
#include "mesh/numbers.h"
#include "mesh/text_lines.h"
#include "mesh/tokens.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace mw;

TEST(TextLines, EveryLineEndCountsOnceAndAnEmptyEntryFollows)
{
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(split_lines("a\r\nb\r\n"), (Lines{"a", "b", ""}));
    EXPECT_EQ(split_lines("a\rb\r"), (Lines{"a", "b", ""}));
    EXPECT_EQ(split_lines("no line end"), (Lines{"no line end", ""}));
    EXPECT_EQ(split_lines("a\r\n\r\nb"), (Lines{"a", "", "b", ""}));
    EXPECT_EQ(split_lines("v 1\nv 2\r\nv 3\rv 4"), (Lines{"v 1", "v 2", "v 3", "v 4", ""}));
}

TEST(TextLines, LoadReportsFailureAndKeepsPreviousLines)
{
    test::TempDir dir;
    test::write_file(dir.file("good.txt"), "first\r\nsecond\r\n");
    test::write_file(dir.file("empty.txt"), "");
    TextLines lines;
    RecordingSink sink;
    ASSERT_TRUE(load_text_lines(dir.file("good.txt"), lines, sink));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "second");
    for (const auto& [path, says] : {std::pair{dir.file("missing.txt"), "Error #:  53 File not found"},
                                     std::pair{dir.file("empty.txt"), "Error #:  62"}, std::pair{dir.path(), ""}}) {
        sink.clear();
        EXPECT_FALSE(load_text_lines(path, lines, sink)) << path;
        EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(says)) << sink.last();
        EXPECT_EQ(lines[0], "first");
    }
}

TEST(Tokens, SeparatorsRunsCommasAndSlashes)
{
    const struct {
        const char* text;
        int n;
        char delimiter;
        const char* token;
    } cases[] = {
        {"v  1.5   -2", 3, 0, "-2"}, {" v 1", 1, 0, ""},     {" v 1", 2, 0, "v"},   {"1, 2, 3", 2, 0, "2"},
        {"1, 2, 3,", 3, 0, "3,"},    {"a b", 3, 0, ""},      {"v\t1", 2, 0, "1"},   {"v 1 ", 3, 0, ""},
        {"12/5/3", 2, '/', "5"},     {"12//3", 2, '/', "3"}, {"12//3", 3, '/', ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(get_token(c.text, c.n, c.delimiter), c.token) << c.text << " #" << c.n;
    EXPECT_EQ(find_separator("a b/c", '/'), 4u) << "a space is no separator when the delimiter is /";
    EXPECT_EQ(skip_separators("// 5", '/'), "5");
    for (std::string_view text : {"f 1/2/3 4/5/6 7/8/9", "  a,, b\t,c  ", ",a, b,"}) {
        TokenCursor cursor(text);
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(cursor.next(), get_token(text, n)) << "'" << text << "' token " << n;
    }
}

TEST(Numbers, LenientParse)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {{"1.5e2", 150},    {"-.5", -0.5},  {"3abc", 3},  {"abc", 0},  {"1,5", 1}, {"  \t+2.25", 2.25},
                 {"1.5D3", 1500},   {"2d-1", 0.2},  {"1e+x", 1},  {"5.", 5},   {"-", 0},   {"&HFF", 255},
                 {"&hff00", 65280}, {"&hab", 171},  {"&O17", 15}, {"&o19", 1}, {"inf", 0}, {"0.1", 0.1},
                 {"1e-999", 0},     {"0e999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(parse_number(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(parse_number("1e999")));
    EXPECT_EQ(parse_number("-123456789e400"), -INFINITY);
}

TEST(Numbers, FieldsRefuseWhatTheyCannotHoldAndRoundHalvesToEven)
{
    std::int16_t v = 0;
    for (const auto& [in, out] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {32767.4, 32767}, {-32768.0, -32768}}) {
        ASSERT_TRUE(to_int16(in, v)) << in;
        EXPECT_EQ(v, out) << in;
    }
    EXPECT_FALSE(to_int16(32767.5, v)) << "rounds to 32768, beyond the field";
    EXPECT_FALSE(to_int16(-40000, v));
    float f = 0;
    ASSERT_TRUE(to_float32(3.40282356e38, f)) << "rounds to the largest float";
    EXPECT_EQ(f, 3.4028235e38f);
    EXPECT_FALSE(to_float32(3.4028236e38, f)) << "rounds to infinity";
    EXPECT_FALSE(to_float32(-1e300, f));
    EXPECT_FALSE(to_float32(INFINITY, f));
}

TEST(Numbers, Formats)
{
    const struct {
        std::string got, expected;
    } cases[] = {
        {format_general(0.5), ".5"},
        {format_general(-0.5), "-.5"},
        {format_general(-0.0), "0"},
        {format_general(0.1f), ".1"}, // a float's binary noise stays beyond 7 digits
        {format_general(1234567), "1234567"},
        {format_general(12345678), "1.234568E+07"},
        {format_general(0.00001), "1E-05"},
        {format_general(0.0001), ".0001"},
        {format_general(-0.000012345), "-1.2345E-05"},
        {format_general(9999999.6), "1E+07"}, // rounding may carry into the exponent
        {format_general(0.001234567891), ".001234568"},
        {format_number_item(-0.25), "-.25 "},
        {format_number_item(3), " 3 "},
        {format_int_item(-1), "-1 "},
        {format_int_item(12), " 12 "},
        {format_fixed(-0.25, 8), "-0.25000000"},
        {format_fixed(0.125, 2), "0.13"}, // an exact half rounds away from zero
        {format_fixed(-0.125, 2), "-0.13"},
        {format_fixed(0.6f, 2), "0.60"},
        {format_fixed(-0.0000001, 6), "0.000000"}, // no minus sign on a value shown as zero
        {format_fixed(123456.7, 2), "123456.70"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected);
    for (float x : {0.1f, -0.0f, 1.0f / 3.0f, 3.4028235e38f, 1e-45f, 16777216.0f}) {
        float back = 0;
        ASSERT_TRUE(to_float32(parse_number(format_float_shortest(x)), back)) << format_float_shortest(x);
        EXPECT_EQ(std::signbit(back), std::signbit(x));
        EXPECT_EQ(back, x) << format_float_shortest(x);
    }
}
