// The main window's merge pass: models into the objects of the same name.
#include "merge/merge_pass.h"

#include "merge/merge_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace mw {
namespace {

using test::bytes_of;
using test::flat;
using test::make_obj_model;
using test::make_static_mesh;
using test::state_with;
using Faces = std::vector<std::int16_t>;

TEST(MergePass, TheFirstModelReplacesTheTickedListsAndTheNextIsAppendedWithShiftedFaces)
{
    const MeshModel a = make_obj_model("teapot", 4, 2, 100.0f), b = make_obj_model("teapot", 3, 1, 200.0f);
    State s = state_with(make_static_mesh(), {a, b}), unticked = s;
    const DataList bump = s.gmdc.dataLists[3];
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, sink));
    EXPECT_TRUE(sink.contains("model 2 \"teapot\" were appended to object 1 \"teapot\"")) << sink.last();
    EXPECT_EQ(s.gmdc.dataLists[0].floatValues, test::concat(flat(a.vertices), flat(b.vertices)));
    EXPECT_EQ(s.gmdc.dataLists[3].recordCount, 7);
    // Not a list the merge writes: it follows the new vertices (each the nearest old one's).
    EXPECT_TRUE(std::search(bump.floatValues.begin(), bump.floatValues.end(), s.gmdc.dataLists[3].floatValues.begin(),
                            s.gmdc.dataLists[3].floatValues.begin() + 3) != bump.floatValues.end());
    EXPECT_EQ(s.gmdc.objects[0].faces, (Faces{0, 1, 2, 1, 2, 3, 4, 5, 6})); // b's (1, 2, 3) behind a's four
    // Nothing ticked: only later models' faces are appended, with offset zero.
    ASSERT_TRUE(merge_models_into_gmdc(unticked, {false, false, false, false}, sink));
    EXPECT_TRUE(unticked.gmdc.dataLists == make_static_mesh().dataLists);
    EXPECT_EQ(unticked.gmdc.objectGroups[0].vertexCount, 6);
    EXPECT_EQ(unticked.gmdc.objects[0].faces, (Faces{0, 1, 2, 1, 2, 3, 0, 1, 2}));
}

TEST(MergePass, RefusalsLeaveTheGmdcAsItWas)
{
    const GmdcFile teapot = make_static_mesh();
    GmdcFile twins = teapot; // a second group and object of the same name
    for (int k = 0; k < 4; ++k)
        twins.dataLists.push_back(twins.dataLists[static_cast<std::size_t>(k)]);
    twins.objectGroups.push_back(twins.objectGroups[0]);
    twins.objectGroups[1].dataListIndices = {4, 5, 6, 7};
    twins.objects.push_back(twins.objects[0]);
    twins.objects[1].objectGroupIndex = 1;
    GmdcFile noGroup = teapot, noUvList = teapot, missingList = teapot;
    noGroup.objects[0].objectGroupIndex = 5;
    noUvList.objectGroups[0].dataListIndices = {0, 1};
    missingList.objectGroups[0].dataListIndices = {0, 1, 9, 3};
    MeshModel badFace = make_obj_model("teapot", 4, 2), noUvs = badFace;
    badFace.faces[1].vertex3 = 9;
    noUvs.uvs.clear();
    const MeshModel tri = make_obj_model("teapot", 3, 1);
    const struct {
        GmdcFile gmdc;
        std::vector<MeshModel> models;
        const char* part;
    } cases[] = {
        {test::with_shared_object(teapot, "lid", {3, 4, 5}), {tri}, "object 2 \"lid\""},
        {twins, {tri}, "2 objects share the name (object 1 \"teapot\", object 2 \"teapot\")"},
        {noGroup, {tri}, "Cannot merge model 1 \"teapot\" into object 1 \"teapot\""},
        {teapot,
         {make_obj_model("teapot", 4, 2), badFace},
         "Cannot merge model 2 \"teapot\" into object 1 \"teapot\": its face 2"},
        {teapot, {noUvs}, "texture coordinates"},
        {noUvList, {tri}, "texture-coordinate list"},
        {missingList, {tri}, "data list index 9"},
        {teapot, {make_obj_model("teapot", 20000, 1), make_obj_model("teapot", 20000, 1)}, "more than 32767"},
        {teapot, {make_obj_model("tea pot", 3, 1)}, "nothing was merged: model 1 \"tea pot\""},
    };
    for (const auto& c : cases) {
        State s = state_with(c.gmdc, c.models);
        test::expect_refused(
            s, [&](MessageSink& k) { return merge_models_into_gmdc(s, {}, k); }, c.part);
    }
    // With "Import UVs" unticked the missing texture-coordinate entry is not needed.
    State s = state_with(noUvList, {tri});
    RecordingSink sink;
    EXPECT_TRUE(merge_models_into_gmdc(s, {.importUVs = false}, sink));
    // An object sharing the lists that are replaced, even one list alone, is told it keeps
    // its old faces.
    for (const int only : {0, 1}) {
        const ImportOptions one{.importVertices = only == 0, .importNormals = only == 1, .importUVs = false};
        State lid = state_with(test::with_shared_object(teapot, "lid", {0, 1, 2}), {tri});
        RecordingSink warned;
        EXPECT_TRUE(merge_models_into_gmdc(lid, one, warned));
        EXPECT_TRUE(warned.contains("object 2 \"lid\"") && warned.contains("old faces")) << warned.last();
    }
}

TEST(MergeObject, RefusesListsOfOtherLengthsOrWidthsButDropsTheSavePaddingFirst)
{
    GmdcFile uneven = make_static_mesh();
    uneven.dataLists[1].recordCount = 5;
    uneven.dataLists[1].floatValues.resize(15);
    GmdcFile padded = make_static_mesh(); // 6 vertices
    applyVertexPadding(padded);           // as a GMDC this program saved before
    ASSERT_EQ(padded.dataLists[0].recordCount, 9);
    GmdcFile realTail = padded;
    realTail.dataLists[0].floatValues.back() = 1.0f; // not padding: a real vertex the other lists lack
    GmdcFile narrow = make_static_mesh();
    narrow.dataLists[1].floatValues.resize(12); // two values per normal
    const MeshModel m = make_obj_model("teapot", 3, 1);
    std::string error;
    for (const auto& [g, part] : {std::pair(uneven, "differ in length"), std::pair(realTail, "differ in length"),
                                  std::pair(narrow, "not 3 per record")}) {
        State s = state_with(g, {m});
        const std::string before = bytes_of(s.gmdc);
        EXPECT_FALSE(merge_object(s, 1, 1, 1, {}, error));
        EXPECT_NE(error.find(part), std::string::npos) << error;
        EXPECT_TRUE(bytes_of(s.gmdc) == before);
    }
    State s = state_with(padded, {m});
    ASSERT_TRUE(merge_object(s, 1, 1, 1, {}, error)) << error;
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(s.gmdc.dataLists[k].recordCount, 9);
    const std::vector<float> tail(s.gmdc.dataLists[0].floatValues.begin() + 18, s.gmdc.dataLists[0].floatValues.end());
    EXPECT_EQ(tail, flat(m.vertices));
    EXPECT_EQ(s.gmdc.objects[0].faces, (Faces{0, 1, 2, 1, 2, 3, 6, 7, 8}));
}

} // namespace
} // namespace mw
