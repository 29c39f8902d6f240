// The default clickable area shipped as data/obj_pinfo.dat: a closed box of 8 corners and
// 12 outward-facing triangles, copied beside the executables by the build.
#include "core/program_folder.h"
#include "support/test_support.h"
#include "wizard/default_area.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace mw;

TEST(DefaultArea, TheShippedFileIsAClosedBoxFromMinusOneToOneBesideTheExecutables)
{
    const std::string shipped = test::read_file(std::string(MESHWRIGHT_SOURCE_DIR) + "/data/obj_pinfo.dat");
    EXPECT_EQ(test::read_file(join_path(program_folder(), kDefaultAreaFileName)), shipped);
    ClickableArea area;
    std::string error;
    ASSERT_TRUE(parseDefaultArea(shipped, area, error, "obj_pinfo.dat")) << error;
    ASSERT_EQ(area.vertices.size(), 8u * 3);
    ASSERT_EQ(area.faces.size(), 12u * 3);
    for (const float x : area.vertices)
        EXPECT_EQ(std::fabs(x), 1.0f);
    // Every edge is shared by two triangles, once in each direction (a closed surface), and
    // the signed volume is the box's 8: every triangle faces outwards.
    std::map<std::pair<int, int>, int> edges;
    double volume = 0;
    for (std::size_t t = 0; t < 36; t += 3) {
        const float* p[3];
        for (std::size_t k = 0; k < 3; ++k) {
            p[k] = &area.vertices[3 * static_cast<std::size_t>(area.faces[t + k])];
            ++edges[{area.faces[t + k], area.faces[t + (k + 1) % 3]}];
        }
        volume +=
            (p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) - p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
             p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0])) /
            6.0;
    }
    EXPECT_EQ(volume, 8.0);
    EXPECT_EQ(edges.size(), 36u);
    for (const auto& [edge, count] : edges)
        EXPECT_TRUE(count == 1 && edges.count({edge.second, edge.first}) == 1);
}

TEST(DefaultArea, SerializedAreasReadBack)
{
    ClickableArea area, back;
    area.vertices = {0.5f, -2.0f, 3.25f, 1, 1, 1, 0, 0, 0};
    area.faces = {2, 1, 0};
    std::string error;
    for (const ClickableArea& a : {area, ClickableArea{}}) {
        ASSERT_TRUE(parseDefaultArea(serializeDefaultArea(a), back, error, "x")) << error;
        EXPECT_TRUE(back.vertices == a.vertices && back.faces == a.faces);
    }
    EXPECT_EQ(serializeDefaultArea({}), std::string(8, '\0')); // two zero counts
}
