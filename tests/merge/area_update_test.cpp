// The clickable area rebuilt from the objects' own triangles.
#include "merge/area_update.h"

#include "merge/merge_test_util.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(AreaUpdate, EachGroupOnceAndEveryObjectsFacesShiftedToItsGroup)
{
    // Objects 1 and 3 share group 1 (4 vertices); object 2 has group 2 (3 vertices).
    GmdcFile g = test::make_static_mesh(4, 2);
    g.dataLists.push_back(test::make_float_list(kIdentityPositions, 3, 3, 9.0f));
    ObjectGroup second;
    second.dataListIndices = {4};
    second.vertexCount = 3;
    g.objectGroups.push_back(second);
    g.objects.push_back(g.objects[0]);
    g.objects[1].objectGroupIndex = 1;
    g.objects[1].faces = {2, 1, 0};
    g.objects.push_back(g.objects[0]);
    g.objects[2].faces = {3, 2, 1};

    std::string error;
    ASSERT_TRUE(rebuild_area_from_objects(g, error)) << error;
    EXPECT_EQ(g.boundingVertices, test::concat(g.dataLists[0].floatValues, g.dataLists[4].floatValues));
    EXPECT_EQ(g.boundingFaces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3, 6, 5, 4, 3, 2, 1}));

    // Face indices are 16-bit: 32767 vertices fit, one more does not.
    for (const std::int32_t n : {32767, 32768}) {
        GmdcFile big = test::make_static_mesh(n, 1);
        EXPECT_EQ(rebuild_area_from_objects(big, error), n == 32767) << error;
        EXPECT_EQ(big.boundingVertexCount(), n == 32767 ? n : 4);
    }
}

} // namespace
} // namespace mw
