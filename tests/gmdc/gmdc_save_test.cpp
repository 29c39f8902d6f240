// Saving: failed saves keep the old file and the record, the writer refuses records it
// cannot store, and the body-mesh variant's layout.
#include "core/save_file.h"
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mw::test {
namespace {

constexpr const char* kOldBytes = "the user's original file";

// Saves a body mesh to `path`, expecting failure: an error naming the path, no
// "Save Complete", the record as before the save (padding undone).
void expect_failed_save(const std::string& path, const GmdcWriteOptions& options = {})
{
    GmdcFile g = make_body_mesh();
    RecordingSink sink;
    EXPECT_FALSE(writeGmdc(g, path, sink, options));
    EXPECT_TRUE(sink.has(MessageKind::Error));
    EXPECT_FALSE(sink.has(MessageKind::Info));
    EXPECT_FALSE(sink.contains("Save Complete"));
    EXPECT_TRUE(sink.contains(path)) << sink.last();
    EXPECT_EQ(g, make_body_mesh());
}

TEST(GmdcSave, MissingFolder)
{
    TempDir dir;
    expect_failed_save(dir.file("no such folder/out.5gd"));
}

#ifndef _WIN32 // folder permission bits are POSIX
TEST(GmdcSave, ReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    TempDir dir;
    write_file(dir.file("out.5gd"), kOldBytes);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    expect_failed_save(dir.file("out.5gd"));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(read_file(dir.file("out.5gd")), kOldBytes);
}
#endif

TEST(GmdcSave, InterruptedWriteKeepsTheOldFile)
{
    TempDir dir;
    write_file(dir.file("out.5gd"), kOldBytes);
    testing_hooks::beforeChunkWrite = [](std::size_t) { return false; };
    expect_failed_save(dir.file("out.5gd"));
    testing_hooks::beforeChunkWrite = nullptr;
    EXPECT_EQ(read_file(dir.file("out.5gd")), kOldBytes);

    // A retry after the failure pads once, not twice.
    GmdcFile g = make_body_mesh();
    RecordingSink sink;
    ASSERT_TRUE(writeGmdc(g, dir.file("out.5gd"), sink));
    const std::string plain = serialized(make_body_mesh());
    EXPECT_EQ(read_file(dir.file("out.5gd")), padded_copy(plain, data_list_offset(plain, 0)));
}

TEST(GmdcSave, OverALongerFileLeavesNoTrailingBytes)
{
    TempDir dir;
    write_file(dir.file("out.5gd"), std::string(100000, 'x'));
    GmdcFile g = make_empty_gmdc();
    RecordingSink sink;
    ASSERT_TRUE(writeGmdc(g, dir.file("out.5gd"), sink));
    EXPECT_EQ(read_file(dir.file("out.5gd")), serialized(make_empty_gmdc()));
}

TEST(GmdcSave, ResetRecordIsRefused)
{
    TempDir dir;
    write_file(dir.file("out.5gd"), kOldBytes);
    GmdcFile g = make_body_mesh();
    g.reset();
    RecordingSink sink;
    EXPECT_FALSE(writeGmdc(g, dir.file("out.5gd"), sink));
    EXPECT_TRUE(sink.contains(dir.file("out.5gd")));
    EXPECT_FALSE(sink.contains("Save Complete"));
    EXPECT_EQ(read_file(dir.file("out.5gd")), kOldBytes);
}

TEST(GmdcSave, UnwritableRecordIsRefusedAndUnpadded)
{
    TempDir dir;
    GmdcFile g = make_body_mesh();
    g.objects[0].name = std::string(300, 'n');
    const GmdcFile before = g;
    RecordingSink sink;
    EXPECT_FALSE(writeGmdc(g, dir.file("out.5gd"), sink));
    EXPECT_TRUE(sink.contains("300 bytes")) << sink.last();
    EXPECT_FALSE(file_exists(dir.file("out.5gd")));
    EXPECT_EQ(g, before);
}

TEST(GmdcSave, WriterRefusesListsTheFileCannotHold)
{
    std::string out, error;
    GmdcFile g = make_body_mesh();
    g.p5Entries[1].faces = {0, 1, 2}; // the entry without vertices
    EXPECT_FALSE(serializeGmdc(g, out, error));
    EXPECT_NE(error.find("P5 entry 2 has faces but no vertices"), std::string::npos) << error;

    g = make_body_mesh();
    g.boundingVertices.push_back(1.0f);
    EXPECT_FALSE(serializeGmdc(g, out, error));
    EXPECT_NE(error.find("not a multiple of 3"), std::string::npos) << error;

    g = make_body_mesh();
    g.dataLists[6].floatValues = {1.0f}; // bone assignments are integers
    EXPECT_FALSE(serializeGmdc(g, out, error));
    EXPECT_NE(error.find("Data list 7 holds float values"), std::string::npos) << error;
}

TEST(GmdcSave, PaddingOnlyForAFloatListOfThreeValuesPerRecord)
{
    GmdcFile g = make_body_mesh();
    g.dataLists[0].recordCount = 0x7FFFFFFF; // disagrees with the values: no padding
    EXPECT_EQ(applyVertexPadding(g).dataList, -1);
    g.dataLists[0].recordCount = -5;
    EXPECT_EQ(applyVertexPadding(g).dataList, -1);

    g = make_body_mesh();
    g.objectGroups[0].dataListIndices[0] = 6; // the bone assignments
    EXPECT_EQ(applyVertexPadding(g).dataList, -1);
    g.objectGroups[0].dataListIndices[0] = 99; // no such list
    EXPECT_EQ(applyVertexPadding(g).dataList, -1);
    g.objectGroups[0].dataListIndices.clear();
    EXPECT_EQ(applyVertexPadding(g).dataList, -1);
    g.objectGroups.clear();
    EXPECT_EQ(applyVertexPadding(g).dataList, -1);
    EXPECT_EQ(g.dataLists, make_body_mesh().dataLists);

    g = make_body_mesh();
    const VertexPadding padding = applyVertexPadding(g);
    EXPECT_EQ(padding.dataList, 0);
    EXPECT_EQ(g.dataLists[0].recordCount, 15);
    EXPECT_EQ(g.dataLists[0].dataLength(), 12 * 15);
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

TEST(GmdcSave, BodyMeshLayout)
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
    ASSERT_EQ(loaded.dataLists.size(), 15u);
    std::vector<DataList> kept;
    for (const DataList& d : expected.dataLists)
        if (d.identity != kIdentityMorphTargetIndices && d.identity != kIdentityMorphVertexDeltas &&
            d.identity != kIdentityMorphNormalDeltas && d.identity != kIdentityMorphVertexMap &&
            d.identity != kIdentityBumpNormals)
            kept.push_back(d);
    EXPECT_EQ(loaded.dataLists, kept);
    ASSERT_EQ(loaded.objectGroups.size(), 1u);
    EXPECT_EQ(loaded.objectGroups[0].dataListIndices, (std::vector<std::int16_t>{10, 11, 12, 13, 14}));
    EXPECT_EQ(loaded.objectGroups[0].activeCount, 5);
    EXPECT_EQ(loaded.objectGroups[0].vertexCount, 12);
    EXPECT_EQ(loaded.objectGroups[0].list1, expected.objectGroups[0].list1);
    EXPECT_EQ(loaded.objects, expected.objects);
    EXPECT_EQ(loaded.p5Entries, expected.p5Entries);
}

TEST(GmdcSave, BodyMeshNeedsFifteenLists)
{
    TempDir dir;
    expect_failed_save(dir.file("body.5gd"), {.bodyMesh = true}); // only 6 lists would be written
    EXPECT_FALSE(file_exists(dir.file("body.5gd")));
}

} // namespace
} // namespace mw::test
