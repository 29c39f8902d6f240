// meshwright-cli new-object, to-obj and export-smd, run as a separate process, and the
// cross-checks between our own parts: a new GMDC reads back as built, to-obj followed by
// a merge gives the same triangles, and export-smd read back by the SMD reader gives the
// same corners and bones.
#include "core/state.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/bone_slot.h"
#include "merge/merge_pass.h"
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"
#include "wizard/wizard_construction.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace mw::test {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quote(const std::string& s)
{
    return "'" + s + "'";
}

// Runs meshwright-cli with `args` (already quoted for the shell).
CliRun cli(const std::string& args)
{
    TempDir dir;
    const std::string command = quote(MESHWRIGHT_CLI_PATH) + " " + args + " 2>" + quote(dir.file("stderr"));
    CliRun run;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = read_file(dir.file("stderr"));
    return run;
}

const std::string kExampleObj = std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/example.obj";

GmdcFile load(const std::string& path)
{
    GmdcFile g;
    NullSink quiet;
    EXPECT_TRUE(readGmdc(g, path, quiet)) << path;
    return g;
}

struct Corner {
    float p[3], n[3], t[2];
};

// Position, normal and texture coordinate of face entry `i` of object `o`, through its
// object group's first three lists.
Corner corner(const GmdcFile& g, std::size_t o, std::size_t i)
{
    const GmdcObject& object = g.objects[o];
    const int group = object.objectGroupIndex + 1;
    const auto v = static_cast<std::size_t>(object.faces[i]);
    Corner c{};
    for (int a = 0; a < 3; ++a) {
        c.p[a] = data_list_at(g, group, 1)->floatValues.at(3 * v + a);
        c.n[a] = data_list_at(g, group, 2)->floatValues.at(3 * v + a);
    }
    for (int a = 0; a < 2; ++a)
        c.t[a] = data_list_at(g, group, 3)->floatValues.at(2 * v + a);
    return c;
}

bool same(const Corner& a, const Corner& b)
{
    for (int k = 0; k < 3; ++k)
        if (a.p[k] != b.p[k] || a.n[k] != b.n[k])
            return false;
    return a.t[0] == b.t[0] && a.t[1] == b.t[1];
}

} // namespace

TEST(CliNewObject, BuildsAGmdcThatReadsBackAsBuilt)
{
    TempDir dir;
    const std::string out = dir.file("stool.5gd");
    const CliRun r = cli("new-object " + quote(kExampleObj) + " -o " + quote(out));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Save Complete"), std::string::npos);

    State built;
    NullSink quiet;
    ASSERT_TRUE(read_obj(built, kExampleObj, quiet));
    ASSERT_TRUE(build_new_object(built, {}, quiet));
    applyVertexPadding(built.gmdc); // every save pads object group 1's positions
    EXPECT_TRUE(load(out) == built.gmdc);
}

TEST(CliNewObject, ShapeAreaAndShapeResource)
{
    TempDir dir;
    const std::string out = dir.file("stool.5gd");
    const std::string shape = dir.file("test_shpe.simpe");
    CliRun r = cli("new-object " + quote(kExampleObj) + " -o " + quote(out) + " --shape-area --shape " + quote(shape) +
                   " --names chair,foot");
    ASSERT_EQ(r.status, 0) << r.err;
    const GmdcFile g = load(out);
    EXPECT_EQ(g.boundingVertexCount(), 24 + 12); // the seat's and the leg's corners
    const std::string bytes = read_file(shape);
    EXPECT_EQ(bytes.size(), 162u + 21 + 5 + 21 + 4);
    EXPECT_EQ(bytes.substr(162, 6), "\x05"
                                    "chair");

    // Without --names the parts take the objects' names.
    r = cli("new-object " + quote(kExampleObj) + " -o " + quote(out) + " --shape " + quote(shape));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(shape).substr(162, 5), "\x04seat");
}

