// The main window's merge pass: models into the objects of the same name.
#include "merge/merge_pass.h"

#include "gmdc/gmdc_writer.h"
#include "merge/merge_test_util.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

using test::bytes_of;
using test::flat;
using test::make_obj_model;
using test::make_static_mesh;
using test::state_with;

std::vector<std::int16_t> faces(std::initializer_list<int> values)
{
    std::vector<std::int16_t> out;
    for (const int v : values)
        out.push_back(static_cast<std::int16_t>(v));
    return out;
}

// The static mesh with a second object "lid" in the same object group.
GmdcFile teapot_with_lid(std::vector<std::int16_t> lidFaces)
{
    return test::with_shared_object(test::make_static_mesh(), "lid", std::move(lidFaces));
}

// The merge pass must refuse and leave the GMDC exactly as it was.
void expect_refused(State& s, const ImportOptions& options, const std::string& part)
{
    const std::string before = bytes_of(s.gmdc);
    RecordingSink sink;
    EXPECT_FALSE(merge_models_into_gmdc(s, options, false, sink));
    EXPECT_TRUE(bytes_of(s.gmdc) == before);
    ASSERT_TRUE(sink.has(MessageKind::Error));
    EXPECT_TRUE(sink.contains(part)) << sink.last();
    EXPECT_TRUE(sink.contains("Nothing was changed.")) << sink.last();
}

TEST(MergePass, OneModelReplacesTheListsAndTheFacesOfItsObject)
{
    const MeshModel m = make_obj_model("teapot", 4, 2);
    State s = state_with(make_static_mesh(), {m});
    const DataList bump = s.gmdc.dataLists[3];
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, false, sink));
    EXPECT_TRUE(sink.empty());
    EXPECT_EQ(s.gmdc.dataLists[0].recordCount, 4);
    EXPECT_EQ(s.gmdc.dataLists[0].floatValues, flat(m.vertices));
    EXPECT_EQ(s.gmdc.dataLists[1].floatValues, flat(m.normals));
    EXPECT_EQ(s.gmdc.dataLists[2].floatValues, flat(m.uvs));
    EXPECT_EQ(s.gmdc.dataLists[2].dataLength(), 32);
    EXPECT_EQ(s.gmdc.dataLists[3].floatValues, bump.floatValues); // not a list the merge touches
    EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 4);
    EXPECT_EQ(s.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3}));
}

TEST(MergePass, TheSecondModelOfAnObjectIsAppendedWithShiftedFaces)
{
    const MeshModel a = make_obj_model("teapot", 4, 2, 100.0f);
    const MeshModel b = make_obj_model("teapot", 3, 1, 200.0f);
    State s = state_with(make_static_mesh(), {a, b});
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, false, sink));
    EXPECT_TRUE(sink.empty());
    std::vector<float> positions = flat(a.vertices);
    const std::vector<float> more = flat(b.vertices);
    positions.insert(positions.end(), more.begin(), more.end());
    EXPECT_EQ(s.gmdc.dataLists[0].floatValues, positions);
    EXPECT_EQ(s.gmdc.dataLists[2].recordCount, 7);
    EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 7);
    // b's face (1, 2, 3) behind a's four vertices
    EXPECT_EQ(s.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3, 4, 5, 6}));
}

TEST(MergePass, TwoObjectsOfOneGroupShareTheListsAndTheSecondKeepsItsOldFacesWithAWarning)
{
    State s = state_with(teapot_with_lid(faces({3, 4, 5})),
                         {make_obj_model("teapot", 4, 2, 100.0f), make_obj_model("lid", 3, 1, 200.0f)});
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, false, sink));
    EXPECT_EQ(s.gmdc.dataLists[0].recordCount, 7);
    EXPECT_EQ(s.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(s.gmdc.objects[1].faces, faces({3, 4, 5, 4, 5, 6}));
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Warning);
    EXPECT_TRUE(sink.contains("object 2 \"lid\"")) << sink.last();
    EXPECT_TRUE(sink.contains("old faces")) << sink.last();
}

