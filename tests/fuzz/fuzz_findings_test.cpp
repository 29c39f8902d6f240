// What the fuzz targets found, stated as plain cases: each refusal names the problem and
// changes nothing. The inputs themselves run in FuzzInput (tests/fuzz/crashes/).
#include "merge/view_commands.h"
#include "smd_export/smd_writer.h"
#include "support/gmdc_builders.h"

#include <gtest/gtest.h>

using namespace mw;

TEST(FuzzFindings, SmdExportRefusesCoordinatesInABoneAssignmentList)
{
    // The writer read the positions as floats from a list whose values are integers: a
    // read far outside the (empty) float list.
    State state;
    state.gmdc = test::make_body_mesh();
    state.gmdc.dataLists[0].identity = kIdentityBoneAssignments;
    state.gmdc.dataLists[0].longValues.assign(state.gmdc.dataLists[0].floatValues.size(), 0);
    state.gmdc.dataLists[0].floatValues.clear();
    std::string text, error;
    EXPECT_FALSE(smd_text(state, 1, kSmdMultipleBones, text, error));
    EXPECT_NE(error.find("vertex-position list at position 1 is a bone-assignment list"), std::string::npos) << error;
}

TEST(FuzzFindings, BumpMapPatchRefusesANormalListWhoseRecordCountDisagrees)
{
    // The patch sized the list at entry 6 from the normals' recordCount, a free field:
    // 0x7FFFFFFF records asked for 24 GB.
    State state;
    state.gmdc = test::make_body_mesh();
    state.gmdc.dataLists[1].recordCount = 0x7FFFFFFF;
    const GmdcFile before = state.gmdc;
    std::string error;
    EXPECT_FALSE(apply_bump_map_patch(state, error));
    EXPECT_NE(error.find("normal list at entry 2"), std::string::npos) << error;
    EXPECT_EQ(state.gmdc.dataLists[5].floatValues, before.dataLists[5].floatValues);
    EXPECT_EQ(state.gmdc.dataLists[5].recordCount, before.dataLists[5].recordCount);

    state.gmdc.dataLists[1].recordCount = before.dataLists[0].recordCount;
    EXPECT_TRUE(apply_bump_map_patch(state, error)) << error;
}
