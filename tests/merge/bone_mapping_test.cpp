// "Replace" with SMD models: their bones looked up in the target object's bone list.
// In make_body_mesh blockB holds bone b + 1 at slot b (1-based), so bone 4 sits in slot
// 3, whose byte is 0x02.
#include "merge/bone_mapping.h"

#include "merge/merge_test_util.h"
#include "merge/view_commands.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

using test::make_body_mesh;
using test::make_multi_bone_model;
using test::make_one_bone_model;
using test::values;

constexpr std::size_t kBones = 6, kWeights = 7;

State smd_state(MeshModel m, GmdcFile g = make_body_mesh())
{
    return test::state_with(std::move(g), {test::assigned(std::move(m), 1, 1)}, 2);
}

TEST(BoneMapping, EachBoneGetsTheLastSlotHoldingItAndEachVertexItsWeights)
{
    const ViewOptions xsi{.usingXsiModTool = true};
    GmdcFile twice = make_body_mesh();
    twice.objects[0].blockB[10] = 2; // bone 2 in slots 1 and 11
    const std::vector<float> whole = {1, 0, 0, 1, 0, 0, 1, 0, 0};
    const struct {
        GmdcFile gmdc;
        MeshModel model;
        ViewOptions options;
        std::vector<std::int32_t> bones;
        std::vector<float> weights;
    } cases[] = {
        // one-bone models never get the XSI offset
        {make_body_mesh(), make_one_bone_model({2, 6, 41}), xsi, values({0xFFFFFF00, 0xFFFFFF04, 0xFFFFFF27}), whole},
        {twice, make_one_bone_model({2, 2, 2}), {}, values({0xFFFFFF0A, 0xFFFFFF0A, 0xFFFFFF0A}), whole},
        // slots 3 and 5; slot 3 alone; slots 17, 18 and 33 keep two hex digits each
        {make_body_mesh(),
         make_multi_bone_model({{4, 0.75f, 6, 0.25f}, {4, 1.0f}, {18, 0.5f, 19, 0.3f, 34, 0.2f}}),
         {},
         values({0xFFFF0402, 0xFFFFFF02, 0xFF201110}),
         {0.75f, 0.25f, 0.0f, 1.0f, 0.0f, 0.0f, 0.5f, 0.3f, 0.2f}},
        // with the XSI offset multi-bone numbers are one higher: bone 8 is entry 7 in slot 6
        {make_body_mesh(),
         make_multi_bone_model({{5, 0.75f, 7, 0.25f}, {8, 1.0f}, {3, 1.0f}}),
         xsi,
         values({0xFFFF0402, 0xFFFFFF05, 0xFFFFFF00}),
         {0.75f, 0.25f, 0, 1, 0, 0, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        State s = smd_state(c.model, c.gmdc);
        RecordingSink sink;
        ASSERT_TRUE(replace_models(s, c.options, sink)) << sink.last();
        EXPECT_EQ(s.gmdc.dataLists[kBones].longValues, c.bones);
        EXPECT_EQ(s.gmdc.dataLists[kWeights].floatValues, c.weights);
    }
}

TEST(BoneMapping, ARefusedModelSaysWhyAndChangesNothing)
{
    const ViewOptions xsi{.usingXsiModTool = true};
    GmdcFile wide = make_body_mesh();
    wide.objects[0].blockB.resize(255, 7); // slots 0 to 254: the last one a byte can name
    State fits = smd_state(make_one_bone_model({2, 2, 2}), wide);
    RecordingSink sink;
    EXPECT_TRUE(replace_models(fits, {}, sink)) << sink.last();
    wide.objects[0].blockB.push_back(7);
    // Block format 0 says one float per vertex; format 1 says neither, so the values decide.
    GmdcFile oneFloat = make_body_mesh();
    oneFloat.dataLists[kWeights] = test::make_float_list(kIdentityBoneWeights, 12, 1, 0.5f);
    GmdcFile oneFloatFormat1 = oneFloat;
    oneFloatFormat1.dataLists[kWeights].blockFormat = 1;
    const MeshModel twoLinks = make_multi_bone_model({{4, 0.5f, 6, 0.5f}, {4, 1.0f}, {4, 1.0f}});
    const struct {
        MeshModel model;
        GmdcFile gmdc;
        ViewOptions options;
        bool tooManyBones;
        const char* part;
    } cases[] = {
        {make_one_bone_model({2, 99, 2}), make_body_mesh(), {}, true, "vertex 2 hangs on bone 99"},
        {make_multi_bone_model({{4, 0.5f, 6, 0.2f, 99, 0.3f}, {4, 1.0f}, {4, 1.0f}}),
         make_body_mesh(),
         {},
         true,
         "bone 99"},
        {make_one_bone_model({2, 2, 2}), wide, {}, true, "256 bones"},
        // with the XSI offset bone 2 is bone 1: absent
        {make_multi_bone_model({{2, 1.0f}, {3, 1.0f}, {3, 1.0f}}), make_body_mesh(), xsi, true,
         "bone 2 (bone 1 in the GMDC)"},
        {twoLinks, oneFloat, {}, false, "one float per vertex"},
        {twoLinks, oneFloatFormat1, {}, false, "one float per vertex"},
    };
    for (const auto& c : cases) {
        State s = smd_state(c.model, c.gmdc);
        const RecordingSink refused = test::expect_refused(
            s, [&](MessageSink& k) { return replace_models(s, c.options, k); }, c.part);
        EXPECT_EQ(refused.entries.size() == 2 && refused.entries[0].text == kTooManyBonesMessage, c.tooManyBones)
            << c.part;
    }
}

TEST(BoneMapping, AnAssignmentListShorterThanTheModelIsRefused)
{
    State s = smd_state(make_one_bone_model({2, 2, 2, 2, 2, 2}));
    s.gmdc.dataLists[kBones].longValues.resize(4);
    s.gmdc.dataLists[kBones].recordCount = 4;
    const GmdcFile shortened = s.gmdc;
    std::string error;
    bool tooMany = false;
    EXPECT_FALSE(map_bone_assignments(s, 1, 7, 1, {}, error, tooMany));
    EXPECT_FALSE(tooMany);
    EXPECT_NE(error.find("fewer than the model's 6 vertices"), std::string::npos) << error;
    EXPECT_TRUE(s.gmdc == shortened);
}

} // namespace
} // namespace mw
