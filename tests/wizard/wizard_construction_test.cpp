// Building a new GMDC from imported models: the layout for 1 and 5 objects, the two kinds
// of clickable area, and refusals leaving the current GMDC as it was.
#include "support/gmdc_builders.h"
#include "support/model_builders.h"
#include "support/test_support.h"
#include "wizard/default_area.h"
#include "wizard/wizard_construction.h"

#include <gtest/gtest.h>

using namespace mw;

namespace {

// Models "part1", "part2" ... of the given vertex and triangle counts, over a loaded body mesh.
State state_with_models(const std::vector<std::pair<std::int32_t, std::int32_t>>& sizes)
{
    State s;
    s.gmdc = test::make_body_mesh();
    for (std::size_t i = 0; i < sizes.size(); ++i)
        s.models.models.push_back(test::make_obj_model("part" + std::to_string(i + 1), sizes[i].first, sizes[i].second,
                                                       static_cast<float>(i)));
    return s;
}

// A refusal leaves the loaded record alone.
void expect_refused(State s, const WizardOptions& options, const std::string& says)
{
    RecordingSink sink;
    EXPECT_FALSE(build_new_object(s, options, sink)) << says;
    EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(says)) << sink.last();
    EXPECT_TRUE(s.gmdc == test::make_body_mesh());
}

} // namespace

TEST(WizardConstruction, OneAndFiveObjectsNumberTheirListsInThrees)
{
    for (const std::size_t n : {1u, 5u}) {
        SCOPED_TRACE(std::to_string(n) + " objects");
        std::vector<std::pair<std::int32_t, std::int32_t>> sizes;
        for (std::size_t k = 0; k < n; ++k)
            sizes.emplace_back(static_cast<std::int32_t>(4 + k), static_cast<std::int32_t>(2 + k));
        State s = state_with_models(sizes);
        RecordingSink sink;
        ASSERT_TRUE(build_new_object(s, {}, sink)) << sink.last();
        EXPECT_TRUE(sink.empty());
        const GmdcFile& g = s.gmdc;
        const GmdcFile empty = test::make_empty_gmdc();
        EXPECT_TRUE(g.header == empty.header && g.resource == empty.resource);
        EXPECT_TRUE(g.transforms.empty() && g.namePairs.empty() && g.p5Entries.empty());

        // 8 empty base lists, then per object its positions, normals and texture coordinates.
        ASSERT_EQ(g.dataLists.size(), 8 + 3 * n);
        for (std::size_t i = 0; i < g.dataLists.size(); ++i)
            EXPECT_EQ(g.dataLists[i].recordCount, i < 8 ? 0 : sizes[(i - 8) / 3].first) << "data list " << i + 1;
        EXPECT_EQ(g.dataLists[8 + 3 * n - 3].floatValues, test::flat(s.models.models[n - 1].vertices));

        ASSERT_EQ(g.objectGroups.size(), n);
        ASSERT_EQ(g.objects.size(), n);
        for (std::size_t k = 0; k < n; ++k) {
            for (std::size_t i = 0; i < 3; ++i)
                EXPECT_EQ(g.objectGroups[k].dataListIndices.at(i), static_cast<std::int16_t>(8 + 3 * k + i));
            EXPECT_EQ(g.objectGroups[k].activeCount, 3);
            EXPECT_EQ(g.objectGroups[k].vertexCount, sizes[k].first);
            const GmdcObject& o = g.objects[k];
            EXPECT_EQ(o.objectGroupIndex, static_cast<std::int32_t>(k));
            EXPECT_EQ(o.name, "part" + std::to_string(k + 1));
            EXPECT_EQ(o.faces.size(), 3u * static_cast<std::size_t>(sizes[k].second));
        }
        // Faces (1,2,3) and (2,3,4) of the model, counted from 0.
        EXPECT_EQ(std::vector<std::int16_t>(g.objects[0].faces.begin(), g.objects[0].faces.begin() + 6),
                  (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3}));
        EXPECT_EQ(g.boundingVertexCount(), 8); // the box shipped in data/
    }
}

TEST(WizardConstruction, TheClickableAreaComesFromTheShapesOrTheNamedFile)
{
    State s = state_with_models({{4, 2}, {3, 1}});
    RecordingSink sink;
    ASSERT_TRUE(build_new_object(s, {.shapeArea = true, .areaFile = {}}, sink)) << sink.last();
    EXPECT_EQ(s.gmdc.boundingVertices[3 * 4], s.models.models[1].vertices[0].x);
    // Object 1: (1,2,3), (2,3,4) -> 0,1,2, 1,2,3; object 2: (1,2,3) -> 0,1,2 raised by 4.
    EXPECT_EQ(s.gmdc.boundingFaces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3, 4, 5, 6}));

    test::TempDir dir;
    const ClickableArea area{{0, 1, 2, 3, 4, 0, 1, 2, 3}, {0, 2, 1}};
    test::write_file(dir.file("area.dat"), serializeDefaultArea(area));
    test::write_file(dir.file("cut.dat"), serializeDefaultArea(area).substr(0, 20));
    ASSERT_TRUE(build_new_object(s, {.shapeArea = false, .areaFile = dir.file("area.dat")}, sink)) << sink.last();
    EXPECT_TRUE(s.gmdc.boundingVertices == area.vertices && s.gmdc.boundingFaces == area.faces);
    for (const std::string name : {"cut.dat", "missing.dat"})
        expect_refused(state_with_models({{3, 1}}), {.shapeArea = false, .areaFile = dir.file(name)}, name);
}

TEST(WizardConstruction, ModelsThatCannotBecomeAnObjectAreRefused)
{
    expect_refused(state_with_models(std::vector<std::pair<std::int32_t, std::int32_t>>(11, {3, 1})), {},
                   "holds 11 objects");
    State outside = state_with_models({{4, 2}});
    outside.models.models[0].faces[1].vertex3 = 5;
    expect_refused(outside, {}, "Face 2 of Model 1 (\"part1\") names vertex 5");
    State longName = state_with_models({{3, 1}});
    longName.models.models[0].name = std::string(256, 'n');
    expect_refused(longName, {}, "256 characters");
    // Two objects of 20000 vertices: the second one's last vertex would be area index 39999.
    State big = state_with_models({{20000, 0}, {20000, 1}});
    big.models.models[1].faces[0].vertex3 = 20000;
    expect_refused(big, {.shapeArea = true, .areaFile = {}}, "39999");
}
