// meshwright-cli info MESH and convert, run as a user would run them.
#include "support/cli_run.h"
#include "support/json_check.h"
#include "support/test_support.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace mw;
using namespace mw::test;

namespace {

// Standard error goes with standard output, in the order the program wrote.
CliRun run_cli(const std::string& arguments)
{
    return cli(arguments, true);
}

const char* const kTwoGroups = "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                               "g left\nusemtl skin\nf 1/1/1 2/1/1 3/1/1\ng right\nf 3/1/1 2/1/1 1/1/1 2/1/1\n";

} // namespace

TEST(MeshCommands, InfoListsTheModelsOfAnObjFile)
{
    test::TempDir dir;
    test::write_file(dir.file("two.OBJ"), kTwoGroups);
    test::write_file(dir.file("m.mtl"), "newmtl skin\nmap_Kd .\\skin.bmp\n");
    const CliRun r = run_cli("info " + dir.file("two.OBJ"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Number of models:2"), std::string::npos);
    EXPECT_NE(r.out.find("model 2\n  name             right\n  vertexCount      3\n  faceCount        2\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("textureFile      skin.bmp"), std::string::npos);
    EXPECT_NE(r.out.find("more than three corners"), std::string::npos);

    const CliRun json = run_cli("info --json " + dir.file("two.OBJ"));
    EXPECT_EQ(json.status, 0);
    EXPECT_TRUE(test::JsonCheck::valid(json.out)) << json.out;
    EXPECT_NE(json.out.find("\"models\":[{\"number\":1,\"name\":\"left\",\"vertexCount\":3,"), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"textureFile\":\"skin.bmp\",\"textureFound\":true"), std::string::npos);
    EXPECT_NE(json.out.find("\"boneMode\":0"), std::string::npos);
}

TEST(MeshCommands, InfoReadsSmdFilesAndReportsRefusals)
{
    test::TempDir dir;
    test::write_file(dir.file("m.smd"), "version 1\ntriangles\nm\n3 0 0 0 0 0 1 0 0 1 2 1\n"
                                        "3 1 0 0 0 0 1 0 0 1 2 1\n3 0 1 0 0 0 1 0 0 1 2 1\nend\n");
    const CliRun plain = run_cli("info " + dir.file("m.smd"));
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.out.find("boneMode         1"), std::string::npos) << plain.out;
    const CliRun weighted = run_cli("info --3ds-smd --json " + dir.file("m.smd"));
    EXPECT_TRUE(test::JsonCheck::valid(weighted.out)) << weighted.out;
    EXPECT_NE(weighted.out.find("\"boneMode\":2"), std::string::npos) << weighted.out;
    EXPECT_NE(weighted.out.find("\"name\":\"object 1\""), std::string::npos);

    test::write_file(dir.file("bad.obj"), "v 0 0 0\nvt 0 0\nf 1/1 1/1 1/1\n");
    const CliRun bad = run_cli("info " + dir.file("bad.obj"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find("OBJ file doesn't include vertex normals!"), std::string::npos);
    EXPECT_EQ(run_cli("info " + dir.file("missing.smd")).status, 1);
    EXPECT_EQ(run_cli("info --bogus " + dir.file("m.smd")).status, 2);
}

TEST(MeshCommands, ConvertWritesOneModelAsObj)
{
    test::TempDir dir;
    test::write_file(dir.file("two.obj"), kTwoGroups);
    const CliRun r = run_cli("convert " + dir.file("two.obj") + " -o " + dir.file("out.obj") + " --model 2");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(test::read_file(dir.file("out.obj")), "v  0  1  0 \r\nv  1  0  0 \r\nv  0  0  0 \r\n"
                                                    "vn  0  0  1 \r\nvn  0  0  1 \r\nvn  0  0  1 \r\n"
                                                    "vt  0  0 \r\nvt  0  0 \r\nvt  0  0 \r\n"
                                                    "f 1/1/1 2/2/2 3/3/3\r\nf 1/1/1 3/3/3 2/2/2\r\n");

    EXPECT_EQ(run_cli("convert " + dir.file("two.obj") + " -o " + dir.file("x.obj") + " --model 3").status, 1);
    EXPECT_FALSE(test::file_exists(dir.file("x.obj")));
    EXPECT_EQ(run_cli("convert " + dir.file("two.obj")).status, 2);
    EXPECT_EQ(run_cli("convert " + dir.file("two.obj") + " -o x.obj --model two").status, 2);
    const CliRun wrongKind = run_cli("convert " + dir.file("two.5gd") + " -o " + dir.file("x.obj"));
    EXPECT_EQ(wrongKind.status, 2);
    EXPECT_NE(wrongKind.out.find("OBJ and SMD"), std::string::npos);
}
