// Load and save round trips of the GMDC reader and writer: real-shaped records, the small
// edge cases of the layout, large lists and a real file.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/gmdc_bytes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

// Writes `source` to a file, loads it, saves it to a new path and returns the saved bytes.
std::string load_and_save(const std::string& source, GmdcFile& g, const TempDir& dir, const char* out = "out.5gd")
{
    const std::string in = dir.file("in.5gd");
    write_file(in, source);
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, in, sink)) << sink.last();
    EXPECT_TRUE(writeGmdc(g, dir.file(out), sink)) << sink.last();
    EXPECT_EQ(sink.last(), "Save Complete");
    EXPECT_FALSE(sink.has(MessageKind::Error));
    return read_file(dir.file(out));
}

TEST(GmdcRoundTrip, SavesDifferOnlyByThePaddingOfThePositions)
{
    const GmdcFile body = make_body_mesh();
    const std::string source = serialized(body);
    TempDir dir;
    GmdcFile g;
    const std::string saved = load_and_save(source, g, dir);
    // The positions are data list 1; the bone assignments (list 7) and all else stay as they were.
    const std::size_t offset = data_list_offset(source, 0);
    EXPECT_EQ(saved, padded_copy(source, offset));
    EXPECT_EQ(g, parsed(source)); // the padding is in the file, not in the record
    // The same record saved twice writes the same bytes; a reload carries its padding and gains three more.
    RecordingSink sink;
    ASSERT_TRUE(writeGmdc(g, dir.file("twice.5gd"), sink));
    EXPECT_EQ(read_file(dir.file("twice.5gd")), saved);
    GmdcFile reloaded;
    EXPECT_EQ(load_and_save(saved, reloaded, dir, "again.5gd"), padded_copy(padded_copy(source, offset), offset));

    // No object group: nothing to pad, the file comes back as it was.
    const std::string empty = serialized(make_empty_gmdc());
    EXPECT_EQ(load_and_save(empty, g, dir), empty);
}

TEST(GmdcRoundTrip, LoadedRecordEqualsTheBuiltOneAndTheEmptyOneIsMinimal)
{
    // A bounding mesh of many vertices and one triangle ends the file: its 12 bytes per
    // vertex are all that is left, and must be enough.
    GmdcFile area = make_empty_gmdc();
    area.boundingVertices.assign(3 * 40, 0.5f);
    area.boundingFaces = {0, 1, 2};
    for (const GmdcFile& built : {make_body_mesh(), make_static_mesh(), make_empty_gmdc(), area})
        EXPECT_EQ(parsed(serialized(built)), built);
    GmdcBytes hand;
    hand.headers(4, "Custom_object");
    for (int i = 0; i < 7; ++i)
        hand.i32(0);
    EXPECT_EQ(serialized(make_empty_gmdc()), hand.str());
}

