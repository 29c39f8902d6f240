// Saving: the writer refuses records it cannot store, pads only what it may, and writes
// the body-mesh variant's layout.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

TEST(GmdcSave, RecordsTheFileCannotHoldAreRefusedKeepingTheOldFileAndTheRecord)
{
    const struct {
        void (*breakIt)(GmdcFile&);
        const char* says;
        GmdcWriteOptions options;
    } cases[] = {
        {[](GmdcFile& g) { g.reset(); }, "no GMDC to save", {}},
        {[](GmdcFile& g) { g.resource.blockVersion = 0; }, "block version 0", {}},
        {[](GmdcFile& g) { g.resource.blockVersion = 5; }, "block version 5", {}},
        {[](GmdcFile& g) { g.resource.blockVersion = 1; }, "version 1 GMDC cannot store", {}}, // a bone list
        {[](GmdcFile& g) { g.resource.blockVersion = 3, g.objects[0].opacity = 0; }, "opacity", {}},
        {[](GmdcFile& g) { g.objects[0].name = std::string(256, 'n'); }, "256 bytes", {}},
        {[](GmdcFile& g) { g.p5Entries[1].faces.assign(3, 0); }, "P5 entry 2 has faces but no vertices", {}},
        {[](GmdcFile& g) { g.boundingVertices.push_back(1.0f); }, "not a multiple of 3", {}},
        {[](GmdcFile& g) { g.dataLists[6].floatValues = {1.0f}; }, "Data list 7 holds float values", {}},
        {[](GmdcFile&) {}, "", {.bodyMesh = true}}, // only 6 lists would be written, not 15
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        TempDir dir;
        write_file(dir.file("out.5gd"), "the user's file");
        GmdcFile g = make_body_mesh();
        c.breakIt(g);
        const GmdcFile before = g;
        RecordingSink sink;
        EXPECT_FALSE(writeGmdc(g, dir.file("out.5gd"), sink, c.options));
        EXPECT_TRUE(sink.has(MessageKind::Error) && !sink.has(MessageKind::Info));
        EXPECT_TRUE(sink.contains(c.says) && sink.contains(dir.file("out.5gd"))) << sink.last();
        EXPECT_EQ(read_file(dir.file("out.5gd")), "the user's file");
        EXPECT_EQ(g, before);
    }
}

TEST(GmdcSave, PaddingOnlyForAFloatListOfThreeValuesPerRecord)
{
    // The positions' record count disagreeing with the values (too many, negative), the
    // group naming the bone assignments, no list, no lists, no group: nothing is padded.
    for (void (*breakIt)(GmdcFile&) : {+[](GmdcFile& g) { g.dataLists[0].recordCount = 0x7FFFFFFF; },
                                       +[](GmdcFile& g) { g.dataLists[0].recordCount = -5; },
                                       +[](GmdcFile& g) { g.objectGroups[0].dataListIndices[0] = 6; },
                                       +[](GmdcFile& g) { g.objectGroups[0].dataListIndices[0] = 99; },
                                       +[](GmdcFile& g) { g.objectGroups[0].dataListIndices.clear(); },
                                       +[](GmdcFile& g) { g.objectGroups.clear(); }}) {
        GmdcFile g = make_body_mesh();
        breakIt(g);
        EXPECT_EQ(applyVertexPadding(g).dataList, -1);
        EXPECT_EQ(g.dataLists[0].floatValues, make_body_mesh().dataLists[0].floatValues);
    }
    GmdcFile g = make_body_mesh();
    const VertexPadding padding = applyVertexPadding(g);
    EXPECT_EQ(padding.dataList, 0);
    EXPECT_TRUE(g.dataLists[0].recordCount == 15 && g.dataLists[0].dataLength() == 12 * 15);
    EXPECT_EQ(std::vector<float>(g.dataLists[0].floatValues.end() - 9, g.dataLists[0].floatValues.end()),
              std::vector<float>(9, 0.0f));
    undoVertexPadding(g, padding);
    EXPECT_EQ(g, make_body_mesh());
}

// A body mesh with 15 lists besides the five left-out kinds: 9 more texture-coordinate sets.
GmdcFile make_fifteen_list_body()
{
    GmdcFile g = make_body_mesh();
    for (int r = 1; r <= 9; ++r)
        g.dataLists.push_back(make_float_list(kIdentityTexCoords, 12, 2, static_cast<float>(r), r));
    return g;
}

TEST(GmdcSave, BodyMeshLayoutLeavesOutTheMorphsAndBumpNormals)
{
    TempDir dir;
    GmdcFile g = make_fifteen_list_body();
    RecordingSink sink;
    ASSERT_TRUE(writeGmdc(g, dir.file("body.5gd"), sink, {.bodyMesh = true})) << sink.last();
    EXPECT_EQ(sink.last(), "Save Complete");
    // Memory keeps every list and the group as it was, without the padding; the file has it.
    EXPECT_EQ(g, make_fifteen_list_body());
    GmdcFile expected = make_fifteen_list_body();
    applyVertexPadding(expected);

    GmdcFile loaded;
    ASSERT_TRUE(readGmdc(loaded, dir.file("body.5gd"), sink)) << sink.last();
    std::vector<DataList> kept; // all but the morphs and bump normals (lists 5-6 and 9-14)
    for (int k : {0, 1, 2, 3, 6, 7, 14, 15, 16, 17, 18, 19, 20, 21, 22})
        kept.push_back(expected.dataLists[k]);
    EXPECT_EQ(loaded.dataLists, kept);
    // The group names the kept lists by their new numbers, and only them.
    ObjectGroup group = expected.objectGroups.at(0);
    group.dataListIndices = {10, 11, 12, 13, 14};
    group.activeCount = 5;
    EXPECT_EQ(loaded.objectGroups, std::vector<ObjectGroup>{group});
    EXPECT_TRUE(loaded.objects == expected.objects && loaded.p5Entries == expected.p5Entries);
}

} // namespace
} // namespace mw::test
