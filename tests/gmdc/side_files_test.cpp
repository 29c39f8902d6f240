// The editing windows' side files and field edits: round trips on real files, every
// malformed file refused with the record unchanged, the boxes' rounding and limits.
#include "gmdc/gmdc_edits.h"
#include "gmdc/gmdc_test_util.h"
#include "gmdc/side_files.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace mw {
namespace {

GmdcFile fixture(const char* name)
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, test::fixtures_dir() + "/gmdc/" + name, sink)) << sink.last();
    return g;
}

TEST(SideFiles, RealFilesMakeTheRoundTripThroughEveryFile)
{
    if (test::fixtures_dir().empty())
        GTEST_SKIP() << "shared fixtures absent";
    for (const char* name : {"adult_body.5gd", "teapot.5gd"}) {
        SCOPED_TRACE(name);
        const GmdcFile original = fixture(name);
        GmdcFile g = original;
        RecordingSink sink;
        for (std::size_t k = 0; k < g.objects.size(); ++k)
            ASSERT_TRUE(replaceFaces(g, k, faceFileBytes(g.objects[k].faces), "f", sink)) << sink.last();
        for (std::size_t k = 0; k < g.dataLists.size(); ++k)
            ASSERT_TRUE(replaceDataList(g, k, dataListFileBytes(g.dataLists[k]), "d", sink)) << sink.last();
        EXPECT_EQ(g, original);

        // A version-4 file ends with P4 and then P5, so the two side files are its tail.
        GmdcFile v4 = original;
        v4.resource.blockVersion = 4;
        const std::string file = test::serialized(v4);
        EXPECT_TRUE(file.ends_with(p4FileBytes(original) + p5FileBytes(original)));
    }
    EXPECT_FALSE(fixture("adult_body.5gd").p5Entries.empty());
    EXPECT_TRUE(fixture("teapot.5gd").p5Entries.empty());
}

TEST(SideFiles, P4AndOneP5EntryHaveTheirLayout)
{
    GmdcFile g;
    g.p5Entries = {{{0, 0, 0}, {}}, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 2}}};
    const std::string p5 = p5EntryFileBytes(g, 1);
    // count 1, vertexCount 3, faceCount 3, nine floats, three i16 indices
    ASSERT_EQ(p5.size(), 4u + 4 + 4 + 36 + 6);
    EXPECT_EQ(std::vector<std::int32_t>({test::i32_at(p5, 0), test::i32_at(p5, 4), test::i32_at(p5, 8)}),
              std::vector<std::int32_t>({1, 3, 3}));
    // An empty bounding mesh ends P4 with a single zero.
    g.transforms.resize(2);
    g.namePairs = {{"a", "bc"}};
    const std::string p4 = p4FileBytes(g);
    ASSERT_EQ(p4.size(), 4u + 2 * 28 + 4 + (1 + 1) + (1 + 2) + 4);
    EXPECT_EQ(test::i32_at(p4, p4.size() - 4), 0);
}

GmdcFile small_gmdc()
{
    GmdcFile g = test::make_static_mesh(4, 2); // lists 1-4 of 4 records, one object
    g.dataLists.push_back(test::make_bone_assignment_list(12));
    return g;
}

std::string le16(std::int16_t v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

TEST(SideFiles, MalformedFilesAreRefusedAndChangeNothing)
{
    const std::string head20 = std::string(20, '\0');
    const struct {
        const char* what;
        bool faces;
        std::string bytes;
    } cases[] = {
        {"short face file", true, "\x02\x00"},
        {"negative face count", true, test::le32(-1)},
        {"count beyond the file", true, test::le32(3) + le16(0) + le16(1)},
        {"face index at the vertex count", true, test::le32(3) + le16(0) + le16(1) + le16(4)},
        {"negative face index", true, test::le32(3) + le16(0) + le16(1) + le16(-2)},
        {"short data-list head", false, test::le32(3) + std::string(10, '\0')},
        {"negative record count", false, test::le32(-3) + std::string(16, '\0') + test::le32(0)},
        {"length not a multiple of 4", false, test::le32(1) + std::string(16, '\0') + test::le32(6) + "abcdef"},
        {"length beyond the file", false, test::le32(1) + std::string(16, '\0') + test::le32(8) + "abcd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GmdcFile g = small_gmdc();
        const GmdcFile before = g;
        RecordingSink sink;
        EXPECT_FALSE(c.faces ? replaceFaces(g, 0, c.bytes, "side.simpe", sink)
                             : replaceDataList(g, 0, c.bytes, "side.simpe", sink));
        EXPECT_TRUE(sink.contains("side.simpe")) << sink.last();
        EXPECT_EQ(g, before);
    }
}

TEST(SideFiles, BoneAssignmentsAreReadAsIntegersAndClearingZeroesEveryValue)
{
    GmdcFile g = small_gmdc();
    RecordingSink sink;
    const std::string file = test::le32(2) + std::string(16, '\0') + test::le32(8) + test::le32(7) + test::le32(-1);
    ASSERT_TRUE(replaceDataList(g, 4, file, "b", sink)) << sink.last();
    EXPECT_EQ(g.dataLists[4].recordCount, 2);
    EXPECT_EQ(g.dataLists[4].longValues, (std::vector<std::int32_t>{7, -1}));
    ASSERT_TRUE(clearDataList(g, 4, sink));
    EXPECT_EQ(g.dataLists[4].longValues, (std::vector<std::int32_t>{0, 0}));

    g.dataLists[0].floatValues.assign(12, 1.5f); // 48 bytes: twelve values
    ASSERT_TRUE(clearDataList(g, 0, sink));
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
        SCOPED_TRACE(c.text);
        GmdcFile g = small_gmdc(); // its lists hold 4 records
        RecordingSink sink;
        EXPECT_EQ(setVertexCount(g, 0, c.text, sink), c.accepted) << sink.last();
        EXPECT_EQ(g.objectGroups[0].vertexCount, c.result);
        EXPECT_EQ(sink.empty(), c.accepted);
    }
}

TEST(SideFiles, FieldBoxesTakeNumbersAndRefuseTheRest)
{
    GmdcFile g = small_gmdc();
    g.transforms.resize(1);
    RecordingSink sink;
    EXPECT_TRUE(setOpacity(g, 0, "12.5", sink));
    EXPECT_EQ(g.objects[0].opacity, 12);
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
    EXPECT_EQ(g.transforms[0].location[2], 0.25f);
    for (const auto& [x, y, z] : {std::tuple{"x", "2", "3"}, {"1", "y", "3"}, {"1", "2", "z"}, {"1", "2", "1e39"}})
        EXPECT_FALSE(setLocation(g, 0, x, y, z, sink)) << x << y << z;
    EXPECT_EQ(g.transforms[0].location[0], 1.5f);

    g.p5Entries.resize(2);
    removeP5(g, {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2});
    EXPECT_TRUE(g.p5Entries.empty());
    EXPECT_EQ(g.boundingFaces, (std::vector<std::int16_t>{0, 1, 2}));
}

} // namespace
} // namespace mw