TEST(MergePass, OfTwoObjectsWithTheSameNameTheLastOneReceivesTheModel)
{
    GmdcFile g = make_static_mesh();
    for (int k = 0; k < 4; ++k)
        g.dataLists.push_back(g.dataLists[static_cast<std::size_t>(k)]);
    ObjectGroup second = g.objectGroups[0];
    second.dataListIndices = {4, 5, 6, 7};
    g.objectGroups.push_back(second);
    GmdcObject twin = g.objects[0];
    twin.objectGroupIndex = 1;
    g.objects.push_back(twin);
    const DataList firstPositions = g.dataLists[0];
    const MeshModel m = make_obj_model("teapot", 3, 1);
    State s = state_with(g, {m});
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, false, sink));
    EXPECT_EQ(s.gmdc.dataLists[0].floatValues, firstPositions.floatValues);
    EXPECT_EQ(s.gmdc.objects[0].faces, make_static_mesh().objects[0].faces);
    EXPECT_EQ(s.gmdc.dataLists[4].floatValues, flat(m.vertices));
    EXPECT_EQ(s.gmdc.objects[1].faces, faces({0, 1, 2}));
}

TEST(MergePass, WithEveryOptionUntickedOnlyTheFacesOfLaterModelsAreAppendedWithOffsetZero)
{
    State s = state_with(make_static_mesh(), {make_obj_model("teapot", 4, 2), make_obj_model("teapot", 3, 1)});
    const GmdcFile before = s.gmdc;
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {false, false, false, false}, false, sink));
    EXPECT_TRUE(sink.empty());
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(s.gmdc.dataLists[k].floatValues, before.dataLists[k].floatValues);
    EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 6);
    EXPECT_EQ(s.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3, 0, 1, 2}));
}

TEST(MergePass, WithImportPolygonsUntickedTheObjectKeepsItsFacesAndAWarningSaysWhenTheyReachTooFar)
{
    ImportOptions noPolygons;
    noPolygons.importPolygons = false;
    State s = state_with(make_static_mesh(), {make_obj_model("teapot", 3, 1)});
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, noPolygons, false, sink));
    EXPECT_EQ(s.gmdc.dataLists[0].recordCount, 3);
    EXPECT_EQ(s.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 6); // only the faces step sets it
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Warning);
    EXPECT_TRUE(sink.contains("object 1 \"teapot\"") && sink.contains("\"Import Polygons\"")) << sink.last();

    State fits = state_with(make_static_mesh(), {make_obj_model("teapot", 4, 1)});
    RecordingSink quiet;
    ASSERT_TRUE(merge_models_into_gmdc(fits, noPolygons, false, quiet));
    EXPECT_TRUE(quiet.empty());
}

TEST(MergePass, AnEmptyInputFileBoxMergesNothing)
{
    State s = state_with(make_static_mesh(), {make_obj_model("teapot", 3, 1)});
    const std::string before = bytes_of(s.gmdc);
    RecordingSink sink;
    EXPECT_TRUE(merge_models_into_gmdc(s, {}, true, sink));
    EXPECT_TRUE(bytes_of(s.gmdc) == before);
    EXPECT_TRUE(sink.empty());
}

TEST(MergePass, ModelsMatchingNoObjectAreLeftOutAndNamed)
{
    State s = state_with(make_static_mesh(), {make_obj_model("teapot", 4, 2), make_obj_model("Teapot", 3, 1),
                                              make_obj_model("spout", 3, 1)});
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, false, sink));
    EXPECT_EQ(s.gmdc.dataLists[0].recordCount, 4);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Warning);
    EXPECT_TRUE(sink.contains("model 2 \"Teapot\", model 3 \"spout\"")) << sink.last();
}

TEST(MergePass, AModelWithoutFacesEmptiesTheFacesOnReplaceAndAddsNoneOnAppend)
{
    State s = state_with(make_static_mesh(), {make_obj_model("teapot", 3, 0)});
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, false, sink));
    EXPECT_TRUE(s.gmdc.objects[0].faces.empty());

    State twice = state_with(make_static_mesh(), {make_obj_model("teapot", 4, 2), make_obj_model("teapot", 3, 0)});
    ASSERT_TRUE(merge_models_into_gmdc(twice, {}, false, sink));
    EXPECT_EQ(twice.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(twice.gmdc.dataLists[0].recordCount, 7);
}

