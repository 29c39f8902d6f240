// The 3D view's "Replace" and "add model" with OBJ models: sub-group values, weight
// layouts, shared object groups, the bump-map patch and the refusals.
#include "merge/view_commands.h"

#include "merge/bone_slot.h"
#include "merge/merge_test_util.h"
#include "merge/subgroup.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

using test::assigned;
using test::bytes_of;
using test::flat;
using test::make_body_mesh;
using test::make_obj_model;
using test::make_static_mesh;
using test::state_with;

// In make_body_mesh the group's lists are data lists 1-14 in order (0-based 0-13).
constexpr std::size_t kPositions = 0, kNormals = 1, kUvs = 2, kBump = 5, kBones = 6, kWeights = 7;

std::vector<float> repeated(std::initializer_list<float> element, std::size_t times)
{
    std::vector<float> out;
    for (std::size_t i = 0; i < times; ++i)
        out.insert(out.end(), element);
    return out;
}

// A command must refuse, leave the GMDC byte-identical and name the model and object.
void expect_refused(bool (*command)(State&, const ViewOptions&, MessageSink&), State& s, const ViewOptions& options,
                    const std::string& part)
{
    const std::string before = bytes_of(s.gmdc);
    const std::int16_t slot = s.boneAssignmentSlot;
    RecordingSink sink;
    EXPECT_FALSE(command(s, options, sink));
    EXPECT_TRUE(bytes_of(s.gmdc) == before);
    EXPECT_EQ(s.boneAssignmentSlot, slot);
    ASSERT_TRUE(sink.has(MessageKind::Error));
    EXPECT_TRUE(sink.contains(part)) << sink.last();
    EXPECT_TRUE(sink.contains("Nothing was changed.")) << sink.last();
}

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
    EXPECT_EQ(test::count_of(sink, MessageKind::Warning), 0u);
    const auto& lists = s.gmdc.dataLists;
    EXPECT_EQ(lists[kPositions].floatValues, test::concat(flat(a.vertices), flat(b.vertices)));
    EXPECT_EQ(lists[kNormals].floatValues, test::concat(flat(a.normals), flat(b.normals)));
    EXPECT_EQ(lists[kUvs].floatValues, test::concat(flat(a.uvs), flat(b.uvs)));
    EXPECT_EQ(lists[kBones].longValues,
              test::values({0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF01, 0xFFFFFF01, 0xFFFFFF01}));
    EXPECT_EQ(lists[kBones].dataLength(), 7 * 4);
    // blockFormat 2: three floats per element even with "3 weights" and "Body Editing" unticked
    EXPECT_EQ(lists[kWeights].floatValues, repeated({1.0f, 0.0f, 0.0f}, 7));
    EXPECT_EQ(lists[kWeights].dataLength(), 7 * 12);
    EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 7);
    EXPECT_EQ(s.gmdc.objects[0].faces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(s.gmdc.objects[1].faces, (std::vector<std::int16_t>{4, 5, 6}));
    EXPECT_EQ(s.boneAssignmentSlot, 7);
    // The morph and bump-map lists follow the new vertices.
    for (const std::size_t k : {3u, 4u, 5u, 8u, 9u, 10u, 11u, 12u, 13u})
        EXPECT_EQ(lists[k].recordCount, 7) << "data list " << k + 1;
}

TEST(Replace, SmdModelsOfOneGroupEachReplaceTheListsSoOnlyTheLastGeometryStays)
{
    MeshModel a = assigned(test::make_one_bone_model({2, 2, 2, 2, 2, 2}), 1, 1);
    MeshModel b = assigned(test::make_one_bone_model({3, 3, 3, 3, 3, 3}), 2, 1);
    b.vertices[0].x = 99.0f;
    State s = state_with(body_with_skirt({}), {a, b}, 2);
    RecordingSink sink;
    ASSERT_TRUE(replace_models(s, {}, sink));
    EXPECT_EQ(s.gmdc.dataLists[kPositions].floatValues, flat(b.vertices));
    EXPECT_EQ(s.gmdc.dataLists[kBones].longValues, std::vector<std::int32_t>(6, static_cast<std::int32_t>(0xFFFFFF01)));
    // object 1's faces were model a's; they now name model b's vertices
    EXPECT_TRUE(sink.contains("object 1 \"body\"")) << sink.last();
}