TEST(CliNewObject, RefusalsAndUsageErrors)
{
    TempDir dir;
    const std::string out = dir.file("x.5gd");
    EXPECT_EQ(cli("new-object " + quote(kExampleObj)).status, 2);
    EXPECT_EQ(cli("new-object -o " + quote(out)).status, 2);
    EXPECT_EQ(cli("new-object " + quote(kExampleObj) + " -o " + quote(out) + " --names a,b").status, 2);
    EXPECT_EQ(cli("new-object " + quote(kExampleObj) + " -o " + quote(out) + " --bogus").status, 2);
    const CliRun names = cli("new-object " + quote(kExampleObj) + " -o " + quote(out) + " --shape " +
                             quote(dir.file("s.simpe")) + " --names one");
    EXPECT_EQ(names.status, 2);
    EXPECT_NE(names.err.find("--names gives 1 names, but the OBJ file holds 2 objects"), std::string::npos);

    const std::string longName(256, 'n');
    const CliRun tooLong = cli("new-object " + quote(kExampleObj) + " -o " + quote(out) + " --shape " +
                               quote(dir.file("s.simpe")) + " --names a," + longName);
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.err.find("256 characters"), std::string::npos) << tooLong.err;
    EXPECT_FALSE(file_exists(out));
    EXPECT_FALSE(file_exists(dir.file("s.simpe")));

    write_file(dir.file("flat.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng a\nf 1/1 2/1 3/1\n");
    const CliRun flat = cli("new-object " + quote(dir.file("flat.obj")) + " -o " + quote(out));
    EXPECT_EQ(flat.status, 1);
    EXPECT_NE(flat.err.find("normals"), std::string::npos) << flat.err;
    EXPECT_FALSE(file_exists(out));
}

TEST(CliToObj, ThenMergeGivesTheSameTriangles)
{
    TempDir dir;
    const std::string gmdcPath = dir.file("stool.5gd");
    const std::string objPath = dir.file("stool.obj");
    ASSERT_EQ(cli("new-object " + quote(kExampleObj) + " -o " + quote(gmdcPath)).status, 0);
    const CliRun r = cli("to-obj " + quote(gmdcPath) + " -o " + quote(objPath));
    ASSERT_EQ(r.status, 0) << r.err;

    const GmdcFile original = load(gmdcPath);
    State state;
    state.gmdc = original;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(state, objPath, sink)) << sink.last();
    ASSERT_EQ(state.models.modelCount(), 2);
    EXPECT_EQ(state.models.models[0].name, "seat");
    ASSERT_TRUE(merge_models_into_gmdc(state, ImportOptions{}, false, sink)) << sink.last();
    for (std::size_t o = 0; o < original.objects.size(); ++o) {
        ASSERT_EQ(state.gmdc.objects[o].faces.size(), original.objects[o].faces.size());
        for (std::size_t i = 0; i < original.objects[o].faces.size(); ++i)
            EXPECT_TRUE(same(corner(state.gmdc, o, i), corner(original, o, i))) << "object " << o << " entry " << i;
    }
}

TEST(CliExample, TheEditedStoolMergesIntoTheNewOne)
{
    TempDir dir;
    const std::string stool = dir.file("stool.5gd");
    const std::string edited = dir.file("stool_edited.5gd");
    ASSERT_EQ(cli("new-object " + quote(kExampleObj) + " -o " + quote(stool)).status, 0);
    const std::string editedObj = std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/example_edited.obj";
    const CliRun r = cli("merge " + quote(editedObj) + " " + quote(stool) + " -o " + quote(edited));
    ASSERT_EQ(r.status, 0) << r.err;
    const GmdcFile before = load(stool);
    const GmdcFile after = load(edited);
    // The seat moved up from 0.45..0.5 to 0.6..0.68 and the leg's top with it; the
    // triangles and everything else stay.
    for (std::size_t i = 0; i < before.objects[0].faces.size(); ++i) {
        const Corner a = corner(before, 0, i);
        const Corner b = corner(after, 0, i);
        EXPECT_FLOAT_EQ(b.p[1], a.p[1] == 0.5f ? 0.68f : 0.6f);
        EXPECT_EQ(a.p[0], b.p[0]);
        EXPECT_EQ(a.n[1], b.n[1]);
    }
    EXPECT_EQ(after.objects[1].faces, before.objects[1].faces);
    EXPECT_EQ(after.boundingVertices, before.boundingVertices);
}