TEST(GmdcRoundTrip, MeshWithoutVerticesStoresNoFaceCount)
{
    // Bounding mesh with no vertices: the four bytes after its count are p5Count.
    // A P5 entry without vertices is its vertex count alone, 4 bytes.
    GmdcBytes hand;
    hand.headers();
    hand.i32(0).i32(0).i32(0).i32(0).i32(0);                      // P1, P2, P3, transforms, name pairs
    hand.i32(0);                                                  // bounding vertex count
    hand.i32(2);                                                  // p5Count
    hand.i32(0);                                                  // entry 1: no vertices
    hand.i32(1).i32(3).f32(1).f32(2).f32(3).i16(0).i16(0).i16(0); // entry 2: one vertex, 3 faces
    const GmdcFile g = parsed(hand.str());
    EXPECT_TRUE(g.boundingVertices.empty());
    EXPECT_TRUE(g.boundingFaces.empty());
    ASSERT_EQ(g.p5Entries.size(), 2u);
    EXPECT_TRUE(g.p5Entries[0].vertices.empty());
    EXPECT_EQ(g.p5Entries[1].vertices, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(g.p5Entries[1].faces, (std::vector<std::int16_t>{0, 0, 0}));
    EXPECT_EQ(serialized(g), hand.str());
}

TEST(GmdcRoundTrip, BoneAssignmentsStayBitExact)
{
    GmdcBytes hand;
    hand.headers();
    hand.i32(1); // one data list
    hand.i32(4).u32(0xFBD70111).i32(0).i32(4).i32(0).i32(16);
    hand.u32(0xFFFFFF00).u32(0x80000000).u32(0x7FFFFFFF).u32(0xFF0201FF);
    hand.i32(2).i16(-1).i16(32767); // items
    for (int i = 0; i < 6; ++i)
        hand.i32(0);
    const GmdcFile g = parsed(hand.str());
    ASSERT_EQ(g.dataLists.size(), 1u);
    const DataList& d = g.dataLists[0];
    EXPECT_TRUE(d.floatValues.empty());
    EXPECT_EQ(d.longValues, (std::vector<std::int32_t>{static_cast<std::int32_t>(0xFFFFFF00), INT32_MIN, INT32_MAX,
                                                       static_cast<std::int32_t>(0xFF0201FF)}));
    EXPECT_EQ(d.dataLength(), 16);
    EXPECT_EQ(d.items, (std::vector<std::int16_t>{-1, 32767}));
    EXPECT_EQ(serialized(g), hand.str());
}

TEST(GmdcRoundTrip, NamesOfEveryLengthUpTo255)
{
    GmdcFile g = make_static_mesh();
    g.objects[0].name = std::string(255, 'n');
    GmdcObject unnamed = g.objects[0];
    unnamed.name.clear();
    g.objects.push_back(unnamed);
    const std::string bytes = serialized(g);
    EXPECT_EQ(parsed(bytes), g);
    // An empty name is its length byte alone: a one-letter name takes one byte more.
    GmdcFile one = g;
    one.objects[1].name = "x";
    EXPECT_EQ(serialized(one).size(), bytes.size() + 1);

    g.objects[0].name = std::string(256, 'n');
    std::string out, error;
    EXPECT_FALSE(serializeGmdc(g, out, error));
    EXPECT_NE(error.find("256 bytes"), std::string::npos) << error;
}

TEST(GmdcRoundTrip, LargeListsLoadAndSave)
{
    GmdcFile g = make_static_mesh(40000, 10);
    g.objects[0].faces.assign(100000, 0);
    for (std::size_t i = 0; i < g.objects[0].faces.size(); ++i)
        g.objects[0].faces[i] = static_cast<std::int16_t>(i % 32768);
    const std::string source = serialized(g);
    EXPECT_EQ(parsed(source), g);
    TempDir dir;
    GmdcFile loaded;
    EXPECT_EQ(load_and_save(source, loaded, dir), padded_copy(source, data_list_offset(source, 0)));
    EXPECT_EQ(loaded.dataLists[0].recordCount, 40000); // the padding is in the file only
    EXPECT_EQ(loaded.objects[0].faces.size(), 100000u);
}

TEST(GmdcRoundTrip, RealStaticMesh)
{
    const std::string fixtures = fixtures_dir();
    if (fixtures.empty())
        GTEST_SKIP() << "no shared fixtures";
    const std::string source = read_file(fixtures + "/gmdc/teapot.5gd");
    TempDir dir;
    GmdcFile g;
    RecordingSink sink;
    ASSERT_TRUE(readGmdc(g, fixtures + "/gmdc/teapot.5gd", sink)) << sink.last();
    ASSERT_EQ(g.objectGroups.size(), 1u);
    const int positions = g.objectGroups[0].dataListIndices.at(0);
    EXPECT_EQ(g.dataLists.at(positions).identity, kIdentityPositions);
    EXPECT_EQ(g.dataLists[positions].floatValues.size(), 3u * static_cast<std::size_t>(g.objectGroups[0].vertexCount));
    ASSERT_TRUE(writeGmdc(g, dir.file("teapot.5gd"), sink));
    EXPECT_EQ(read_file(dir.file("teapot.5gd")), padded_copy(source, data_list_offset(source, positions)));
}

} // namespace
} // namespace mw::test
