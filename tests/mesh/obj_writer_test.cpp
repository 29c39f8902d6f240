// The OBJ writer: its exact text, the round trip through the OBJ reader, and refusals.
#include "mesh/obj_reader.h"
#include "mesh/obj_writer.h"
#include "mesh/smd_reader.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace mw;

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

} // namespace

TEST(ObjWriter, WritesPositionsNormalsTextureCoordinatesAndFaces)
{
    test::TempDir dir;
    RecordingSink sink;
    ASSERT_TRUE(write_obj(state_with(triangle_model()), dir.file("out.obj"), 1, sink)) << sink.last();
    EXPECT_TRUE(sink.empty());
    EXPECT_EQ(test::read_file(dir.file("out.obj")), "v  1  0 -.5 \r\n"
                                                    "v  0  2  0 \r\n"
                                                    "v  0  0  1.25 \r\n"
                                                    "vn  0  0  1 \r\n"
                                                    "vn -.25  3  .1 \r\n"
                                                    "vn  1  0  0 \r\n"
                                                    "vt  .25 -.75 \r\n"
                                                    "vt  1  0 \r\n"
                                                    "vt  0  1E-05 \r\n"
                                                    "f 1/1/1 2/2/2 3/3/3\r\n");
}

TEST(ObjWriter, EmptyModelsAndLargeNumbers)
{
    EXPECT_EQ(format_obj(MeshModel()), "");
    MeshModel m;
    m.vertices.resize(12);
    m.normals.resize(12);
    m.uvs.resize(12);
    m.faces = {{10, 11, 12}};
    const std::string text = format_obj(m);
    EXPECT_EQ(text.substr(text.rfind("f ")), "f 10/10/10 11/11/11 12/12/12\r\n");
}

TEST(ObjWriter, ReadBackKeepsPositionsAndNormalsAndFlipsVTwice)
{
    test::TempDir dir;
    test::write_file(dir.file("in.obj"), "v 1 0 -0.5\nv 0 2 0\nv 0 0 1.25\nv 0.1 -7 3e7\n"
                                         "vt 0.25 0.75\nvt 1 0\nvn 0 0 1\nvn 0.6 0.8 0\n"
                                         "g a\nf 1/1/1 2/2/2 3/1/2\nf 3/1/2 2/2/2 4/2/1\n");
    State first;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(first, dir.file("in.obj"), sink));
    ASSERT_TRUE(write_obj(first, dir.file("out.obj"), 1, sink));
    State second;
    ASSERT_TRUE(read_obj(second, dir.file("out.obj"), sink)) << sink.last();
    const MeshModel& a = first.models.models.at(0);
    const MeshModel& b = second.models.models.at(0);
    ASSERT_EQ(b.vertexCount(), a.vertexCount());
    ASSERT_EQ(b.faceCount(), a.faceCount());
    for (int i = 0; i < a.vertexCount(); ++i) {
        EXPECT_EQ(b.vertices[i].x, a.vertices[i].x);
        EXPECT_EQ(b.vertices[i].y, a.vertices[i].y);
        EXPECT_EQ(b.vertices[i].z, a.vertices[i].z);
        EXPECT_EQ(b.normals[i].x, a.normals[i].x);
        EXPECT_EQ(b.normals[i].y, a.normals[i].y);
        EXPECT_EQ(b.uvs[i].u, a.uvs[i].u);
        // Stored negated on reading, written as stored, negated again on reading back.
        EXPECT_EQ(b.uvs[i].v, -a.uvs[i].v);
    }
    EXPECT_EQ(a.uvs[0].v, -0.75f);
    EXPECT_EQ(b.uvs[0].v, 0.75f);
    for (int f = 0; f < a.faceCount(); ++f) {
        EXPECT_EQ(b.faces[f].vertex1, a.faces[f].vertex1);
        EXPECT_EQ(b.faces[f].vertex3, a.faces[f].vertex3);
    }
}

TEST(ObjWriter, SmdTextureCoordinatesAreWrittenAsOneMinusV)
{
    test::TempDir dir;
    test::write_file(dir.file("in.smd"), "version 1\ntriangles\nm\n3 0 0 0 0 0 1 0.5 0.25\n"
                                         "3 1 0 0 0 0 1 0.5 0.25\n3 0 1 0 0 0 1 0.5 0.25\nend\n");
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_smd(state, dir.file("in.smd"), sink));
    ASSERT_TRUE(write_obj(state, dir.file("out.obj"), 1, sink));
    const std::string text = test::read_file(dir.file("out.obj"));
    EXPECT_NE(text.find("vt  .5  .75 \r\n"), std::string::npos);
    EXPECT_NE(text.find("f 1/1/1 2/2/2 3/3/3\r\n"), std::string::npos);
}

TEST(ObjWriter, RefusesWhatCannotBeWritten)
{
    test::TempDir dir;
    const std::string out = dir.file("out.obj");
    test::write_file(out, "old");
    RecordingSink sink;
    EXPECT_FALSE(write_obj(State(), out, 1, sink));
    EXPECT_TRUE(sink.contains("no model"));
    const State one = state_with(triangle_model());
    EXPECT_FALSE(write_obj(one, out, 0, sink));
    EXPECT_FALSE(write_obj(one, out, 2, sink));

    MeshModel bad = triangle_model();
    bad.faces.push_back({1, 4, 2});
    EXPECT_FALSE(write_obj(state_with(bad), out, 1, sink));
    EXPECT_TRUE(sink.contains("face 2 names vertex 4"));
    MeshModel shortNormals = triangle_model();
    shortNormals.normals.pop_back();
    EXPECT_FALSE(write_obj(state_with(shortNormals), out, 1, sink));
    EXPECT_EQ(test::read_file(out), "old");

    sink.clear();
    const std::string missing = dir.file("no/such/folder/out.obj");
    EXPECT_FALSE(write_obj(one, missing, 1, sink));
    EXPECT_TRUE(sink.contains(missing));
}

TEST(ObjWriter, SevenDigitsReadBackWithinHalfAUnitOfTheLastDigit)
{
    // The number format keeps 7 significant digits, so a float comes back within a
    // relative 5e-7 of itself (plus the float rounding on reading), not always bit for bit.
    MeshModel m;
    float x = 0.0001234567f;
    for (int i = 0; i < 201; ++i, x *= -1.37f) {
        m.vertices.push_back({x, 1 / x, x * 3.3f});
        m.normals.push_back({x, x, x});
        m.uvs.push_back({x, x});
    }
    for (int f = 0; f < 67; ++f)
        m.faces.push_back({3 * f + 1, 3 * f + 2, 3 * f + 3});
    test::TempDir dir;
    RecordingSink sink;
    ASSERT_TRUE(write_obj(state_with(m), dir.file("out.obj"), 1, sink));
    State back;
    ASSERT_TRUE(read_obj(back, dir.file("out.obj"), sink)) << sink.last();
    const MeshModel& b = back.models.models.at(0);
    ASSERT_EQ(b.vertexCount(), 201);
    for (int i = 0; i < 201; ++i) {
        EXPECT_NEAR(b.vertices[i].x, m.vertices[i].x, std::fabs(m.vertices[i].x) * 6e-7);
        EXPECT_NEAR(b.vertices[i].y, m.vertices[i].y, std::fabs(m.vertices[i].y) * 6e-7);
    }
}
