// Building a new GMDC from imported models: the layout for 1, 3 and 5 objects, the two
// kinds of clickable area, and every refusal leaving the current GMDC as it was.
#include "core/byte_io.h"
#include "support/gmdc_builders.h"
#include "support/model_builders.h"
#include "support/test_support.h"
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

TEST(WizardConstruction, OneThreeAndFiveObjectsNumberTheirListsInThrees)
{
    for (const std::size_t n : {1u, 3u, 5u}) {
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
        const struct {
            std::uint32_t identity;
            int repetition, blockFormat, setFormat;
        } base[8] = {{0x5B830781, 0, 2, 3}, {0x3B83078B, 0, 2, 1}, {0xBB8307AB, 0, 1, 2}, {0xBB8307AB, 1, 1, 2},
                     {0xBB8307AB, 2, 1, 2}, {0xBB8307AB, 3, 1, 2}, {0xDB830795, 0, 4, 2}, {0xDB830795, 1, 4, 2}};
        ASSERT_EQ(g.dataLists.size(), 8 + 3 * n);
        for (std::size_t i = 0; i < g.dataLists.size(); ++i) {
            const DataList& d = g.dataLists[i];
            const std::size_t k = (i - 8) / 3; // the object of a list after the base ones
            const auto& b = base[i < 8 ? i : (i - 8) % 3];
            EXPECT_TRUE(d.identity == b.identity && d.repetition == b.repetition && d.blockFormat == b.blockFormat &&
                        d.setFormat == b.setFormat && d.items.empty())
                << "data list " << i + 1;
            EXPECT_EQ(d.recordCount, i < 8 ? 0 : vertices[k]) << "data list " << i + 1;
            EXPECT_EQ(d.dataLength(), i < 8 ? 0 : vertices[k] * (i % 3 == 1 ? 8 : 12)) << "data list " << i + 1;
        }
        const MeshModel& m = s.models.models[n - 1];
        EXPECT_EQ(g.dataLists[8 + 3 * n - 3].floatValues, test::flat(m.vertices));
        EXPECT_EQ(g.dataLists[8 + 3 * n - 2].floatValues, test::flat(m.normals));
        EXPECT_EQ(g.dataLists[8 + 3 * n - 1].floatValues, test::flat(m.uvs)); // copied unchanged

        ASSERT_EQ(g.objectGroups.size(), n);
        ASSERT_EQ(g.objects.size(), n);
        for (std::size_t k = 0; k < n; ++k) {
            const ObjectGroup& group = g.objectGroups[k];
            for (std::size_t i = 0; i < 3; ++i)
                EXPECT_EQ(group.dataListIndices.at(i), static_cast<std::int16_t>(8 + 3 * k + i));
            EXPECT_TRUE(group.dataListIndices.size() == 3 && group.activeCount == 3 && group.list1.empty() &&
                        group.list2.empty() && group.list3.empty());
            EXPECT_EQ(group.vertexCount, vertices[k]);
            const GmdcObject& o = g.objects[k];
            EXPECT_TRUE(o.primitiveType == 2 && o.opacity == -1 && o.blockB.empty());
            EXPECT_EQ(o.objectGroupIndex, static_cast<std::int32_t>(k));
            EXPECT_EQ(o.name, "part" + std::to_string(k + 1));
            EXPECT_EQ(o.faces.size(), 3u * static_cast<std::size_t>(faces[k]));
        }
        // Faces (1,2,3) and (2,3,4) of the model, counted from 0.
        EXPECT_EQ(std::vector<std::int16_t>(g.objects[0].faces.begin(), g.objects[0].faces.begin() + 6),
                  (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3}));
        EXPECT_EQ(g.boundingVertexCount(), 8); // the box shipped in data/
        EXPECT_EQ(g.boundingFaces.size(), 36u);
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
    ASSERT_EQ(g.boundingVertexCount(), 7);
    EXPECT_EQ(g.boundingVertices[3 * 4], s.models.models[1].vertices[0].x);
    // Object 1: (1,2,3), (2,3,4) -> 0,1,2, 1,2,3; object 2: (1,2,3) -> 0,1,2 raised by 4.
    EXPECT_EQ(g.boundingFaces, (std::vector<std::int16_t>{0, 1, 2, 1, 2, 3, 4, 5, 6}));
}

