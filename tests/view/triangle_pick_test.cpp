#include "view/triangle_pick.h"
#include "view/view_scenes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mw {
namespace {

using Corners = std::vector<std::uint32_t>;
const Corners kLeft = {0, 1, 2}, kRight = {3, 4, 5}, kNone = {}, kBoth = {0, 1, 2, 3, 4, 5};

struct PickCase {
    int subgroup;
    bool bodyEditing;
    bool allSubgroups;
    Corners expected;
};

class PickTable : public ::testing::TestWithParam<PickCase> {};

// Vertex 0 hangs on bones 0 and 2, vertex 3 on bone 1 alone: without "Body Editing"
// only a vertex on the one bone counts, with it byte 0 alone decides.
TEST_P(PickTable, FirstCornerDecides)
{
    const PickCase& c = GetParam();
    const GmdcFile g = test::two_triangle_gmdc();
    EXPECT_EQ(pick_gmdc_triangles(g, 1, c.subgroup, c.bodyEditing, c.allSubgroups).corners, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Subgroups, PickTable,
                         ::testing::Values(PickCase{0, false, false, kNone}, PickCase{0, true, false, kLeft},
                                           PickCase{1, false, false, kRight}, PickCase{1, true, false, kRight},
                                           PickCase{2, true, false, kNone}, PickCase{-1, false, false, kNone},
                                           PickCase{256, true, false, kNone}, PickCase{7, false, true, kBoth}));

TEST(Pick, BoneListFoundByIdentityNotPosition)
{
    GmdcFile g = test::two_triangle_gmdc();
    EXPECT_EQ(bone_assignment_position(g, 1), 5);
    g.objectGroups[0].activeCount = 4; // the list lies beyond the active entries
    EXPECT_EQ(bone_assignment_position(g, 1), 0);
    EXPECT_TRUE(pick_gmdc_triangles(g, 1, 1, false, false).corners.empty());
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, true).corners, kBoth); // "All sub-groups"
}

TEST(Pick, StaysInsideLists)
{
    GmdcFile g = test::two_triangle_gmdc();
    g.objects[0].faces = {3, 4, 9, 3, 4, 5, 3, 4}; // a corner past the positions, a partial triangle
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, false).corners, kRight);
    g.dataLists[4].longValues.resize(3); // vertex 3 has no assignment
    EXPECT_TRUE(pick_gmdc_triangles(g, 1, 1, false, false).corners.empty());
    for (int object : {0, 2})
        EXPECT_FALSE(pick_gmdc_triangles(g, object, 1, false, true).whyEmpty.empty());
    g.objects[0].objectGroupIndex = 3;
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, true).positions, nullptr);
}

TEST(Pick, ModelFacesOutsideTheModelAreLeftOut)
{
    MeshModel m = test::centre_triangle("m");
    m.faces.push_back({1, 2, 4});
    m.faces.push_back({0, 1, 2});
    EXPECT_EQ(model_corners(m), (Corners{0, 1, 2}));
}

std::vector<unsigned char> cloud_file(std::int32_t claimed, std::size_t floats)
{
    std::vector<unsigned char> bytes(24 + 4 * floats, 0);
    std::memcpy(bytes.data() + 20, &claimed, 4);
    for (std::size_t i = 0; i < floats; ++i) {
        const float f = static_cast<float>(i);
        std::memcpy(bytes.data() + 24 + 4 * i, &f, 4);
    }
    return bytes;
}

TEST(TestCloud, ReadsWhatTheFileHoldsAndNoMore)
{
    struct Case {
        std::int32_t claimed;
        std::size_t floats;
        bool ok;
        std::size_t points; // drawn
    } cases[] = {{24, 6, true, 2}, {20, 5, true, 1},  {0, 0, true, 0},
                 {5, 0, false, 0}, {48, 6, false, 0}, {-4, 3, false, 0}};
    for (const Case& c : cases) {
        ViewState view;
        std::string error;
        EXPECT_EQ(parse_test_cloud(cloud_file(c.claimed, c.floats), view, error), c.ok) << c.claimed;
        EXPECT_EQ(test_point_count(view), c.points) << c.claimed;
        EXPECT_EQ(error.empty(), c.ok);
    }
    ViewState view;
    std::string error;
    EXPECT_FALSE(parse_test_cloud(std::vector<unsigned char>(23, 0), view, error));
}

TEST(Fit, PlacesTheBoundsInView)
{
    ViewState view;
    Bounds b;
    b.add(-1, 0, 0);
    b.add(1, 4, 0);
    fit_camera(b, view);
    EXPECT_FLOAT_EQ(view.center_y, 2);
    // radius sqrt(5) must fit a half-angle of 22.5 degrees: at least 5.84 away.
    EXPECT_LT(view.camera_distance, -5.84f);
    const float wide = view.camera_distance;
    fit_camera(b, view, 0.5); // a tall picture: the narrower field across decides
    EXPECT_LT(view.camera_distance, wide);
    fit_camera(Bounds{}, view);
    EXPECT_EQ(view.camera_distance, kFixedCameraDistance);
}

} // namespace
} // namespace mw
