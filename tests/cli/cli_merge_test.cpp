// meshwright-cli merge, replace and add, run as a separate process on files written by
// the tests.
#include "gmdc/gmdc_reader.h"
#include "merge/merge_test_util.h"
#include "support/cli_run.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace mw::test {
namespace {

// Two OBJ groups: "body" (a quad of 4 corners, 2 triangles) and "spout" (one triangle).
const char* const kObj = "g body\n"
                         "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                         "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                         "vn 0 0 1\n"
                         "f 1/1/1 2/2/1 3/3/1\nf 2/2/1 4/4/1 3/3/1\n"
                         "g spout\n"
                         "v 0 0 1\nv 1 0 1\nv 0 1 1\n"
                         "f 5/1/1 6/2/1 7/3/1\n";

// One triangle whose corners hang on bones `a`, `b`, `c` (one bone each).
std::string one_bone_smd(int a, int b, int c)
{
    return "version 1\nnodes\n  0 \"root\" -1\nend\nskeleton\ntime 0\n  0 0 0 0 0 0 0\nend\ntriangles\nskin.bmp\n" +
           std::to_string(a) + " 0 0 0 0 0 1 0 0\n" + std::to_string(b) + " 1 0 0 0 0 1 1 0\n" + std::to_string(c) +
           " 0 1 0 0 0 1 0 1\nend\n";
}

GmdcFile read_back(const std::string& path)
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, path, sink)) << sink.last();
    return g;
}

class CliMerge : public ::testing::Test {
  protected:
    void SetUp() override
    {
        write_file(body_, bytes_of(make_body_mesh()));
        write_file(obj_, kObj);
    }
    std::string run_ok(std::initializer_list<std::string> args)
    {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("Save Complete"), std::string::npos) << r.out;
        return r.err;
    }
    TempDir dir_;
    std::string body_ = dir_.file("body.5gd");
    std::string obj_ = dir_.file("top.obj");
    std::string out_ = dir_.file("out.5gd");
};

TEST_F(CliMerge, MergePutsEachGroupIntoTheObjectOfItsNameAndNamesTheRest)
{
    const std::string err = run_ok({"merge", obj_, body_, "-o", out_});
    EXPECT_NE(err.find("model 2 \"spout\""), std::string::npos) << err;
    const GmdcFile g = read_back(out_);
    EXPECT_EQ(g.dataLists[0].recordCount, 7); // 4 corners and the save's 3 padding vertices
    EXPECT_EQ(g.dataLists[1].recordCount, 4);
    EXPECT_EQ(g.dataLists[2].floatValues, (std::vector<float>{0, 0, 1, 0, 0, -1, 1, -1})); // v read negated
    EXPECT_EQ(g.objectGroups[0].vertexCount, 4);
    EXPECT_EQ(g.objects[0].faces, (std::vector<std::int16_t>{0, 1, 2, 1, 3, 2}));
    EXPECT_EQ(g.dataLists[6].recordCount, 4); // the bones follow the four new vertices
}

TEST_F(CliMerge, MergeOptionsUntickTheImports)
{
    run_ok({"merge", obj_, body_, "-o", out_, "--no-uvs", "--no-polygons"});
    const GmdcFile g = read_back(out_);
    const GmdcFile before = make_body_mesh();
    EXPECT_EQ(g.dataLists[1].recordCount, 4);
    EXPECT_EQ(g.dataLists[2].floatValues, before.dataLists[2].floatValues);
    EXPECT_EQ(g.objects[0].faces, before.objects[0].faces);
}

TEST_F(CliMerge, MergeRefusalWritesNothing)
{
    GmdcFile g = make_body_mesh();
    GmdcObject lid = g.objects[0]; // shares the group; its faces reach vertex 11
    lid.name = "lid";
    g.objects.push_back(lid);
    write_file(body_, bytes_of(g));
    const CliRun r = cli({"merge", obj_, body_, "-o", out_});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot merge model 1 \"body\" into object 1 \"body\""), std::string::npos) << r.err;
    EXPECT_FALSE(file_exists(out_));
}

TEST_F(CliMerge, MergeOfAnSmdModelMatchesAnObjectNamedObject1)
{
    GmdcFile g = make_body_mesh();
    g.objects[0].name = "object 1";
    write_file(body_, bytes_of(g));
    const std::string smd = dir_.file("tri.smd");
    write_file(smd, one_bone_smd(2, 6, 41));
    run_ok({"merge", smd, body_, "-o", out_, "--3ds-smd"});
    EXPECT_EQ(read_back(out_).objects[0].faces, (std::vector<std::int16_t>{0, 1, 2}));
}

TEST_F(CliMerge, ReplaceAssignsByNameOrNumberWithASubGroup)
{
    run_ok({"replace", obj_, body_, "-o", out_, "--assign", "body=1:3"});
    const GmdcFile g = read_back(out_);
    EXPECT_EQ(g.dataLists[6].longValues, values({0xFFFFFF02, 0xFFFFFF02, 0xFFFFFF02, 0xFFFFFF02}));
    EXPECT_EQ(g.dataLists[7].floatValues.size(), 12u);
    EXPECT_EQ(g.objects[0].faces, (std::vector<std::int16_t>{0, 1, 2, 1, 3, 2}));

    run_ok({"replace", obj_, body_, "-o", out_, "--assign", "2=body"});
    EXPECT_EQ(read_back(out_).dataLists[6].longValues, values({0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00}));
}

