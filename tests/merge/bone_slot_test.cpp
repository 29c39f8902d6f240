// The bone-assignment slot search.
#include "merge/bone_slot.h"

#include "merge/merge_test_util.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(BoneSlot, FindsTheFirstBoneListAmongTheActiveEntriesOrFallsBackToFour)
{
    State s = test::state_with(test::make_body_mesh(), {});
    ObjectGroup& g = s.gmdc.objectGroups[0];
    EXPECT_EQ(find_bone_list(s, 1), 7);
    EXPECT_EQ(s.boneAssignmentSlot, 7);
    g.activeCount = 40;        // more than its 14 indices
    g.dataListIndices[2] = 99; // names no data list
    g.dataListIndices[3] = -1;
    EXPECT_EQ(find_bone_list(s, 1), 7);
    g.activeCount = 6; // the bone list lies beyond the active entries
    EXPECT_EQ(find_bone_list(s, 1), 4);
    EXPECT_EQ(s.boneAssignmentSlot, 4);
    for (const int group : {0, 2}) // no such group
        EXPECT_EQ(find_bone_list(s, group), 4);
}

} // namespace
} // namespace mw
