// The bone-assignment slot search.
#include "merge/bone_slot.h"

#include "merge/merge_test_util.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(BoneSlot, FindsTheFirstBoneAssignmentListAmongTheActiveEntries)
{
    State s = test::state_with(test::make_body_mesh(), {});
    EXPECT_EQ(find_bone_list(s, 1), 7);
    EXPECT_EQ(s.boneAssignmentSlot, 7);
    s.gmdc.objectGroups[0].activeCount = 6; // the bone list lies beyond the active entries
    EXPECT_EQ(find_bone_list(s, 1), 4);
}

TEST(BoneSlot, FallsBackToFourWithoutABoneListOrAGroup)
{
    State s = test::state_with(test::make_static_mesh(), {});
    s.boneAssignmentSlot = 9;
    EXPECT_EQ(find_bone_list(s, 1), 4);
    EXPECT_EQ(s.boneAssignmentSlot, 4);
    EXPECT_EQ(find_bone_list(s, 2), 4);
    EXPECT_EQ(find_bone_list(s, 0), 4);
}

TEST(BoneSlot, StaysWithinTheIndicesAndSkipsEntriesNamingNoDataList)
{
    State s = test::state_with(test::make_body_mesh(), {});
    ObjectGroup& g = s.gmdc.objectGroups[0];
    g.activeCount = 40;        // more than its 14 indices
    g.dataListIndices[2] = 99; // names no data list
    g.dataListIndices[3] = -1;
    EXPECT_EQ(find_bone_list(s, 1), 7);
    g.dataListIndices.resize(6);
    EXPECT_EQ(find_bone_list(s, 1), 4);
    EXPECT_EQ(data_list_at(s.gmdc, 1, 3), nullptr);
    EXPECT_EQ(data_list_at(s.gmdc, 1, 7), nullptr);
    EXPECT_EQ(data_list_at(s.gmdc, 1, 1), &s.gmdc.dataLists[0]);
}

} // namespace
} // namespace mw
