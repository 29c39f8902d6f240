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

State state_with_models(const std::vector<std::int32_t>& vertexCounts, const std::vector<std::int32_t>& faceCounts)
{
    State s;
    for (std::size_t i = 0; i < vertexCounts.size(); ++i)
        s.models.models.push_back(test::make_obj_model("part" + std::to_string(i + 1), vertexCounts[i], faceCounts[i],
                                                       static_cast<float>(i)));
    return s;
}

} // namespace

TEST(WizardConstruction, OneAndFiveObjectsNumberTheirListsInThrees)
{
    for (const std::size_t n : {1u, 5u}) {
        SCOPED_TRACE(std::to_string(n) + " objects");
        std::vector<std::int32_t> vertices, faces;
        for (std::size_t k = 0; k < n; ++k) {
            vertices.push_back(static_cast<std::int32_t>(4 + k));
            faces.push_back(static_cast<std::int32_t>(2 + k));
        }
        State s = state_with_models(vertices, faces);
        RecordingSink sink;
        ASSERT_TRUE(build_new_object(s, {}, sink)) << sink.last();
        EXPECT_TRUE(sink.empty());
        const GmdcFile& g = s.gmdc;
        GmdcFile header = test::make_empty_gmdc();
        EXPECT_TRUE(g.header == header.header && g.resource == header.resource);

        // 8 empty base lists, then per object its positions, normals and texture coordinates.
        ASSERT_EQ(g.dataLists.size(), 8 + 3 * n);
        for (std::size_t i = 0; i < g.dataLists.size(); ++i)
            EXPECT_EQ(g.dataLists[i].recordCount, i < 8 ? 0 : vertices[(i - 8) / 3]) << "data list " << i + 1;
        const MeshModel& m = s.models.models[n - 1];
        EXPECT_EQ(g.dataLists[8 + 3 * n - 3].floatValues, test::flat(m.vertices));

        ASSERT_EQ(g.objectGroups.size(), n);
        ASSERT_EQ(g.objects.size(), n);
        for (std::size_t k = 0; k < n; ++k) {
            const ObjectGroup& group = g.objectGroups[k];
            for (std::size_t i = 0; i < 3; ++i)
                EXPECT_EQ(group.dataListIndices.at(i), static_cast<std::int16_t>(8 + 3 * k + i));
            EXPECT_EQ(group.activeCount, 3);
            EXPECT_EQ(group.vertexCount, vertices[k]);
            const GmdcObject& o = g.objects[k];
            EXPECT_EQ(o.objectGroupIndex, static_cast<std::int32_t>(k));
            EXPECT_EQ(o.name, "part" + std::to_string(k + 1));
            EXPECT_EQ(o.faces.size(), 3u * static_cast<std::size_t>(faces[k]));
        }
        // Faces (1,2,3) and (2,3,4) of the model, counted from 0.
        EXPECT_EQ(std::vector<std::int16_t>(g.objects[0].faces.begin(), g.objects[0].faces.begin() + 6),
                  (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3}));
        EXPECT_EQ(g.boundingVertexCount(), 8); // the box shipped in data/
    }
}

TEST(WizardConstruction, ShapeAreaRaisesEachObjectsFacesByTheVerticesBeforeIt)
{
    State s = state_with_models({4, 3}, {2, 1});
    s.gmdc = test::make_body_mesh(); // a second run starts afresh from its own models
    RecordingSink sink;
    WizardOptions options;
    options.shapeArea = true;
    ASSERT_TRUE(build_new_object(s, options, sink)) << sink.last();
    const GmdcFile& g = s.gmdc;
    EXPECT_TRUE(g.transforms.empty() && g.namePairs.empty() && g.p5Entries.empty());
    EXPECT_EQ(g.boundingVertices[3 * 4], s.models.models[1].vertices[0].x);
    // Object 1: (1,2,3), (2,3,4) -> 0,1,2, 1,2,3; object 2: (1,2,3) -> 0,1,2 raised by 4.
    EXPECT_EQ(g.boundingFaces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3, 4, 5, 6}));
}

TEST(WizardConstruction, TheDefaultAreaComesFromTheNamedFileAndBadOnesAreRefused)
{
    test::TempDir dir;
    ClickableArea area;
    area.vertices = {0, 1, 2, 3, 4, 0, 1, 2, 3};
    area.faces = {0, 2, 1};
    test::write_file(dir.file("area.dat"), serializeDefaultArea(area));
    test::write_file(dir.file("cut.dat"), serializeDefaultArea(area).substr(0, 20));
    for (const std::string name : {"area.dat", "cut.dat", "missing.dat"}) {
        State s = state_with_models({3}, {1});
        s.gmdc = test::make_body_mesh();
        RecordingSink sink;
        WizardOptions options;
        options.areaFile = dir.file(name);
        EXPECT_EQ(build_new_object(s, options, sink), name == "area.dat") << sink.last();
        if (name == "area.dat") {
            EXPECT_TRUE(s.gmdc.boundingVertices == area.vertices && s.gmdc.boundingFaces == area.faces);
            continue;
        }
        EXPECT_TRUE(sink.contains(name)) << sink.last();
        EXPECT_TRUE(s.gmdc == test::make_body_mesh()); // a refusal leaves the loaded record alone
    }
}

TEST(WizardConstruction, ModelsThatCannotBecomeAnObjectAreRefused)
{
    auto refused = [](State s, const WizardOptions& options, const char* says) {
        s.gmdc = test::make_body_mesh();
        RecordingSink sink;
        EXPECT_FALSE(build_new_object(s, options, sink)) << says;
        EXPECT_TRUE(sink.contains(says)) << sink.last();
        EXPECT_TRUE(sink.has(MessageKind::Error));
        EXPECT_TRUE(s.gmdc == test::make_body_mesh()); // a refusal leaves the loaded record alone
    };
    refused(state_with_models(std::vector<std::int32_t>(11, 3), std::vector<std::int32_t>(11, 1)), {},
            "holds 11 objects");

    State outside = state_with_models({4}, {2});
    outside.models.models[0].faces[1].vertex3 = 5;
    refused(outside, {}, "Face 2 of Model 1 (\"part1\") names vertex 5");

    State longName = state_with_models({3}, {1});
    longName.models.models[0].name = std::string(256, 'n');
    refused(longName, {}, "256 characters");

    // Two objects of 20000 vertices: the second one's last vertex would be area index 39999.
    State big = state_with_models({20000, 20000}, {0, 1});
    big.models.models[1].faces[0].vertex3 = 20000;
    WizardOptions shape;
    shape.shapeArea = true;
    refused(big, shape, "39999");
}