TEST(Add, AppendsBehindAllFiveListsAndShiftsTheFacesByTheWeightCount)
{
    const MeshModel m = top(3, 1, 1, 2);
    GmdcFile padded = make_body_mesh();
    applyVertexPadding(padded); // a GMDC saved before: the padding vertices go first
    ASSERT_EQ(padded.dataLists[kPositions].recordCount, 15);
    for (const GmdcFile& g : {make_body_mesh(), padded}) {
        State s = state_with(g, {m});
        const GmdcFile before = make_body_mesh();
        RecordingSink sink;
        ASSERT_TRUE(add_models(s, {}, sink));
        EXPECT_EQ(test::count_of(sink, MessageKind::Warning), 0u);
        const auto& lists = s.gmdc.dataLists;
        for (const std::size_t k : {kPositions, kNormals, kUvs, kBones, kWeights})
            EXPECT_EQ(lists[k].recordCount, 15) << k;
        EXPECT_EQ(std::vector<float>(lists[kPositions].floatValues.begin() + 36, lists[kPositions].floatValues.end()),
                  flat(m.vertices));
        EXPECT_EQ(std::vector<std::int32_t>(lists[kBones].longValues.begin(), lists[kBones].longValues.begin() + 12),
                  before.dataLists[kBones].longValues);
        EXPECT_EQ(lists[kBones].longValues.back(), static_cast<std::int32_t>(0xFFFFFF01));
        EXPECT_EQ(std::vector<float>(lists[kWeights].floatValues.begin() + 36, lists[kWeights].floatValues.end()),
                  repeated({1.0f, 0.0f, 0.0f}, 3));
        EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 15);
        std::vector<std::int16_t> faces = before.objects[0].faces;
        faces.insert(faces.end(), {12, 13, 14});
        EXPECT_EQ(s.gmdc.objects[0].faces, faces);
    }
}

TEST(WeightLayout, AListKeepsItsOwnLayoutAndOnlyAnEmptyListOfAnotherFormatFollowsTheOptions)
{
    ViewOptions three;
    three.threeWeights = true;
    // one float per element (blockFormat 0): stays one even with "3 weights"
    GmdcFile g = make_body_mesh();
    g.dataLists[kWeights] = test::make_float_list(kIdentityBoneWeights, 12, 1, 0.5f);
    State s = state_with(g, {top()});
    RecordingSink sink;
    ASSERT_TRUE(add_models(s, three, sink));
    EXPECT_EQ(s.gmdc.dataLists[kWeights].floatValues.size(), 15u);
    EXPECT_EQ(s.gmdc.dataLists[kWeights].floatValues.back(), 1.0f);
    ASSERT_TRUE(replace_models(s, three, sink));
    EXPECT_EQ(s.gmdc.dataLists[kWeights].floatValues, std::vector<float>(3, 1.0f));

    // an empty list of another format: the options choose
    for (const bool threeWeights : {false, true}) {
        GmdcFile e = make_body_mesh(0, 0);
        e.dataLists[kWeights].blockFormat = 1;
        State t = state_with(e, {top()});
        ViewOptions o;
        o.threeWeights = threeWeights;
        ASSERT_TRUE(add_models(t, o, sink));
        EXPECT_EQ(t.gmdc.dataLists[kWeights].floatValues.size(), threeWeights ? 9u : 3u);
    }
}

TEST(BumpMap, ReplaceGrowsEntrySixToTheNormalCountUnlessBodyEditingAddAlways)
{
    ViewOptions bump;
    bump.bumpMap = true;
    State s = state_with(make_body_mesh(), {top(5, 2)});
    const std::vector<float> old = s.gmdc.dataLists[kBump].floatValues;
    RecordingSink sink;
    ASSERT_TRUE(replace_models(s, bump, sink));
    EXPECT_EQ(s.gmdc.dataLists[kBump].recordCount, 5);
    EXPECT_EQ(s.gmdc.dataLists[kBump].floatValues, std::vector<float>(old.begin(), old.begin() + 15));

    bump.bodyEditing = true;
    State t = state_with(make_body_mesh(), {top(5, 2)});
    ASSERT_TRUE(replace_models(t, bump, sink));
    EXPECT_EQ(t.gmdc.dataLists[kBump].recordCount, 5); // not patched, but following the new vertices
    ASSERT_TRUE(add_models(t, bump, sink));
    EXPECT_EQ(t.gmdc.dataLists[kBump].recordCount, 10);
    EXPECT_EQ(t.gmdc.dataLists[kBump].floatValues.size(), 30u);

    // Without target objects "Replace" changes nothing and "add model" only patches.
    State u = state_with(make_body_mesh(), {make_obj_model("top", 3, 1)});
    const std::string before = bytes_of(u.gmdc);
    RecordingSink quiet;
    ASSERT_TRUE(replace_models(u, {}, quiet));
    ASSERT_TRUE(add_models(u, {}, quiet));
    EXPECT_TRUE(bytes_of(u.gmdc) == before);
    u.gmdc.dataLists[kBump].recordCount = 4;
    u.gmdc.dataLists[kBump].floatValues.resize(12);
    ASSERT_TRUE(add_models(u, bump, quiet));
    EXPECT_EQ(u.gmdc.dataLists[kBump].floatValues.size(), 36u);
    EXPECT_TRUE(quiet.empty());
}