TEST(CliToObj, ARealGmdcComesBackThroughMerge)
{
    const std::string fixtures = fixtures_dir();
    if (fixtures.empty())
        GTEST_SKIP() << "no shared fixtures";
    TempDir dir;
    const std::string teapot = fixtures + "/gmdc/teapot.5gd";
    const CliRun r = cli("to-obj " + quote(teapot) + " -o " + quote(dir.file("teapot.obj")));
    ASSERT_EQ(r.status, 0) << r.err;
    const GmdcFile original = load(teapot);
    State state;
    state.gmdc = original;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(state, dir.file("teapot.obj"), sink)) << sink.last();
    ASSERT_TRUE(merge_models_into_gmdc(state, ImportOptions{}, false, sink)) << sink.last();
    const std::vector<std::int16_t>& faces = original.objects.at(0).faces;
    ASSERT_EQ(state.gmdc.objects[0].faces.size(), faces.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < faces.size(); ++i)
        differing += same(corner(state.gmdc, 0, i), corner(original, 0, i)) ? 0 : 1;
    EXPECT_EQ(differing, 0u);
    // A static mesh has no bone list to export.
    const CliRun smd = cli("export-smd " + quote(teapot) + " --index 1 -o " + quote(dir.file("t.smd")));
    EXPECT_EQ(smd.status, 1);
    EXPECT_NE(smd.err.find("doesn`t have any subgroups"), std::string::npos);
}

TEST(CliNewObject, RealObjFilesWithinAndBeyondTenGroups)
{
    const std::string fixtures = fixtures_dir();
    if (fixtures.empty())
        GTEST_SKIP() << "no shared fixtures";
    TempDir dir;
    const CliRun two = cli("new-object " + quote(fixtures + "/obj/issue-138.obj") + " -o " + quote(dir.file("a.5gd")));
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(load(dir.file("a.5gd")).dataLists.size(), 14u);
    const CliRun spider = cli("new-object " + quote(fixtures + "/obj/spider.obj") + " -o " + quote(dir.file("s.5gd")));
    EXPECT_EQ(spider.status, 1);
    EXPECT_NE(spider.err.find("holds 19 objects"), std::string::npos) << spider.err;
    EXPECT_FALSE(file_exists(dir.file("s.5gd")));
}

TEST(CliToObj, ScaleAndUsage)
{
    TempDir dir;
    const std::string gmdcPath = dir.file("stool.5gd");
    ASSERT_EQ(cli("new-object " + quote(kExampleObj) + " -o " + quote(gmdcPath)).status, 0);
    ASSERT_EQ(cli("to-obj " + quote(gmdcPath) + " -o " + quote(dir.file("half.obj")) + " --scale 50").status, 0);
    const std::string half = read_file(dir.file("half.obj"));
    EXPECT_NE(half.find("v -0.2 0.25 -0.2\r\n"), std::string::npos); // the seat's top corner (-0.4, 0.5, -0.4)
    EXPECT_EQ(cli("to-obj " + quote(gmdcPath) + " -o " + quote(dir.file("y.obj")) + " --scale 0").status, 2);
    EXPECT_EQ(cli("to-obj " + quote(gmdcPath)).status, 2);
    EXPECT_EQ(cli("to-obj " + quote(dir.file("missing.5gd")) + " -o " + quote(dir.file("y.obj"))).status, 1);
    EXPECT_FALSE(file_exists(dir.file("y.obj")));
}

