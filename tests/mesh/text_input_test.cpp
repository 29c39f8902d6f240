// Text as the readers see it: lines cut alike whatever the blocks, byte-order marks,
// messages without line ends, the loaders' plain-words refusals, then tokens and numbers.
// The OBJ reader's inlined numbers must give what the general ones give (compared on the
// fuzz seeds, tests/fuzz; its limits are in the OBJ reader's tests).
#include "mesh/mesh_text.h"
#include "mesh/numbers.h"
#include "mesh/tokens.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace mw::test {
namespace {

const std::string kObj = "g seat\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";
const std::string kSmd = "version 1\ntriangles\nskin.bmp\n5 0 0 0 0 0 1 0 0\n5 1 0 0 0 0 1 0 0\n"
                         "5 0 1 0 0 0 1 0 1\nend\n";
const std::string kBom = "\xEF\xBB\xBF";

// Hands `text` out in blocks of `size` bytes, as a file read in small pieces would.
struct BlockSource final : TextSource {
    BlockSource(std::string_view text, std::size_t size) : TextSource("blocks.txt"), text_(text), size_(size) {}
    std::string_view next_block() override
    {
        const std::string_view block = text_.substr(0, size_);
        text_.remove_prefix(block.size());
        return block;
    }
    std::string_view text_;
    std::size_t size_;
};

TEST(TextInput, EveryLineEndCountsOnceWhateverTheBlocks)
{
    using Lines = std::vector<std::string>;
    const struct {
        std::string text;
        Lines lines; // an empty entry follows the last line
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb\r", {"a", "b", ""}},
        {"no line end", {"no line end", ""}},
        {"a\r\n\r\nb", {"a", "", "b", ""}},
        {"x\r\n\ry\nz", {"x", "", "y", "z", ""}},
        {"v 1\nv 2\r\nv 3\rv 4", {"v 1", "v 2", "v 3", "v 4", ""}},
        {"\r", {"", ""}},
        {kBom + "g a\nf 1", {"g a", "f 1", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (std::size_t size : {1, 2, 3, 64}) {
            BlockSource source(c.text, size);
            LineReader reader(source);
            NullSink sink;
            ASSERT_TRUE(reader.start(sink));
            Lines lines;
            for (std::string_view line; reader.next(line);)
                lines.emplace_back(line);
            EXPECT_EQ(lines, c.lines) << "blocks of " << size;
        }
    }
}

TEST(TextInput, ByteOrderMarks)
{
    EXPECT_EQ(read_obj_text(kBom + kObj).model().name, "seat") << "the first line is read";
    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"})
        for (const TextRead& r : {read_obj_text(mark + kObj), read_smd_text(mark + kSmd)})
            EXPECT_TRUE(!r.ok && r.sink.contains("UTF-16") && r.sink.contains("UTF-8 or ANSI")) << r.sink.last();
}

TEST(TextInput, MessagesCarryNoLineEndsAndRefusalsArePlainWords)
{
    State state;
    RecordingSink missing;
    EXPECT_FALSE(read_smd(state, "/nonexistent-folder/mesh.smd", missing));
    const struct {
        RecordingSink sink;
        std::string first, part; // the last message is `first`, or starts with it and holds `part`
    } cases[] = {
        {read_obj_text(kObj).sink, "Finished reading obj file. Number of models:1", ""},
        {read_smd_text(kSmd).sink, "Finished reading smd file. Number of models:1", ""},
        {read_obj_text("").sink, "Error #:  62 Input past end of file. ", "mesh.obj is empty"},
        {missing, "Error #:  53 File not found. ", "no such file as /nonexistent-folder/mesh.smd"},
        {read_obj_text(kObj + "f 9/1/1 1/1/1 2/1/1\r\n").sink, "", "line 8"},
        {read_smd_text("triangles\r\n").sink, "", "no triangles"},
    };
    for (const auto& c : cases) {
        if (c.part.empty())
            EXPECT_EQ(c.sink.last(), c.first);
        else
            EXPECT_TRUE(c.sink.last().rfind(c.first, 0) == 0 && c.sink.contains(c.part)) << c.sink.last();
        for (const RecordingSink::Entry& e : c.sink.entries)
            EXPECT_EQ(e.text.find_first_of("\r\n"), std::string::npos) << e.text;
    }
}

TEST(Tokens, RunsOfSpacesAndTabsSeparateAndOnlyTheLastTokenKeepsItsComma)
{
    using Tokens = std::vector<std::string_view>;
    const std::pair<std::string_view, Tokens> cases[] = {
        {"v  1.5   -2", {"v", "1.5", "-2", ""}},
        {" v 1", {"", "v", "1", ""}},
        {"1, 2, 3,", {"1", "2", "3,", ""}},
        {"v\t1 ", {"v", "1", "", ""}},
    };
    for (const auto& [text, tokens] : cases) {
        TokenCursor cursor(text);
        Tokens got;
        for (std::size_t n = 0; n < tokens.size(); ++n)
            got.push_back(cursor.next());
        EXPECT_EQ(got, tokens) << text;
    }
    EXPECT_EQ(skip_separators(" \t 5 "), "5 ");
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
    EXPECT_TRUE(std::isinf(parse_number("1" + std::string(400, '0') + "x-999"))) << "only e or d starts an exponent";
    EXPECT_EQ(parse_number("-123456789e400"), -INFINITY);
}

TEST(Numbers, FieldsRefuseWhatTheyCannotHoldAndRoundHalvesToEven)
{
    std::int16_t v = 0;
    for (const auto& [in, out] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {32767.4, 32767}, {-32768.0, -32768}})
        EXPECT_TRUE(to_int16(in, v) && v == out) << in;
    EXPECT_FALSE(to_int16(32767.5, v)) << "rounds to 32768, beyond the field";
    float f = 0;
    ASSERT_TRUE(to_float32(3.40282356e38, f)) << "rounds to the largest float";
    EXPECT_EQ(f, 3.4028235e38f);
    EXPECT_FALSE(to_float32(3.4028236e38, f)) << "rounds to infinity";
    EXPECT_FALSE(to_float32(-1e300, f));
    EXPECT_FALSE(to_float32(INFINITY, f));
}

TEST(Numbers, Formats)
{
    // A float's binary noise stays beyond 7 digits; rounding may carry into the exponent;
    // an exact half rounds away from zero; a value shown as zero has no minus sign. The
    // OBJ writer's text and the conversion's lossless floats are checked where they are written.
    const std::pair<std::string, std::string> cases[] = {
        {format_general(0.5), ".5"},
        {format_general(-0.0), "0"},
        {format_general(0.1f), ".1"},
        {format_general(1234567), "1234567"},
        {format_general(12345678), "1.234568E+07"},
        {format_general(0.0001), ".0001"},
        {format_general(-0.000012345), "-1.2345E-05"},
        {format_general(9999999.6), "1E+07"},
        {format_general(0.001234567891), ".001234568"},
        {format_int_item(-1) + format_int_item(12), "-1  12 "},
        {format_fixed(-0.25, 8), "-0.25000000"},
        {format_fixed(0.125, 2) + format_fixed(-0.125, 2), "0.13-0.13"},
        {format_fixed(0.6f, 2), "0.60"},
        {format_fixed(-0.0000001, 6), "0.000000"},
        {format_fixed(123456.7, 2), "123456.70"},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}

} // namespace
} // namespace mw::test
