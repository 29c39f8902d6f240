// The OBJ writer: its exact text, the round trip through the OBJ reader, and refusals.
#include "mesh/mesh_text.h"
#include "mesh/obj_writer.h"
#include "support/model_builders.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace mw::test {
namespace {

MeshModel triangle_model()
{
    MeshModel m;
    m.vertices = {{1, 0, -0.5f}, {0, 2, 0}, {0, 0, 1.25f}};
    m.normals = {{0, 0, 1}, {-0.25f, 3, 0.1f}, {1, 0, 0}};
    m.uvs = {{0.25f, -0.75f}, {1, 0}, {0, 1e-5f}};
    m.faces = {{1, 2, 3}};
    return m;
}

State state_with(MeshModel model)
{
    State state;
    state.models.models.push_back(std::move(model));
    return state;
}

TEST(ObjWriter, WritesPositionsNormalsTextureCoordinatesAndFaces)
{
    EXPECT_EQ(format_obj(triangle_model()), "v  1  0 -.5 \r\nv  0  2  0 \r\nv  0  0  1.25 \r\n"
                                            "vn  0  0  1 \r\nvn -.25  3  .1 \r\nvn  1  0  0 \r\n"
                                            "vt  .25 -.75 \r\nvt  1  0 \r\nvt  0  1E-05 \r\n"
                                            "f 1/1/1 2/2/2 3/3/3\r\n");
    // An SMD model's v is stored as 1 - v and written as stored.
    const TextRead smd = read_smd_text("triangles\nm\n3 0 0 0 0 0 1 0.5 0.25\n3 1 0 0 0 0 1 0.5 0.25\n"
                                       "3 0 1 0 0 0 1 0.5 0.25\nend\n");
    EXPECT_NE(format_obj(smd.model()).find("vt  .5  .75 \r\n"), std::string::npos);
}

TEST(ObjWriter, ReadBackKeepsSevenDigitsAndFlipsVTwice)
{
    // The number format keeps 7 significant digits: a float comes back within a relative
    // 6e-7 of itself. v is stored negated on reading, written as stored, negated again.
    MeshModel m;
    float x = 0.0001234567f;
    for (int i = 0; i < 201; ++i, x *= -1.37f) {
        m.vertices.push_back({x, 1 / x, x * 3.3f});
        m.normals.push_back({x, x, -x});
        m.uvs.push_back({x, -x});
        if (i % 3 == 2)
            m.faces.push_back({i - 1, i, i + 1});
    }
    TempDir dir;
    RecordingSink sink;
    ASSERT_TRUE(write_obj(state_with(m), dir.file("out.obj"), 1, sink) && sink.empty());
    const MeshModel b = read_obj_text(read_file(dir.file("out.obj"))).model();
    ASSERT_EQ(b.vertexCount(), 201);
    const std::vector<float> got[] = {flat(b.vertices), flat(b.normals), flat(b.uvs)};
    const std::vector<float> want[] = {flat(m.vertices), flat(m.normals), flat(m.uvs)};
    for (int k = 0; k < 3; ++k)
        for (std::size_t i = 0; i < want[k].size(); ++i)
            EXPECT_NEAR(got[k][i], k == 2 && i % 2 ? -want[k][i] : want[k][i], std::fabs(want[k][i]) * 6e-7)
                << k << " " << i;
    EXPECT_EQ(b.faces.back().vertex3, 201);
}

TEST(ObjWriter, RefusesWhatCannotBeWritten)
{
    TempDir dir;
    const std::string out = dir.file("out.obj");
    write_file(out, "old");
    MeshModel bad = triangle_model(), shortNormals = triangle_model();
    bad.faces.push_back({1, 4, 2});
    shortNormals.normals.pop_back();
    const struct {
        State state;
        int model;
        const char* says;
    } cases[] = {{State(), 1, "no model"},
                 {state_with(triangle_model()), 0, ""},
                 {state_with(triangle_model()), 2, ""},
                 {state_with(bad), 1, "face 2 names vertex 4"},
                 {state_with(shortNormals), 1, ""}};
    for (const auto& c : cases) {
        RecordingSink sink;
        EXPECT_FALSE(write_obj(c.state, out, c.model, sink)) << c.says;
        EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(c.says)) << sink.last();
    }
    EXPECT_EQ(read_file(out), "old");
}

} // namespace
} // namespace mw::test