TEST(CliExportSmd, ReadBackGivesTheSameCornersAndBones)
{
    TempDir dir;
    const std::string gmdcPath = dir.file("body.5gd");
    const std::string smdPath = dir.file("body.smd");
    GmdcFile body = make_body_mesh(12, 6);
    NullSink quiet;
    ASSERT_TRUE(writeGmdc(body, gmdcPath, quiet));
    const CliRun r = cli("export-smd " + quote(gmdcPath) + " --object body -o " + quote(smdPath));
    ASSERT_EQ(r.status, 0) << r.err;

    const GmdcFile g = load(gmdcPath);
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_smd(state, smdPath, sink)) << sink.last();
    const MeshModel& m = state.models.models.at(0);
    const GmdcObject& object = g.objects[0];
    ASSERT_EQ(m.faceCount() * 3, static_cast<std::int32_t>(object.faces.size()));
    ASSERT_EQ(m.boneMode, 2);
    const DataList& bones = *data_list_at(g, 1, 7);
    for (std::size_t i = 0; i < object.faces.size(); ++i) {
        // Corner i of the file is vertex i + 1 of the model.
        const Corner c = corner(g, 0, i);
        EXPECT_EQ(m.vertices[i].x, c.p[0]);
        EXPECT_EQ(m.vertices[i].y, c.p[1]);
        EXPECT_EQ(m.vertices[i].z, c.p[2]);
        EXPECT_EQ(m.normals[i].x, c.n[0]);
        EXPECT_EQ(m.normals[i].y, c.n[1]);
        EXPECT_EQ(m.normals[i].z, c.n[2]);
        EXPECT_EQ(m.uvs[i].u, c.t[0]);
        EXPECT_EQ(m.uvs[i].v, c.t[1]);
        const auto value = static_cast<std::uint32_t>(bones.longValues[static_cast<std::size_t>(object.faces[i])]);
        EXPECT_EQ(m.bone1[i], object.blockB[value & 0xFF]);
        const std::uint32_t second = (value >> 8) & 0xFF;
        EXPECT_EQ(m.bone2[i], second == 0xFF ? -1 : object.blockB[second]) << i;
        EXPECT_EQ(m.bone3[i], -1);
    }
}

TEST(CliExportSmd, LayoutsRefusalsAndUsage)
{
    TempDir dir;
    const std::string gmdcPath = dir.file("body.5gd");
    GmdcFile body = make_body_mesh(12, 6);
    NullSink quiet;
    ASSERT_TRUE(writeGmdc(body, gmdcPath, quiet));
    ASSERT_EQ(cli("export-smd " + quote(gmdcPath) + " --index 1 --single-bone -o " + quote(dir.file("s.smd"))).status,
              0);
    // Vertex 0 hangs on slot 0 of the bone list, bone 2, and the line has no link part.
    const std::string single = read_file(dir.file("s.smd"));
    EXPECT_NE(single.find("\r\n 2  1.000000 "), std::string::npos);

    const CliRun none = cli("export-smd " + quote(gmdcPath) + " --index 0 -o " + quote(dir.file("n.smd")));
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("doesn`t have any subgroups"), std::string::npos);
    EXPECT_FALSE(file_exists(dir.file("n.smd")));
    const CliRun missing = cli("export-smd " + quote(gmdcPath) + " --object nobody -o " + quote(dir.file("n.smd")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("\"body\""), std::string::npos);
    EXPECT_EQ(cli("export-smd " + quote(gmdcPath) + " -o " + quote(dir.file("n.smd"))).status, 2);
    EXPECT_EQ(cli("export-smd " + quote(gmdcPath) + " --index 1 --object body -o x.smd").status, 2);
    EXPECT_EQ(cli("export-smd " + quote(gmdcPath) + " --index -1 -o x.smd").status, 2);
    EXPECT_EQ(cli("export-smd " + quote(gmdcPath) + " --index 1").status, 2);
    EXPECT_FALSE(file_exists(dir.file("n.smd")));
}

} // namespace mw::test