TEST(WizardConstruction, TheDefaultAreaComesFromTheNamedFileAndBadOnesAreRefused)
{
    test::TempDir dir;
    auto with_counts = [](std::int32_t n, std::int32_t m, std::size_t floats, std::vector<std::int16_t> faces) {
        ByteWriter w;
        w.i32(n);
        w.i32(m);
        for (std::size_t i = 0; i < floats; ++i)
            w.f32(static_cast<float>(i % 5));
        for (std::int16_t f : faces)
            w.i16(f);
        return w.take();
    };
    const struct {
        const char* name;
        std::string bytes;
        const char* says; // nullptr: read
    } cases[] = {
        {"area.dat", with_counts(3, 3, 9, {0, 2, 1}), nullptr},
        {"short.dat", std::string("\x08\x00\x00", 3), "too short"},
        {"truncated.dat", with_counts(3, 3, 9, {0, 1}), "truncated"},
        {"negative.dat", with_counts(-1, 0, 0, {}), "negative"},
        {"negative_faces.dat", with_counts(3, -3, 9, {}), "negative"},
        {"bad_index.dat", with_counts(3, 3, 9, {0, 1, 3}), "face index 3"},
        {"negative_index.dat", with_counts(3, 3, 9, {0, -1, 2}), "face index -1"},
        {"missing.dat", "", "missing.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes.size() > 0)
            test::write_file(dir.file(c.name), c.bytes);
        State s = state_with_models({3}, {1});
        s.gmdc = test::make_body_mesh();
        RecordingSink sink;
        WizardOptions options;
        options.areaFile = dir.file(c.name);
        EXPECT_EQ(build_new_object(s, options, sink), c.says == nullptr) << sink.last();
        if (c.says == nullptr) {
            EXPECT_EQ(s.gmdc.boundingVertices, (std::vector<float>{0, 1, 2, 3, 4, 0, 1, 2, 3}));
            EXPECT_EQ(s.gmdc.boundingFaces, (std::vector<std::int16_t>{0, 2, 1}));
            continue;
        }
        EXPECT_TRUE(sink.contains(c.says) && sink.contains(c.name)) << sink.last();
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
    refused(State{}, {}, "holds 0 objects");
    refused(state_with_models(std::vector<std::int32_t>(11, 3), std::vector<std::int32_t>(11, 1)), {},
            "holds 11 objects");

    State noNormals = state_with_models({4, 4}, {2, 2});
    noNormals.models.models[1].normals.clear();
    refused(noNormals, {}, "0 normals");
    State fewUvs = state_with_models({4}, {2});
    fewUvs.models.models[0].uvs.pop_back();
    refused(fewUvs, {}, "3 texture coordinates");

    State outside = state_with_models({4}, {2});
    outside.models.models[0].faces[1].vertex3 = 5;
    refused(outside, {}, "Face 2 of Model 1 (\"part1\") names vertex 5");
    State zero = state_with_models({4}, {2});
    zero.models.models[0].faces[0].vertex1 = 0;
    refused(zero, {}, "names vertex 0");

    State longName = state_with_models({3}, {1});
    longName.models.models[0].name = std::string(256, 'n');
    refused(longName, {}, "256 characters");
    longName.models.models[0].name.pop_back();
    RecordingSink sink;
    ASSERT_TRUE(build_new_object(longName, {}, sink)) << sink.last();
    EXPECT_EQ(longName.gmdc.objects[0].name.size(), 255u);

    // Two objects of 20000 vertices: the second one's last vertex would be area index 39999.
    State big = state_with_models({20000, 20000}, {0, 1});
    big.models.models[1].faces[0].vertex3 = 20000;
    WizardOptions shape;
    shape.shapeArea = true;
    refused(big, shape, "39999");
    // The same models with the default box are fine: each object alone fits.
    State bigBox = state_with_models({20000, 20000}, {0, 1});
    bigBox.models.models[1].faces[0].vertex3 = 20000;
    EXPECT_TRUE(build_new_object(bigBox, {}, sink)) << sink.last();
    EXPECT_EQ(bigBox.gmdc.objects[1].faces[2], 19999);
}
