// The editing windows' side files and field edits: round trips through every file, every
// malformed file refused with the record unchanged, the boxes' rounding and limits.
#include "gmdc/gmdc_edits.h"
#include "gmdc/gmdc_test_util.h"
#include "gmdc/side_files.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace mw::test {
namespace {

TEST(SideFiles, RecordsMakeTheRoundTripThroughEveryFile)
{
    std::vector<GmdcFile> records = {make_body_mesh()};
    for (const char* name : {"adult_body.5gd", "teapot.5gd"})
        if (!fixtures_dir().empty())
            records.push_back(parsed(read_file(fixtures_dir() + "/gmdc/" + name)));
    for (const GmdcFile& original : records) {
        GmdcFile g = original;
        RecordingSink sink;
        for (std::size_t k = 0; k < g.objects.size(); ++k)
            ASSERT_TRUE(replaceFaces(g, k, faceFileBytes(g.objects[k].faces), "f", sink)) << sink.last();
        for (std::size_t k = 0; k < g.dataLists.size(); ++k)
            ASSERT_TRUE(replaceDataList(g, k, dataListFileBytes(g.dataLists[k]), "d", sink)) << sink.last();
        EXPECT_EQ(g, original);
        // A version-4 file ends with P4 and then P5, so the two side files are its tail.
        g.resource.blockVersion = 4;
        EXPECT_TRUE(serialized(g).ends_with(p4FileBytes(original) + p5FileBytes(original)));
    }
    // One P5 entry is saved with the count 1: then vertexCount 3, faceCount 3, nine floats,
    // three i16 indices. An empty bounding mesh ends P4 with a single zero.
    GmdcFile g;
    g.p5Entries = {{{0, 0, 0}, {}}, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 2}}};
    const std::string p5 = p5EntryFileBytes(g, 1);
    ASSERT_EQ(p5.size(), 4u + 4 + 4 + 36 + 6);
    EXPECT_EQ(p5.substr(0, 12), le32(1) + le32(3) + le32(3));
    g.transforms.resize(2);
    g.namePairs = {{"a", "bc"}};
    EXPECT_EQ(p4FileBytes(g),
              le32(2) + std::string(2 * 28, '\0') + GmdcBytes().i32(1).name("a").name("bc").i32(0).str());
}

GmdcFile small_gmdc()
{
    GmdcFile g = make_static_mesh(4, 2); // lists 1-4 of 4 records, one object
    g.dataLists.push_back(make_bone_assignment_list(12));
    return g;
}

