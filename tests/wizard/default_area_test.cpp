// The default clickable area shipped as data/obj_pinfo.dat: a box of 8 corners and 12
// triangles, copied beside the executables by the build.
#include "core/program_folder.h"
#include "support/test_support.h"
#include "wizard/default_area.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace mw;

TEST(DefaultArea, TheShippedFileIsABoxFromMinusOneToOneBesideTheExecutables)
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
}

TEST(DefaultArea, SerializedAreasReadBackAndDamagedOnesAreRefused)
{
    ClickableArea area, back;
    area.vertices = {0.5f, -2.0f, 3.25f, 1, 1, 1, 0, 0, 0};
    area.faces = {2, 1, 0};
    std::string error;
    ASSERT_TRUE(parseDefaultArea(serializeDefaultArea(area), back, error, "x")) << error;
    EXPECT_TRUE(back.vertices == area.vertices && back.faces == area.faces);
    EXPECT_EQ(serializeDefaultArea({}), std::string(8, '\0')); // two zero counts
    const std::string bytes = serializeDefaultArea(area);
    area.faces[0] = 3;
    const std::pair<std::string, const char*> damaged[] = {{bytes.substr(0, bytes.size() - 1), "truncated"},
                                                           {serializeDefaultArea(area), "face index 3"},
                                                           {"\x08", "too short"}};
    for (const auto& [file, says] : damaged) {
        EXPECT_FALSE(parseDefaultArea(file, back, error, "x"));
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
}
