// The body-mesh save: 15 data lists, every object group on lists 10 to 14, checked
// before anything is written.
#include "merge/body_save.h"

#include "gmdc/gmdc_reader.h"
#include "merge/bone_slot.h"
#include "merge/merge_test_util.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

using test::make_body_mesh_30;

TEST(BodyMeshSave, A30ListBodyMeshIsWrittenWith15ListsAndIndices10To14)
{
    State s = test::state_with(make_body_mesh_30(), {});
    const GmdcFile before = s.gmdc;
    RecordingSink sink;
    const test::TempDir dir;
    ASSERT_TRUE(save_body_gmdc(s, dir.file("body.5gd"), sink)) << sink.last();
    EXPECT_EQ(sink.last(), "Save Complete");
    GmdcFile back;
    ASSERT_TRUE(readGmdc(back, dir.file("body.5gd"), sink)) << sink.last();
    EXPECT_TRUE(sink.contains("drops the morphs \"auskin/skin\", \"/empty first\", \"a/\".")) << sink.entries[0].text;
    ASSERT_EQ(back.dataLists.size(), 15u);
    EXPECT_EQ(back.dataLists[9].floatValues, before.dataLists[9].floatValues);
    // the group's own lists, data lists 11, 12, 13, 16 and 17 of the 30
    EXPECT_EQ(back.dataLists[10].recordCount, 15); // positions, padded by the save
    EXPECT_EQ(back.dataLists[13].longValues, before.dataLists[15].longValues);
    EXPECT_EQ(back.dataLists[14].floatValues, before.dataLists[16].floatValues);
    ASSERT_EQ(back.objectGroups.size(), 1u);
    EXPECT_EQ(back.objectGroups[0].dataListIndices, (std::vector<std::int16_t>{10, 11, 12, 13, 14}));
    EXPECT_EQ(back.objectGroups[0].activeCount, 5);
    // Memory keeps its own layout, so the next slot search still finds the bone list.
    EXPECT_TRUE(s.gmdc.dataLists == before.dataLists && s.gmdc.objectGroups == before.objectGroups);
    EXPECT_EQ(find_bone_list(s, 1), 7);
}

TEST(BodyMeshSave, AGmdcNotLaidOutAsABodyMeshIsRefusedAndNothingIsWritten)
{
    GmdcFile swapped = make_body_mesh_30(), otherLists = swapped;
    std::swap(swapped.dataLists[11], swapped.dataLists[12]); // texture coordinates before normals
    otherLists.objectGroups[0].dataListIndices[1] = 3;       // normals from one of the first ten lists
    const std::pair<GmdcFile, const char*> cases[] = {
        {test::make_body_mesh(), "holds 6 data lists"},
        {swapped, "must hold normals"},
        {otherLists, "would use data lists 10, 3, 12, 13, 14"},
    };
    for (const auto& [gmdc, part] : cases) {
        const test::TempDir dir;
        State s = test::state_with(gmdc, {});
        RecordingSink sink;
        EXPECT_FALSE(save_body_gmdc(s, dir.file("out.5gd"), sink));
        EXPECT_FALSE(test::file_exists(dir.file("out.5gd")));
        EXPECT_TRUE(s.gmdc == gmdc) << part; // not even padded
        EXPECT_TRUE(sink.has(MessageKind::Error) && !sink.contains("Save Complete"));
        EXPECT_TRUE(sink.contains(part)) << sink.last();
    }
}

} // namespace
} // namespace mw