TEST(SideFiles, MalformedFilesAreRefusedAndChangeNothing)
{
    const std::string head = std::string(16, '\0'); // the data-list fields between count and length
    const struct {
        const char* what;
        bool faces;
        std::string bytes;
    } cases[] = {
        {"short face file", true, std::string("\x02\x00", 2)},
        {"negative face count", true, le32(-1)},
        {"count beyond the file", true, GmdcBytes().i32(3).i16(0).i16(1).str()},
        {"face index at the vertex count", true, GmdcBytes().i32(3).i16(0).i16(1).i16(4).str()},
        {"negative face index", true, GmdcBytes().i32(3).i16(0).i16(1).i16(-2).str()},
        {"short data-list head", false, le32(3) + std::string(10, '\0')},
        {"negative record count", false, le32(-3) + head + le32(0)},
        {"length not a multiple of 4", false, le32(1) + head + le32(6) + "abcdef"},
        {"length beyond the file", false, le32(1) + head + le32(8) + "abcd"},
    };
    for (const auto& c : cases) {
        GmdcFile g = small_gmdc();
        RecordingSink sink;
        EXPECT_FALSE(c.faces ? replaceFaces(g, 0, c.bytes, "side.simpe", sink)
                             : replaceDataList(g, 0, c.bytes, "side.simpe", sink))
            << c.what;
        EXPECT_TRUE(sink.contains("side.simpe")) << sink.last();
        EXPECT_EQ(g, small_gmdc()) << c.what;
    }
    // Bone assignments are read as integers; clearing a list zeroes every value.
    GmdcFile g = small_gmdc();
    RecordingSink sink;
    ASSERT_TRUE(replaceDataList(g, 4, le32(2) + head + le32(8) + le32(7) + le32(-1), "b", sink)) << sink.last();
    EXPECT_EQ(g.dataLists[4].recordCount, 2);
    EXPECT_EQ(g.dataLists[4].longValues, (std::vector<std::int32_t>{7, -1}));
    ASSERT_TRUE(clearDataList(g, 4, sink) && clearDataList(g, 0, sink));
    EXPECT_EQ(g.dataLists[4].longValues, (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(g.dataLists[0].floatValues, std::vector<float>(12, 0.0f));
    EXPECT_EQ(g.dataLists[0].recordCount, 4);
}

TEST(SideFiles, VertexCountBoxRoundsHalvesToEvenAndRefusesWhatTheListsCannotHold)
{
    const struct {
        const char* text;
        bool accepted;
        std::int32_t result;
    } cases[] = {
        {"2.5", true, 2}, {"3.5", true, 4}, {"4", true, 4},    {" 1x", true, 1},
        {"5", false, 4},  {"-1", false, 4}, {"abc", false, 4}, {"", false, 4},
    };
    for (const auto& c : cases) {
        GmdcFile g = small_gmdc(); // its lists hold 4 records
        RecordingSink sink;
        EXPECT_EQ(setVertexCount(g, 0, c.text, sink), c.accepted) << c.text;
        EXPECT_EQ(g.objectGroups[0].vertexCount, c.result) << c.text;
        EXPECT_EQ(sink.empty(), c.accepted) << c.text;
    }
}

TEST(SideFiles, FieldBoxesTakeNumbersAndRefuseTheRest)
{
    GmdcFile g = small_gmdc();
    g.transforms.resize(1);
    RecordingSink sink;
    EXPECT_TRUE(setOpacity(g, 0, "12.5", sink));
    EXPECT_FALSE(setOpacity(g, 0, "x", sink));
    EXPECT_EQ(g.objects[0].opacity, 12);
    // The group editor's commit takes no number as 0.
    EXPECT_TRUE(commitObject(g, 0, "body", "3.5", sink));
    EXPECT_EQ(g.objects[0].opacity, 4);
    EXPECT_TRUE(commitObject(g, 0, "body", "x", sink));
    EXPECT_EQ(g.objects[0].opacity, 0);
    EXPECT_FALSE(commitObject(g, 0, std::string(256, 'n'), "1", sink));
    EXPECT_EQ(g.objects[0].name, "body");

    EXPECT_TRUE(setLocation(g, 0, "1.5", "-2", ".25", sink));
    for (const auto& [x, y, z] : {std::tuple{"x", "2", "3"}, {"1", "y", "3"}, {"1", "2", "z"}, {"1", "2", "1e39"}})
        EXPECT_FALSE(setLocation(g, 0, x, y, z, sink)) << x << y << z;
    EXPECT_EQ(std::vector<float>(g.transforms[0].location, g.transforms[0].location + 3),
              (std::vector<float>{1.5f, -2, 0.25f}));
    EXPECT_TRUE(setLocation(g, 0, "&HFa", " &o17", "-.5", sink)) << "hexadecimal and octal numbers";
    EXPECT_EQ(std::vector<float>(g.transforms[0].location, g.transforms[0].location + 3),
              (std::vector<float>{250, 15, -0.5f}));

    g.p5Entries.resize(2);
    removeP5(g, {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2});
    EXPECT_TRUE(g.p5Entries.empty());
    EXPECT_EQ(g.boundingFaces, (std::vector<std::int16_t>{0, 1, 2}));
}

} // namespace
} // namespace mw::test
