// Per-vertex lists following an object group's new vertices.
#include "merge/vertex_transfer.h"

#include "merge/merge_pass.h"
#include "merge/merge_test_util.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(Nearest, PicksByPositionThenNormalThenTextureCoordinate)
{
    // Old vertices: A and B and C share a position, B and C a normal; D stands apart.
    const VertexSet old = {
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 0, 1}, {0, 0, 0, 0, 0.5f, 0, 0, 0}};
    // The closest position (D); the same position and nearest normal (A); the same normal and
    // nearest uv (C); the same normal, the other uv (B); six decimals off is still the same
    // position (C); far outside the old vertices (A).
    const VertexSet query = {{0.9f, 0.1f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1e-6f, 0, 0, -50, 7, 3},
                             {0, 0, 1, 0, 0.1f, 0.9f, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1},
                             {0, 0, 0.5f, 0, 0.4f, 0, 0.1f, 0, 0.5f, 0, 0, 0}};
    EXPECT_EQ(nearest_vertices(old, query), (std::vector<std::int32_t>{3, 0, 2, 1, 2, 0}));
}

// The body mesh, with a sparse morph list, and an edit of it that kept old vertices 7, 2, 2
// and 9, in that order, and wrote only positions, normals and texture coordinates (lists 1-3).
TEST(FollowNewVertices, EveryListTheEditLeftTakesItsNearestOldVertexRecordUnlessKept)
{
    GmdcFile before = test::make_body_mesh(12, 6);
    before.dataLists[8].items = {2, 9, 11}; // morph target indices: three records of one float
    before.dataLists[8].floatValues = {0.5f, 0.0f, 1.5f};
    GmdcFile after = before;
    const std::vector<std::size_t> kept = {7, 2, 2, 9};
    for (std::size_t k = 0; k < 3; ++k) {
        DataList& d = after.dataLists[k];
        const std::size_t w = k == 2 ? 2 : 3;
        d.floatValues.clear();
        for (std::size_t o : kept)
            for (std::size_t c = 0; c < w; ++c)
                d.floatValues.push_back(before.dataLists[k].floatValues[w * o + c]);
        d.recordCount = 4;
    }
    after.objectGroups[0].vertexCount = 4;

    GmdcFile unfollowed = after;
    RecordingSink warned;
    follow_new_vertices(before, unfollowed, true, warned);
    EXPECT_TRUE(unfollowed == after);
    ASSERT_TRUE(warned.has(MessageKind::Warning));
    EXPECT_TRUE(warned.contains("Datalist #4 ") && warned.contains("Datalist #14 ")) << warned.last();

    RecordingSink sink;
    follow_new_vertices(before, after, false, sink);
    for (std::size_t k = 3; k < 14; ++k) {
        const DataList& old = before.dataLists[k];
        const DataList& now = after.dataLists[k];
        EXPECT_EQ(now.recordCount, 4) << "list " << k + 1;
        if (k == 8)
            continue;
        const std::size_t w = old.valueCount() / 12;
        for (std::size_t j = 0; j < kept.size(); ++j)
            for (std::size_t c = 0; c < w; ++c) {
                if (old.holdsLongValues())
                    EXPECT_EQ(now.longValues[w * j + c], old.longValues[w * kept[j] + c]);
                else
                    EXPECT_EQ(now.floatValues[w * j + c], old.floatValues[w * kept[j] + c]) << "list " << k + 1;
            }
    }
    // Old vertex 2 carried 0.5, old 9 a zero (dropped), old 11 is gone.
    EXPECT_EQ(after.dataLists[8].items, (std::vector<std::int16_t>{1, 2}));
    EXPECT_EQ(after.dataLists[8].floatValues, (std::vector<float>{0.5f, 0.5f}));
    EXPECT_TRUE(sink.contains("Datalist #7 (bone assignments)")) << sink.last();
    EXPECT_FALSE(sink.has(MessageKind::Warning));

    // The merge pass passes "keep lists" on: the bump-map normals keep their 6 records.
    State merged = test::state_with(test::make_static_mesh(6, 2), {test::make_obj_model("teapot", 4, 2)});
    ASSERT_TRUE(merge_models_into_gmdc(merged, {.keepLists = true}, sink));
    EXPECT_EQ(merged.gmdc.dataLists[3].recordCount, 6);
}

} // namespace
} // namespace mw