TEST(AppendSubgroup, WithoutBodyEditingTheBoneListsOfTheTargetObjectsGroupAreFilled)
{
    GmdcFile g = make_body_mesh(); // object 2 in a group of its own on copies of the 14 lists
    const std::size_t first = g.dataLists.size();
    for (std::size_t k = 0; k < 14; ++k)
        g.dataLists.push_back(g.dataLists[k]);
    g.objectGroups.push_back(g.objectGroups[0]);
    for (std::int16_t& i : g.objectGroups[1].dataListIndices)
        i = static_cast<std::int16_t>(i + 14);
    g.objects.push_back(g.objects[0]);
    g.objects[1].objectGroupIndex = 1;
    for (const bool bodyEditing : {false, true}) {
        State s = state_with(g, {top(3, 1, 2)});
        ViewOptions options;
        options.bodyEditing = bodyEditing;
        std::string error;
        ASSERT_TRUE(append_subgroup(s, 1, 1, 1, options, error)) << error;
        EXPECT_EQ(s.gmdc.dataLists[kPositions].recordCount, 15);
        EXPECT_EQ(s.gmdc.dataLists[kBones].recordCount, bodyEditing ? 15 : 12);
        EXPECT_EQ(s.gmdc.dataLists[first + kBones].recordCount, bodyEditing ? 12 : 15);
    }
}

TEST(ViewCommandRefusals, EachLeavesTheGmdcAsItWasAndSaysWhy)
{
    enum { kReplace = 1, kAdd = 2, kBoth = 3 };
    auto refused = [](int commands, const GmdcFile& g, std::vector<MeshModel> models, const ViewOptions& options,
                      const std::string& part) {
        SCOPED_TRACE(part);
        State s = state_with(g, std::move(models));
        if (commands & kReplace)
            expect_refused(replace_models, s, options, part);
        if (commands & kAdd)
            expect_refused(add_models, s, options, part);
    };
    ViewOptions three, bump;
    three.threeWeights = true;
    bump.bumpMap = true;
    const GmdcFile body = make_body_mesh();
    GmdcFile g = body;
    g.dataLists[kBones].longValues.pop_back();
    g.dataLists[kBones].recordCount = 11;
    refused(kAdd, g, {top()}, {}, "Cannot add model 1 \"top\" to object 1 \"body\": the lists differ in length");
    g = body;
    g.dataLists[kWeights].floatValues.resize(24); // fits neither layout
    refused(kBoth, g, {top()}, three, "bone-weight list");
    g = body;
    g.objectGroups[0].dataListIndices = {0, 1, 2, 3, 4, 6, 7, 5, 8, 9, 10, 11, 12, 13};
    refused(kReplace, g, {top()}, bump, "bone-assignment list at entry 6");
    g.objectGroups[0].dataListIndices = {0, 1, 2, 3, 6, 7, 4, 5, 8, 9, 10, 11, 12, 13};
    refused(kAdd, g, {top()}, bump, "bone-weight list at entry 6");
    g = body;
    g.objectGroups[0].dataListIndices.resize(7); // the bone assignments are its last entry
    g.objectGroups[0].activeCount = 7;
    refused(kReplace, g, {top()}, {}, "bone-weight list");
    g = body;
    g.objects[0].objectGroupIndex = 3;
    refused(kBoth, g, {top()}, {}, "names no object group");
    g = body;
    g.objectGroups[0].dataListIndices[1] = 99;
    refused(kBoth, g, {top()}, {}, "normal list");
    g = body;
    g.dataLists[kUvs] = test::make_float_list(kIdentityTexCoords, 12, 3, 0.0f); // three values, not two
    refused(kAdd, g, {top()}, {}, "texture-coordinate list");
    g = make_static_mesh(); // the slot search falls back to 4, the bump-map normals
    g.objects[0].blockB = {0, 1, 2};
    refused(kBoth, g, {assigned(make_obj_model("teapot", 3, 1), 1, 1)}, {}, "not 0xFBD70111");

    refused(kReplace, body, {top(3, 1, 2)}, {}, "object 2 does not exist");
    refused(kBoth, body, {top(3, 1, 1, 41)}, {}, "sub-group 41");
    refused(kAdd, body, {top(3, 1, 1, -2)}, {}, "sub-group -2");
    refused(kAdd, body, {top(32756)}, {}, "more than 32767");
    State fits = state_with(body, {top(32755)});
    RecordingSink sink;
    EXPECT_TRUE(add_models(fits, {}, sink)) << sink.last();

    // A later model's failure undoes the earlier ones.
    MeshModel bad = assigned(make_obj_model("skirt", 3, 1), 2, 1);
    bad.faces[0].vertex2 = 0;
    refused(kReplace, body_with_skirt({}), {top(4, 2), bad}, {},
            "Cannot replace model 2 \"skirt\" into object 2 \"skirt\": its face 1");
    refused(kAdd, body_with_skirt({}), {top(4, 2), bad}, {}, "Cannot add model 2 \"skirt\" to object 2 \"skirt\"");
    // The skirt shares the replaced group and its old faces reach past the new vertices.
    refused(kReplace, body_with_skirt({0, 1, 11}), {top(4, 2)}, {}, "object 2 \"skirt\"");
}

} // namespace
} // namespace mw
