// The OBJ and MTL reader: models, the distinct-corner numbering, polygons, materials, and
// the files it refuses. Text is read from memory; only what is about files uses files.
#include "checks/obj_checks.h"
#include "mesh/mesh_text.h"
#include "support/model_builders.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace mw::test {
namespace {

using Numbers = std::vector<std::int32_t>;

// One triangle with one position, texture coordinate and normal per corner (lines 1-9).
const std::string kTriangle = "v 1 0 -0.5\nv 0 2 0\nv 0 0 1.25\nvt 0.25 0.75\nvt 1 0\nvt 0 1\n"
                              "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";
const std::string kFace = "f 1/1/1 2/2/2 3/3/3\n";

TEST(ObjReader, CornersFollowTheFileNumbersWhateverTheirFormAndVIsNegated)
{
    // "1//3": no texture coordinate; "3/2": no normal; "1": neither. Upper case, indented.
    const TextRead r = read_obj_text(kTriangle + "f 1/1/3 2/2/2 3/3/1\n  F 1//3 2//2 3/2\nf 1 2 3\n");
    ASSERT_TRUE(r.ok) << r.sink.last();
    const MeshModel& m = r.model();
    ASSERT_EQ(m.vertexCount(), 9);
    EXPECT_EQ(m.vertices[0].z, -0.5f);
    EXPECT_EQ(flat(std::vector<Vec2f>{m.uvs[0], m.uvs[2], m.uvs[3], m.uvs[5]}),
              (std::vector<float>{0.25f, -0.75f, 0, -1, 0, 0, 1, 0}));
    EXPECT_EQ(flat(std::vector<Vec3f>{m.normals[0], m.normals[3], m.normals[5], m.normals[6]}),
              (std::vector<float>{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));

    // Negative numbers count back from the last entry read; decimals round to the nearest.
    // The second face shares the first one's corners 1 and 2.
    const MeshModel absolute = read_obj_text(kTriangle + kFace + "v 9 9 9\nf 1/1/1 4/1/1 2/2/2\n").model();
    ASSERT_EQ(absolute.vertexCount(), 4);
    for (const std::string faces : {"f -3/-3/-3 -2/-2/-2 -1/-1/-1\nv 9 9 9\nf -4/1/1 -1/1/1 2/-2/2\n",
                                    "f 1.0/1/1 2/2.4/2 3/3/3e0\nv 9 9 9\nf 1/1/1 4/1/1 2/2/1.6\n"}) {
        const MeshModel got = read_obj_text(kTriangle + faces).model();
        EXPECT_EQ(flat(got.vertices), flat(absolute.vertices)) << faces;
        EXPECT_EQ(flat(got.uvs), flat(absolute.uvs)) << faces;
        EXPECT_EQ(flat(got.normals), flat(absolute.normals)) << faces;
        EXPECT_EQ(Numbers({got.faces[1].vertex1, got.faces[1].vertex2, got.faces[1].vertex3}), Numbers({1, 4, 2}))
            << faces;
    }
}

TEST(ObjReader, GroupsStartModelsByTheGeometryRule)
{
    const std::string geometry = "vt 0 0\nvn 0 0 1\n", face = "f 1/1/1 1/1/1 1/1/1\n";
    const struct {
        std::string text;
        std::vector<std::string> names;
    } cases[] = {
        // Group lines before their positions: the name waits for the first face.
        {geometry + "g a\nv 0 0 0\n" + face + "g b\nv 0 0 1\n" + face, {"a", "b"}},
        // All positions first: every group line starts a model.
        {geometry + "v 0 0 0\ng a\n" + face + "g b\n" + face, {"a", "b"}},
        {geometry + "v 0 0 0\n" + face, {""}},
        {geometry + "o left arm\nv 0 0 0\n" + face, {"left"}},
        // A later pending name replaces an earlier one; a nameless group line is ignored.
        {geometry + "g x\ng y\ng\nv 0 0 0\n" + face + "g z\ng w\n" + face, {"y", "z"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const MeshModel& m : read_obj_text(c.text).state.models.models)
            names.push_back(m.name);
        EXPECT_EQ(names, c.names) << c.text;
    }
}

TEST(ObjReader, PolygonsBecomeFansAndTheReaderSaysSo)
{
    // Positions 1..4 make a square; 5..8 a dart whose fourth corner points inwards.
    const std::string positions = "v 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\nv 0 0 0\nv 2 1 0\nv 0 2 0\nv 1 1 0\n"
                                  "vt 0 0\nvn 0 0 1\n"; // lines 1..10
    const struct {
        std::string faces;
        int faceCount;
        const char* info;    // part of the info message, "" for none
        const char* warning; // part of the warning, "" for none
    } cases[] = {
        {"f 1/1/1 2/1/1 3/1/1 4/1/1\n", 2, "1 polygon with more than three corners was split", ""},
        {"f 1/1/1 2/1/1 3/1/1 4/1/1\nf 4/1/1 3/1/1 2/1/1 1/1/1 \n", 4, "2 polygons", ""},
        {"f 1/1/1 2/1/1 3/1/1\nf 5/1/1 6/1/1 7/1/1 8/1/1\n", 3, "1 polygon", "line 12"},
        {"f 1/1/1 2/1/1 3/1/1\nf 5/1/1 6/1/1 7/1/1 8/1/1\n", 3, "1 polygon", "(1 such polygon)"},
        {"f 1/1/1 2/1/1 3/1/1\n", 1, "", ""},
    };
    for (const auto& c : cases) {
        const TextRead r = read_obj_text(positions + c.faces);
        EXPECT_EQ(r.model().faceCount(), c.faceCount) << c.faces;
        EXPECT_EQ(*c.info != 0, r.sink.contains("split into triangles")) << c.faces;
        EXPECT_EQ(*c.warning != 0, r.sink.has(MessageKind::Warning)) << c.faces;
        EXPECT_TRUE(r.sink.contains(c.info) && r.sink.contains(c.warning)) << c.faces;
    }
    // The fan: (1, 2, 3) then (1, 3, 4); no corner is lost.
    const std::vector<MeshFace> fan = read_obj_text(positions + cases[0].faces).model().faces;
    EXPECT_EQ(Numbers({fan[0].vertex1, fan[0].vertex2, fan[0].vertex3, fan[1].vertex1, fan[1].vertex2, fan[1].vertex3}),
              Numbers({1, 2, 3, 1, 3, 4}));
}

TEST(ObjReader, FilesWithoutNormalsOrTextureCoordinatesKeepTheFileNumbers)
{
    const TextRead noNormals = read_obj_text("g a\nv 0 0 0\nvt 0 0\nf 1/2/3 4/5/6 7/8/9\n");
    EXPECT_FALSE(noNormals.ok || noNormals.state.models.objLoadOk);
    EXPECT_EQ(noNormals.sink.last(), "OBJ file doesn't include vertex normals! You must have these included");
    EXPECT_TRUE(noNormals.model().name == "a" && noNormals.model().vertexCount() == 0);
    const MeshFace& f = noNormals.model().faces.at(0);
    EXPECT_EQ(Numbers({f.vertex1, f.vertex2, f.vertex3, f.uv1, f.uv2, f.uv3, f.normal1, f.normal2, f.normal3}),
              Numbers({1, 4, 7, 2, 5, 8, 3, 6, 9}));
    EXPECT_EQ(read_obj_text("v 0 0 0\nvn 0 0 1\nf 1//1 1//1 1//1\n").sink.last(),
              "OBJ file doesn't include UV coordinates! You must have these included");
}

TEST(ObjReader, FilesThatCannotBeHeldAreRefusedWithTheirLineOrModel)
{
    std::string corners = "v 0 0 0\nvn 0 0 1\ng big\n"; // 32766 distinct corners, one texture coordinate each
    for (int i = 1; i <= 32766; i += 3)
        corners += "vt 0 0\nvt 0 0\nvt 0 0\nf 1/" + std::to_string(i) + "/1 1/" + std::to_string(i + 1) + "/1 1/" +
                   std::to_string(i + 2) + "/1\n";
    std::string models = "v 0 0 0\nvt 0 0\nvn 0 0 1\n";
    for (int i = 0; i < 32768; ++i)
        models += "g m\nf 1/1/1 1/1/1 1/1/1\n";
    const struct {
        std::string text;
        std::string part;
    } cases[] = {
        {kTriangle + "f 1/1/1 0/1/1 3/1/1\n", "line 10"},  // position 0
        {kTriangle + "f 1/1/1 2/1/1\n", "line 10"},        // a missing corner
        {kTriangle + "f 1/1/1 2/1/1 -4/1/1\n", "line 10"}, // before the first position
        {kTriangle + "f 1/1/1 2/1/-4 3/1/1\n", "line 10"}, // before the first normal
        {kTriangle + "f 1/4/1 2/1/1 3/1/1\n", "texture coordinate number 4"},
        {kTriangle + "f 1/1/1 2/1/99999999999 3/1/1\n", "line 10"}, // too large to hold
        // beyond the list: judged at the end; the line with the largest number is named
        {kTriangle + "f 1/1/1 2/1/1 4/1/1\nf 1/1/1 2/1/1 7/1/1\n", "line 11"},
        {"v 0 0 0\nv 1 4e38 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 1/1/1\n", "line 2"},
        {kTriangle + "vt 0 -1e300\n" + kFace, "line 10"},
        {corners + "f 1/32767/1 1/32768/1 1/1/1\nvt 0 0\nvt 0 0\n", "model 1 (\"big\")"}, // 32768 corners
        {models, "line " + std::to_string(3 + 2 * 32767 + 1)},
    };
    for (const auto& c : cases) {
        const TextRead r = read_obj_text(c.text);
        EXPECT_FALSE(r.ok || r.state.models.objLoadOk) << c.part;
        EXPECT_TRUE(r.sink.has(MessageKind::Error) && r.sink.contains(c.part)) << c.part << ": " << r.sink.last();
        EXPECT_EQ(r.state.models.modelCount(), 0);
    }
    // At the limits: positions after the faces, the largest float, 32767 corners, and
    // numbers beyond 16 bits (40000 positions, 33000 faces).
    std::string wide = "vt 0 0\nvn 0 0 1\n";
    for (int i = 0; i < 40000; ++i)
        wide += "v " + std::to_string(i) + " 0 0\n";
    for (int i = 0; i < 33000; ++i)
        wide += "f 39998/1/1 39999/1/1 40000/1/1\n";
    for (const std::string& text :
         {std::string("vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"),
          kTriangle + "v 3.4028234e38 0 0\nf 4/1/1 2/1/1 3/1/1\n", corners + "f 1/32767/1 1/1/1 1/2/1\nvt 0 0\n", wide})
        EXPECT_TRUE(read_obj_text(text).ok) << text.substr(0, 30);
    const TextRead r = read_obj_text(wide);
    EXPECT_EQ(r.model().faceCount(), 33000);
    EXPECT_EQ(r.model().vertices.at(2).x, 39999.0f);
}

TEST(ObjReader, MaterialsGiveEveryModelItsTextureAndReadingAgainReplacesThem)
{
    // A texture name keeps its characters after a ".\" or "./" prefix; one shorter than
    // two characters gives no texture; a material the MTL file does not define takes none.
    const std::string mtl = "newmtl skin\n  map_Kd .\\skin.bmp\nnewmtl wood\nMAP_KD wood.bmp\n"
                            "newmtl stone\nmap_Kd ./stone.tga\nnewmtl none\nmap_Kd x\nnewmtl glass\nmap_Kd g.bmp\n";
    // The "usemtl" before any face goes to row 1, then is replaced.
    std::string text = "mtllib m.mtl\nusemtl wood\n" + kTriangle;
    const char* const materials[] = {"skin", "wood", "stone", "none", "skin", "unknown"};
    for (int m = 0; m < 12; ++m)
        text += "g part" + std::to_string(m + 1) + "\nusemtl " + materials[m % 6] + "\n" + kFace;
    TextRead r = read_obj_text(text, mtl);
    StringSource again("m.obj", text), mtlAgain("m.mtl", mtl);
    ASSERT_TRUE(read_obj(r.state, again, r.sink, {}, &mtlAgain)) << r.sink.last();
    std::vector<std::string> textures;
    for (const MaterialRow& row : r.state.models.materials)
        textures.push_back(row.textureFound ? row.textureFile : "-");
    EXPECT_EQ(textures, (std::vector<std::string>{"skin.bmp", "wood.bmp", "stone.tga", "-", "skin.bmp", "-", "skin.bmp",
                                                  "wood.bmp", "stone.tga", "-", "skin.bmp", "-"}));
    EXPECT_EQ(r.state.models.materials[0].materialName, "skin");

    const std::string plain = kTriangle + "g b\n" + kFace;
    StringSource plainSource("b.obj", plain);
    r.state.models.modelSource = 2;
    ASSERT_TRUE(read_obj(r.state, plainSource, r.sink));
    EXPECT_TRUE(r.state.models.modelCount() == 1 && r.state.models.materialCount() == 0);
    EXPECT_EQ(r.state.models.modelSource, 1);
}

// What is about files: a file read in blocks (its lines cross the 1 MiB blocks), the MTL
// file found beside the OBJ file, then in the current folder, files that cannot be loaded,
// which leave the models as they were, and the dump files of each model's corners and triangles.
TEST(ObjReader, FilesAreReadInBlocksWithTheirMtlFileAndDumpedOnRequest)
{
    TempDir objDir, workDir, lonely;
    std::string text = "mtllib m.mtl\n" + kTriangle + "usemtl a\n";
    while (text.size() < 3 * FileSource::kBlockSize)
        text += kFace;
    write_file(objDir.file("m.obj"), text);
    write_file(lonely.file("m.obj"), text);
    write_file(lonely.file("empty.obj"), "");
    write_file(workDir.file("m.mtl"), "newmtl a\nmap_Kd cwd.bmp\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(workDir.path());
    State state;
    RecordingSink sink;
    EXPECT_TRUE(read_obj(state, objDir.file("m.obj"), sink));
    EXPECT_EQ(state.models.models.at(0).faces.size(), read_obj_text(text).model().faces.size());
    EXPECT_EQ(state.models.materials.at(0).textureFile, "cwd.bmp");
    write_file(objDir.file("m.mtl"), "newmtl a\nmap_Kd beside.bmp\n");
    EXPECT_TRUE(read_obj(state, objDir.file("m.obj"), sink));
    EXPECT_EQ(state.models.materials.at(0).textureFile, "beside.bmp");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(read_obj(state, lonely.file("m.obj"), sink)) << "a missing MTL file is no error";
    EXPECT_FALSE(state.models.materials.at(0).textureFound);
    sink.clear();
    EXPECT_FALSE(read_obj(state, lonely.file("empty.obj"), sink) || read_obj(state, lonely.file("missing.obj"), sink));
    EXPECT_EQ(sink.entries.size(), 2u);
    EXPECT_EQ(state.models.models.at(0).vertexCount(), 3);
    EXPECT_FALSE(state.models.objLoadOk);

    const ObjReadOptions dump{.dumpFiles = true, .dumpFolder = workDir.path()};
    ASSERT_TRUE(read_obj_text(kTriangle + "g a\n" + kFace + "g b\nf 3/3/3 2/2/2 3/3/3\n", "", dump).ok);
    EXPECT_EQ(read_file(workDir.file("dump_object_1.obj")), "v 1 0 -.5\r\nv 0 2 0\r\nv 0 0 1.25\r\nf 1 2 3\r\n");
    EXPECT_EQ(read_file(workDir.file("dump_object_2.obj")), "v 0 0 1.25\r\nv 0 2 0\r\nf 1 2 1\r\n");
}

// Files made by other tools read whole, every model holding together; the last has
// neither normals nor texture coordinates.
TEST(ObjReaderFixtures, OtherToolsFilesReadWhole)
{
    const std::string dir = fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    for (const char* name : {"spider.obj", "issue-138.obj", "map-bump.obj", "cornell_box.obj"}) {
        const std::string text = read_file(dir + "/obj/" + name);
        EXPECT_EQ(read_obj_text(text).ok, name != std::string("cornell_box.obj")) << name;
        EXPECT_EQ(fuzz::check_obj(text), "") << name;
    }
}

} // namespace
} // namespace mw::test
