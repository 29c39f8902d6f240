// The 3D view's "Replace" and "add model" with OBJ models: sub-group values, the weight
// layout, shared object groups and the refusals.
#include "merge/view_commands.h"

#include "merge/merge_test_util.h"
#include "merge/subgroup.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

using test::assigned;
using test::flat;
using test::make_body_mesh;
using test::make_obj_model;
using test::make_static_mesh;
using test::state_with;

// In make_body_mesh the group's lists are data lists 1-14 in order (0-based 0-13).
constexpr std::size_t kPositions = 0, kNormals = 1, kUvs = 2, kBump = 5, kBones = 6, kWeights = 7;

// Model "top" of `vertices` vertices and `triangles` faces, aimed at `object` / `subGroup`.
MeshModel top(std::int32_t vertices = 3, std::int32_t triangles = 1, std::int16_t object = 1, std::int16_t subGroup = 1)
{
    return assigned(make_obj_model("top", vertices, triangles), object, subGroup);
}

GmdcFile body_with_skirt(std::vector<std::int16_t> skirtFaces)
{
    return test::with_shared_object(test::make_body_mesh(), "skirt", std::move(skirtFaces));
}

TEST(Replace, ObjModelsReplaceTheFiveListsWithTheirSubGroupsAndKeepTheThreeWeightLayout)
{
    // The first model of a group replaces its lists, the next one is appended behind it.
    const MeshModel a = top(4, 2, 1, 1), b = assigned(make_obj_model("skirt", 3, 1, 200.0f), 2, 2);
    State s = state_with(body_with_skirt({}), {a, b});
    RecordingSink sink;
    ASSERT_TRUE(replace_models(s, {}, sink));
    const auto& lists = s.gmdc.dataLists;
    EXPECT_EQ(lists[kPositions].floatValues, test::concat(flat(a.vertices), flat(b.vertices)));
    EXPECT_EQ(lists[kBones].longValues,
              test::values({0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF01, 0xFFFFFF01, 0xFFFFFF01}));
    // blockFormat 2: three floats per element even with "3 weights" and "Body Editing" unticked
    ASSERT_EQ(lists[kWeights].floatValues.size(), 21u);
    for (std::size_t i = 0; i < 21; ++i)
        EXPECT_EQ(lists[kWeights].floatValues[i], i % 3 == 0 ? 1.0f : 0.0f);
    EXPECT_EQ(s.gmdc.objects[0].faces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(s.gmdc.objects[1].faces, (std::vector<std::int16_t>{4, 5, 6}));
    EXPECT_EQ(s.boneAssignmentSlot, 7);
    EXPECT_EQ(lists[kBump].recordCount, 7); // following the new vertices
}

TEST(Add, AppendsBehindAllFiveListsAndShiftsTheFacesByTheWeightCount)
{
    const MeshModel m = top(3, 1, 1, 2);
    GmdcFile padded = make_body_mesh();
    applyVertexPadding(padded); // a GMDC saved before: the padding vertices go first
    ASSERT_EQ(padded.dataLists[kPositions].recordCount, 15);
    for (const GmdcFile& g : {make_body_mesh(), padded}) {
        State s = state_with(g, {m});
        RecordingSink sink;
        ASSERT_TRUE(add_models(s, {}, sink));
        const auto& lists = s.gmdc.dataLists;
        for (const std::size_t k : {kPositions, kNormals, kUvs, kBones, kWeights})
            EXPECT_EQ(lists[k].recordCount, 15) << k;
        EXPECT_EQ(std::vector<float>(lists[kPositions].floatValues.begin() + 36, lists[kPositions].floatValues.end()),
                  flat(m.vertices));
        EXPECT_EQ(lists[kBones].longValues.back(), static_cast<std::int32_t>(0xFFFFFF01));
        EXPECT_EQ(std::vector<float>(lists[kWeights].floatValues.begin() + 36, lists[kWeights].floatValues.end()),
                  (std::vector<float>{1, 0, 0, 1, 0, 0, 1, 0, 0}));
        EXPECT_EQ(std::vector<std::int16_t>(s.gmdc.objects[0].faces.end() - 3, s.gmdc.objects[0].faces.end()),
                  (std::vector<std::int16_t>{12, 13, 14}));
    }
}

TEST(ViewCommandRefusals, EachLeavesTheGmdcAsItWasAndSaysWhy)
{
    enum { kReplace = 1, kAdd = 2, kBoth = 3 };
    auto refused = [](int commands, const GmdcFile& g, std::vector<MeshModel> models, const ViewOptions& options,
                      const std::string& part) {
        State s = state_with(g, std::move(models));
        for (const auto& [mask, command] : {std::pair(kReplace, &replace_models), std::pair(kAdd, &add_models)})
            if (commands & mask)
                test::expect_refused(
                    s, [&](MessageSink& k) { return command(s, options, k); }, part);
    };
    const GmdcFile body = make_body_mesh();
    GmdcFile g = body;
    g.objectGroups[0].dataListIndices = {0, 1, 2, 3, 6, 7, 4, 5, 8, 9, 10, 11, 12, 13};
    refused(kAdd, g, {top()}, {.bumpMap = true}, "bone-weight list at entry 6");
    g = make_static_mesh(); // the slot search falls back to 4, the bump-map normals
    g.objects[0].blockB = {0, 1, 2};
    refused(kBoth, g, {assigned(make_obj_model("teapot", 3, 1), 1, 1)}, {}, "not 0xFBD70111");

    refused(kBoth, body, {top(3, 1, 1, 41)}, {}, "sub-group 41");
    refused(kAdd, body, {top(32756)}, {}, "more than 32767");
    State fits = state_with(body, {top(32755)});
    RecordingSink sink;
    EXPECT_TRUE(add_models(fits, {}, sink)) << sink.last();

    // A later model's failure undoes the earlier ones.
    MeshModel bad = assigned(make_obj_model("skirt", 3, 1), 2, 1);
    bad.faces[0].vertex2 = 0;
    refused(kReplace, body_with_skirt({}), {top(4, 2), bad}, {},
            "Cannot replace model 2 \"skirt\" into object 2 \"skirt\": its face 1");
    // The skirt shares the replaced group and its old faces reach past the new vertices.
    refused(kReplace, body_with_skirt({0, 1, 11}), {top(4, 2)}, {}, "object 2 \"skirt\"");
}

} // namespace
} // namespace mw
