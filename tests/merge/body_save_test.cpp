// The body-mesh save: 15 data lists, every object group on lists 10 to 14, checked
// before anything is written.
#include "merge/body_save.h"

#include "gmdc/gmdc_reader.h"
#include "merge/bone_slot.h"
#include "merge/merge_test_util.h"
#include "merge/view_commands.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

using test::bytes_of;
using test::make_body_mesh_30;

GmdcFile read_back(const std::string& path)
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, path, sink)) << sink.last();
    return g;
}

void expect_refused(State& s, const std::string& part)
{
    test::TempDir dir;
    const std::string before = bytes_of(s.gmdc);
    RecordingSink sink;
    EXPECT_FALSE(save_body_gmdc(s, dir.file("out.5gd"), sink));
    EXPECT_FALSE(test::file_exists(dir.file("out.5gd")));
    EXPECT_TRUE(bytes_of(s.gmdc) == before); // not even padded
    ASSERT_TRUE(sink.has(MessageKind::Error));
    EXPECT_FALSE(sink.contains("Save Complete"));
    EXPECT_TRUE(sink.contains(part)) << sink.last();
}

TEST(BodyMeshSave, A30ListBodyMeshIsWrittenWith15ListsAndIndices10To14)
{
    test::TempDir dir;
    State s = test::state_with(make_body_mesh_30(), {});
    const GmdcFile before = s.gmdc;
    RecordingSink sink;
    ASSERT_TRUE(save_body_gmdc(s, dir.file("body.5gd"), sink)) << sink.last();
    EXPECT_EQ(sink.last(), "Save Complete");
    EXPECT_TRUE(sink.contains("drops the morphs \"auskin/skin\", \"/empty first\", \"a/\".")) << sink.entries[0].text;

    const GmdcFile back = read_back(dir.file("body.5gd"));
    ASSERT_EQ(back.dataLists.size(), 15u);
    for (std::size_t k = 0; k < 10; ++k)
        EXPECT_EQ(back.dataLists[k].floatValues, before.dataLists[k].floatValues);
    // the group's own lists, data lists 11, 12, 13, 16 and 17 of the 30
    EXPECT_EQ(back.dataLists[10].recordCount, 15); // positions, padded by the save
    EXPECT_EQ(back.dataLists[11].floatValues, before.dataLists[11].floatValues);
    EXPECT_EQ(back.dataLists[12].floatValues, before.dataLists[12].floatValues);
    EXPECT_EQ(back.dataLists[13].longValues, before.dataLists[15].longValues);
    EXPECT_EQ(back.dataLists[14].floatValues, before.dataLists[16].floatValues);
    ASSERT_EQ(back.objectGroups.size(), 1u);
    EXPECT_EQ(back.objectGroups[0].dataListIndices, (std::vector<std::int16_t>{10, 11, 12, 13, 14}));
    EXPECT_EQ(back.objectGroups[0].activeCount, 5);
    EXPECT_EQ(back.objectGroups[0].vertexCount, 12);
    EXPECT_EQ(back.objects[0].faces, before.objects[0].faces);
    EXPECT_EQ(back.objects[0].blockB, before.objects[0].blockB);

    // Memory keeps its own layout, so the next slot search still finds the bone list.
    EXPECT_EQ(s.gmdc.dataLists.size(), 30u);
    EXPECT_EQ(s.gmdc.objectGroups[0].dataListIndices, before.objectGroups[0].dataListIndices);
    EXPECT_EQ(s.gmdc.objectGroups[0].activeCount, 14);
    EXPECT_EQ(find_bone_list(s, 1), 7);
}

TEST(BodyMeshSave, AfterReplaceWithBodyEditingTheModelReadsBack)
{
    test::TempDir dir;
    MeshModel m = test::make_obj_model("top", 5, 2);
    m.targetObject = 1;
    m.subGroup = 2;
    State s = test::state_with(make_body_mesh_30(), {m});
    ViewOptions body;
    body.bodyEditing = true;
    RecordingSink sink;
    ASSERT_TRUE(replace_models(s, body, sink)) << sink.last();
    ASSERT_TRUE(save_body_gmdc(s, dir.file("body.5gd"), sink)) << sink.last();
    const GmdcFile back = read_back(dir.file("body.5gd"));
    std::vector<float> positions = test::flat(m.vertices);
    positions.resize(positions.size() + 9, 0.0f);
    EXPECT_EQ(back.dataLists[10].floatValues, positions);
    EXPECT_EQ(back.dataLists[13].longValues, std::vector<std::int32_t>(5, static_cast<std::int32_t>(0xFFFFFF01)));
    EXPECT_EQ(back.dataLists[14].floatValues.size(), 15u);
    EXPECT_EQ(back.objects[0].faces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3}));
}

TEST(BodyMeshSave, AGmdcNotLaidOutAsABodyMeshIsRefusedAndNothingIsWritten)
{
    State fourteen = test::state_with(test::make_body_mesh(), {}); // 6 lists remain
    expect_refused(fourteen, "holds 6 data lists");
    State teapot = test::state_with(test::make_static_mesh(), {});
    expect_refused(teapot, "holds 3 data lists");

    GmdcFile swapped = make_body_mesh_30();
    std::swap(swapped.dataLists[11], swapped.dataLists[12]); // texture coordinates before normals
    State s = test::state_with(swapped, {});
    expect_refused(s, "must hold normals");

    GmdcFile otherLists = make_body_mesh_30();
    otherLists.objectGroups[0].dataListIndices[1] = 3; // normals from one of the first ten lists
    State t = test::state_with(otherLists, {});
    expect_refused(t, "would use data lists 10, 3, 12, 13, 14");

    GmdcFile missing = make_body_mesh_30();
    missing.objectGroups[0].dataListIndices.push_back(30);
    State u = test::state_with(missing, {});
    expect_refused(u, "data list index 30");
}

} // namespace
} // namespace mw