TEST(MergePassRefusals, EachLeavesTheGmdcAsItWasAndSaysWhy)
{
    auto model = [](int vertices, int triangles, void (*change)(MeshModel&) = nullptr) {
        MeshModel m = make_obj_model("teapot", vertices, triangles);
        if (change)
            change(m);
        return m;
    };
    auto gmdc = [](void (*change)(GmdcFile&)) {
        GmdcFile g = make_static_mesh();
        change(g);
        return g;
    };
    const struct {
        GmdcFile gmdc;
        std::vector<MeshModel> models;
        std::string part;
    } cases[] = {
        {gmdc([](GmdcFile& g) { g.objects[0].objectGroupIndex = 5; }),
         {model(3, 1)},
         "Cannot merge model 1 \"teapot\" into object 1 \"teapot\""},
        {make_static_mesh(),
         {model(4, 2), model(4, 2, [](MeshModel& m) { m.faces[1].vertex3 = 9; })},
         "Cannot merge model 2 \"teapot\" into object 1 \"teapot\": its face 2"},
        {make_static_mesh(), {model(4, 2, [](MeshModel& m) { m.normals.resize(2); })}, "model 1 \"teapot\""},
        {make_static_mesh(), {model(4, 2, [](MeshModel& m) { m.uvs.clear(); })}, "texture coordinates"},
        {gmdc([](GmdcFile& g) {
             g.objectGroups[0].dataListIndices = {0, 1};
         }),
         {model(3, 1)},
         "texture-coordinate list"},
        {gmdc([](GmdcFile& g) {
             g.objectGroups[0].dataListIndices = {0, 1, 9, 3};
         }),
         {model(3, 1)},
         "data list index 9"},
        {make_static_mesh(), {model(20000, 1), model(20000, 1)}, "more than 32767"},
        // a shared object whose old faces reach past the new vertices
        {teapot_with_lid(faces({3, 4, 5})), {model(3, 1)}, "object 2 \"lid\""},
    };
    for (const auto& c : cases) {
        State s = state_with(c.gmdc, c.models);
        expect_refused(s, {}, c.part);
    }
    // With "Import UVs" unticked the missing texture-coordinate entry is not needed.
    ImportOptions noUvs;
    noUvs.importUVs = false;
    State s = state_with(cases[4].gmdc, {model(3, 1)});
    RecordingSink sink;
    EXPECT_TRUE(merge_models_into_gmdc(s, noUvs, false, sink));
}

TEST(MergePassRefusals, AppendingToListsOfDifferentLengths)
{
    GmdcFile g = make_static_mesh();
    g.dataLists[1].recordCount = 5;
    g.dataLists[1].floatValues.resize(15);
    State s = state_with(g, {make_obj_model("teapot", 3, 1)});
    const std::string before = bytes_of(s.gmdc);
    std::string error;
    EXPECT_FALSE(merge_object(s, 1, 1, 1, {}, error));
    EXPECT_NE(error.find("differ in length"), std::string::npos) << error;
    EXPECT_TRUE(bytes_of(s.gmdc) == before);
}

TEST(MergeObject, DropsTheSavePaddingSoNewFacesLineUpWithEveryList)
{
    GmdcFile g = make_static_mesh(); // 6 vertices
    applyVertexPadding(g);           // as a GMDC this program saved before
    ASSERT_EQ(g.dataLists[0].recordCount, 9);
    const MeshModel m = make_obj_model("teapot", 3, 1);
    State s = state_with(g, {m});
    std::string error;
    ASSERT_TRUE(merge_object(s, 1, 1, 1, {}, error)) << error;
    EXPECT_EQ(s.gmdc.dataLists[0].recordCount, 9);
    EXPECT_EQ(s.gmdc.dataLists[2].recordCount, 9);
    const std::vector<float> tail(s.gmdc.dataLists[0].floatValues.begin() + 18, s.gmdc.dataLists[0].floatValues.end());
    EXPECT_EQ(tail, flat(m.vertices));
    EXPECT_EQ(s.gmdc.objectGroups[0].vertexCount, 9);
    EXPECT_EQ(s.gmdc.objects[0].faces, faces({0, 1, 2, 1, 2, 3, 6, 7, 8}));

    GmdcFile h = make_static_mesh();
    applyVertexPadding(h);
    h.dataLists[0].floatValues.back() = 1.0f; // not padding: a real vertex the other lists lack
    State t = state_with(h, {m});
    const std::string before = bytes_of(t.gmdc);
    EXPECT_FALSE(merge_object(t, 1, 1, 1, {}, error));
    EXPECT_TRUE(bytes_of(t.gmdc) == before);
}

TEST(MergeModelFaces, AShiftedIndexAbove32767IsRefused)
{
    State s = state_with(make_static_mesh(), {make_obj_model("teapot", 10, 3)});
    std::string error;
    EXPECT_TRUE(merge_model_faces_2_Gmdc(s, 1, 1, 32763, error)) << error; // highest: 5 - 1 + 32763
    EXPECT_EQ(s.gmdc.objects[0].faces.back(), 32767);
    const std::string before = bytes_of(s.gmdc);
    EXPECT_FALSE(merge_model_faces_2_Gmdc(s, 1, 1, 32764, error));
    EXPECT_TRUE(bytes_of(s.gmdc) == before);
}

} // namespace
} // namespace mw
