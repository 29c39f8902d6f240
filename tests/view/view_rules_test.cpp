// The 3D view's rules without OpenGL: which triangles are drawn, the test cloud, the
// camera fit and the window's numbers.
#include "view/triangle_pick.h"
#include "view/view_controls.h"
#include "view/view_scenes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mw {
namespace {

using Corners = std::vector<std::uint32_t>;
const Corners kLeft = {0, 1, 2}, kRight = {3, 4, 5}, kNone = {}, kBoth = {0, 1, 2, 3, 4, 5};

// Without "Body Editing" only a vertex on that one bone counts, with it byte 0 alone decides.
TEST(Pick, FirstCornerDecides)
{
    const struct {
        int subgroup;
        bool bodyEditing, allSubgroups;
        Corners expected;
    } cases[] = {{0, false, false, kNone},  {0, true, false, kLeft},  {1, false, false, kRight},
                 {1, true, false, kRight},  {2, true, false, kNone},  {-1, false, false, kNone},
                 {256, true, false, kNone}, {-1, true, false, kNone}, {7, false, true, kBoth}};
    const GmdcFile g = test::two_triangle_gmdc();
    for (const auto& c : cases)
        EXPECT_EQ(pick_gmdc_triangles(g, 1, c.subgroup, c.bodyEditing, c.allSubgroups).corners, c.expected)
            << c.subgroup << c.bodyEditing;
}

TEST(Pick, BoneListFoundByIdentityAndListsNeverOverrun)
{
    GmdcFile g = test::two_triangle_gmdc();
    EXPECT_EQ(bone_assignment_position(g, 1), 5);
    g.objects[0].faces = {3, 4, 9, 3, 4, 5, 3, 4}; // a corner past the positions, a partial triangle
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, false).corners, kRight);
    g.dataLists[4].longValues.resize(3); // vertex 3 has no assignment
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, false).corners, kNone);
    g.objectGroups[0].activeCount = 4; // the list lies beyond the active entries
    EXPECT_EQ(bone_assignment_position(g, 1), 0);
    EXPECT_FALSE(pick_gmdc_triangles(g, 1, 1, false, false).whyEmpty.empty());
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, true).corners, kRight); // "All sub-groups"
    for (int object : {0, 2})
        EXPECT_FALSE(pick_gmdc_triangles(g, object, 1, false, true).whyEmpty.empty());
    g.objects[0].objectGroupIndex = 3;
    EXPECT_EQ(pick_gmdc_triangles(g, 1, 1, false, true).positions, nullptr);
    MeshModel m = test::square("m", 1);
    m.faces = {{1, 2, 5}, {0, 1, 2}, {2, 3, 4}};
    EXPECT_EQ(model_corners(m), (Corners{1, 2, 3}));
}

TEST(TestCloud, ReadsWhatTheFileHoldsAndNoMore)
{
    const struct {
        std::int32_t claimed;
        std::size_t size; // of the file
        bool ok;
        std::size_t points; // drawn
    } cases[] = {{24, 48, true, 2},  {20, 44, true, 1},  {0, 24, true, 0}, {5, 24, false, 0},
                 {48, 48, false, 0}, {-4, 36, false, 0}, {0, 23, false, 0}};
    for (const auto& c : cases) {
        std::vector<unsigned char> bytes(c.size, 0);
        std::memcpy(bytes.data() + 20, &c.claimed, std::min<std::size_t>(c.size - 20, 4));
        ViewState view;
        std::string error;
        EXPECT_EQ(parse_test_cloud(bytes, view, error), c.ok) << c.claimed;
        EXPECT_EQ(test_point_count(view), c.points) << c.claimed;
        EXPECT_EQ(error.empty(), c.ok);
    }
}

TEST(Fit, PlacesTheBoundsInView)
{
    ViewState view;
    Bounds b;
    b.add(-1, 0, 0);
    b.add(1, 4, 0);
    fit_camera(b, view);
    EXPECT_FLOAT_EQ(view.center_y, 2);
    EXPECT_LT(view.camera_distance, -5.84f); // radius sqrt(5) fits a half-angle of 22.5 degrees
    const float wide = view.camera_distance;
    fit_camera(b, view, 0.5); // a tall picture: the narrower field across decides
    EXPECT_LT(view.camera_distance, wide);
    fit_camera(Bounds{}, view);
    EXPECT_EQ(view.camera_distance, kFixedCameraDistance);
}

TEST(ViewControls, SubgroupTextAndCommitNumber)
{
    EXPECT_EQ(subgroup_text(0), " 0");
    EXPECT_EQ(subgroup_text(-2), "-2");
    // The leading number, "." as decimal point, halves to even; empty when not 16-bit.
    const struct {
        const char* text;
        std::optional<std::int16_t> value;
    } cases[] = {{"", 0},     {" 3", 3},        {"2.5", 2},         {"3.5", 4},    {"-1.5", -2},
                 {"7abc", 7}, {"1,5", 1},       {"x9", 0},          {"1e2", 100},  {"4e", 4},
                 {"+12", 12}, {"32767", 32767}, {"-32768", -32768}, {"40000", {}}, {"1e9", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(commit_number(c.text), c.value) << c.text;
}

} // namespace
} // namespace mw
