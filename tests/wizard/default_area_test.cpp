// The default clickable area shipped as data/obj_pinfo.dat: a closed box of 8 corners and
// 12 outward-facing triangles, copied beside the executables by the build.
#include "core/program_folder.h"
#include "support/test_support.h"
#include "wizard/default_area.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace mw;

namespace {

std::string shipped_file()
{
    return std::string(MESHWRIGHT_SOURCE_DIR) + "/data/obj_pinfo.dat";
}

} // namespace

TEST(DefaultArea, TheShippedFileIsALargeClosedBox)
{
    const std::string bytes = test::read_file(shipped_file());
    // 8 bytes of counts, 8 vertices of 12 bytes, 36 face indices of 2 bytes.
    EXPECT_EQ(bytes.size(), 8u + 8 * 12 + 36 * 2);
    ClickableArea area;
    std::string error;
    ASSERT_TRUE(parseDefaultArea(bytes, area, error, "obj_pinfo.dat")) << error;
    ASSERT_EQ(area.vertices.size(), 24u);
    ASSERT_EQ(area.faces.size(), 36u);

    // The eight corners of the box from -1 to 1, each once.
    std::set<std::array<float, 3>> corners;
    for (std::size_t v = 0; v < 8; ++v) {
        const std::array<float, 3> c{area.vertices[3 * v], area.vertices[3 * v + 1], area.vertices[3 * v + 2]};
        for (float x : c)
            EXPECT_EQ(std::fabs(x), 1.0f);
        corners.insert(c);
    }
    EXPECT_EQ(corners.size(), 8u);

    // Every triangle faces away from the centre and every edge is shared by exactly two
    // triangles, once in each direction: a closed surface.
    std::map<std::pair<int, int>, int> edges;
    for (std::size_t t = 0; t < 12; ++t) {
        float p[3][3];
        for (int k = 0; k < 3; ++k)
            for (int a = 0; a < 3; ++a)
                p[k][a] = area.vertices[3 * static_cast<std::size_t>(area.faces[3 * t + k]) + a];
        const float e1[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
        const float e2[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
        const float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                            e1[0] * e2[1] - e1[1] * e2[0]};
        const float centroid[3] = {p[0][0] + p[1][0] + p[2][0], p[0][1] + p[1][1] + p[2][1],
                                   p[0][2] + p[1][2] + p[2][2]};
        EXPECT_GT(n[0] * centroid[0] + n[1] * centroid[1] + n[2] * centroid[2], 0.0f) << "triangle " << t;
        for (int k = 0; k < 3; ++k)
            ++edges[{area.faces[3 * t + k], area.faces[3 * t + (k + 1) % 3]}];
    }
    EXPECT_EQ(edges.size(), 36u);
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
}

TEST(DefaultArea, TheBuildPutsTheFileBesideTheExecutables)
{
    const std::string besideProgram = join_path(program_folder(), kDefaultAreaFileName);
    ASSERT_TRUE(test::file_exists(besideProgram)) << besideProgram;
    EXPECT_EQ(test::read_file(besideProgram), test::read_file(shipped_file()));
}

TEST(DefaultArea, SerializedAreasReadBack)
{
    ClickableArea area;
    area.vertices = {0.5f, -2.0f, 3.25f, 1, 1, 1, 0, 0, 0};
    area.faces = {2, 1, 0};
    ClickableArea back;
    std::string error;
    ASSERT_TRUE(parseDefaultArea(serializeDefaultArea(area), back, error, "x")) << error;
    EXPECT_EQ(back.vertices, area.vertices);
    EXPECT_EQ(back.faces, area.faces);

    // An empty area is two zero counts and nothing else.
    const std::string empty = serializeDefaultArea({});
    EXPECT_EQ(empty, std::string(8, '\0'));
    ASSERT_TRUE(parseDefaultArea(empty, back, error, "x"));
    EXPECT_TRUE(back.vertices.empty() && back.faces.empty());
}