TEST_F(CliMerge, ReplaceMapsSmdBones)
{
    const std::string smd = dir_.file("tri.smd");
    write_file(smd, one_bone_smd(2, 6, 41));
    run_ok({"replace", smd, body_, "-o", out_, "--assign", "1=body"});
    EXPECT_EQ(read_back(out_).dataLists[6].longValues, values({0xFFFFFF00, 0xFFFFFF04, 0xFFFFFF27}));

    // "Using 3DS MAX" reads the weighted links; the XSI offset lowers each bone by one
    const std::string weighted =
        "version 1\ntriangles\nskin.bmp\n"
        "0 0 0 0 0 0 1 0 0 2 5 0.75 7 0.25\n0 1 0 0 0 0 1 1 0 1 8 1\n0 0 1 0 0 0 1 0 1 1 3 1\nend\n";
    write_file(smd, weighted);
    run_ok({"replace", smd, body_, "-o", out_, "--assign", "1=1", "--3dsmax", "--xsi"});
    const GmdcFile g = read_back(out_);
    EXPECT_EQ(g.dataLists[6].longValues, values({0xFFFF0402, 0xFFFFFF05, 0xFFFFFF00}));
    EXPECT_EQ(g.dataLists[7].floatValues, (std::vector<float>{0.75f, 0.25f, 0, 1, 0, 0, 1, 0, 0}));

    write_file(smd, one_bone_smd(2, 99, 2));
    const CliRun r = cli({"replace", smd, body_, "-o", dir_.file("no.5gd"), "--assign", "1=1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error: to many bones in smd for this gmdc file.\n"), std::string::npos) << r.err;
    EXPECT_FALSE(file_exists(dir_.file("no.5gd")));
}

TEST_F(CliMerge, AddAppendsWithShiftedFaces)
{
    run_ok({"add", obj_, body_, "-o", out_, "--assign", "spout=body:2"});
    const GmdcFile g = read_back(out_);
    EXPECT_EQ(g.dataLists[6].recordCount, 15);
    EXPECT_EQ(g.dataLists[6].longValues.back(), static_cast<std::int32_t>(0xFFFFFF01));
    EXPECT_EQ(std::vector<std::int16_t>(g.objects[0].faces.end() - 3, g.objects[0].faces.end()),
              (std::vector<std::int16_t>{12, 13, 14}));
}

TEST_F(CliMerge, BodyEditingSavesTheBodyMeshLayout)
{
    write_file(body_, bytes_of(make_body_mesh_30()));
    run_ok({"replace", obj_, body_, "-o", out_, "--assign", "body=body", "--body-editing"});
    const GmdcFile g = read_back(out_);
    EXPECT_EQ(g.dataLists.size(), 15u);
    EXPECT_EQ(g.objectGroups[0].dataListIndices, (std::vector<std::int16_t>{10, 11, 12, 13, 14}));
    EXPECT_EQ(g.dataLists[13].longValues, values({0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00, 0xFFFFFF00}));

    write_file(body_, bytes_of(make_body_mesh())); // 14 lists: not a body-mesh layout
    const CliRun r = cli({"add", obj_, body_, "-o", dir_.file("no.5gd"), "--assign", "body=body", "--body-editing"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("as a body mesh"), std::string::npos) << r.err;
    EXPECT_FALSE(file_exists(dir_.file("no.5gd")));
}

TEST_F(CliMerge, UsageErrorsAndUnresolvedAssignments)
{
    EXPECT_EQ(cli({"merge", obj_, body_}).status, 2); // no -o
    EXPECT_EQ(cli({"merge", obj_, "-o", out_}).status, 2);
    EXPECT_EQ(cli({"merge", obj_, body_, "-o", out_, "--bogus"}).status, 2);
    EXPECT_EQ(cli({"merge", body_, body_, "-o", out_}).status, 2);
    EXPECT_EQ(cli({"replace", obj_, body_, "-o", out_, "--assign", "body"}).status, 2);
    EXPECT_EQ(cli({"add", obj_, body_, "-o", out_, "--assign", "=1"}).status, 2);

    CliRun r = cli({"replace", obj_, body_, "-o", out_, "--assign", "body=hat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no object is named \"hat\""), std::string::npos) << r.err;
    r = cli({"replace", obj_, body_, "-o", out_, "--assign", "3=1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("there is no model 3"), std::string::npos) << r.err;
    r = cli({"merge", dir_.file("missing.obj"), body_, "-o", out_});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(file_exists(out_));
    for (const char* command : {"merge", "replace", "add"})
        EXPECT_NE(cli(std::string(command) + " --help").out.find(std::string("Usage: meshwright-cli ") + command),
                  std::string::npos);
}

} // namespace
} // namespace mw::test
