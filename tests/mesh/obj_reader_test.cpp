// The OBJ and MTL reader: models, the distinct-corner numbering, materials, and the
// files it refuses.
#include "mesh/obj_reader.h"
#include "support/model_builders.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

using namespace mw;
using mw::test::flat;

namespace {

const char* const kFinishedOne = "Finished reading obj file. Number of models:1";

struct ObjRead {
    State state;
    RecordingSink sink;
    bool ok = false;

    const MeshModel& model(int m) const { return state.models.models.at(static_cast<std::size_t>(m - 1)); }
};

std::unique_ptr<ObjRead> read_text(const std::string& text, const ObjReadOptions& options = {})
{
    test::TempDir dir;
    const std::string path = dir.file("mesh.obj");
    test::write_file(path, text);
    auto r = std::make_unique<ObjRead>();
    r->ok = read_obj(r->state, path, r->sink, options);
    return r;
}

// One triangle with one position, texture coordinate and normal per corner.
const char* const kTriangle = "v 1 0 -0.5\nv 0 2 0\nv 0 0 1.25\n"
                              "vt 0.25 0.75\nvt 1 0\nvt 0 1\n"
                              "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";

std::string cube_obj()
{
    // 8 positions, 6 normals, 4 texture coordinates; each side uses its own normal, so its
    // four corners are new combinations: 6 x 4 = 24.
    std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
                       "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n"
                       "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\ng cube\n";
    const int sides[6][4] = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {4, 8, 7, 3}, {1, 5, 8, 4}, {2, 3, 7, 6}};
    for (int s = 0; s < 6; ++s) {
        auto corner = [&](int k) {
            return std::to_string(sides[s][k]) + "/" + std::to_string(k + 1) + "/" + std::to_string(s + 1);
        };
        text += "f " + corner(0) + " " + corner(1) + " " + corner(2) + "\n";
        text += "f " + corner(0) + " " + corner(2) + " " + corner(3) + "\n";
    }
    return text;
}

} // namespace

TEST(ObjReader, UnitCubeGivesTwentyFourCornersAndSharesThem)
{
    auto r = read_text(cube_obj());
    ASSERT_TRUE(r->ok) << r->sink.last();
    ASSERT_EQ(r->state.models.modelCount(), 1);
    const MeshModel& m = r->model(1);
    EXPECT_EQ(m.name, "cube");
    EXPECT_EQ(m.vertexCount(), 24);
    EXPECT_EQ(m.normalCount(), 24);
    EXPECT_EQ(m.uvCount(), 24);
    EXPECT_EQ(m.faceCount(), 12);
    EXPECT_EQ(m.boneMode, 0);
    EXPECT_EQ(m.boneVertexCount(), 0);
    // The second triangle of a side reuses the first one's corners 1 and 3.
    EXPECT_EQ(m.faces[0].vertex1, 1);
    EXPECT_EQ(m.faces[0].vertex3, 3);
    EXPECT_EQ(m.faces[1].vertex1, 1);
    EXPECT_EQ(m.faces[1].vertex2, 3);
    EXPECT_EQ(m.faces[1].vertex3, 4);
    EXPECT_EQ(m.faces[11].vertex3, 24);
    for (const MeshFace& f : m.faces) {
        EXPECT_EQ(f.normal1 | f.normal2 | f.normal3 | f.uv1 | f.uv2 | f.uv3, 0);
    }
    // Entry 5 is side 2's first corner: position 5, texture coordinate 1, normal 2.
    EXPECT_EQ(m.vertices[4].z, 1.0f);
    EXPECT_EQ(m.normals[4].z, 1.0f);
    EXPECT_EQ(m.uvs[4].u, 0.0f);
    EXPECT_EQ(r->sink.last(), kFinishedOne);
    EXPECT_TRUE(r->state.models.objLoadOk);
    EXPECT_EQ(r->state.models.modelSource, 1);
}

TEST(ObjReader, CornerDataFollowsTheFileNumbersAndVIsNegated)
{
    auto r = read_text(std::string(kTriangle) + "f 1/1/3 2/2/2 3/3/1\n");
    ASSERT_TRUE(r->ok);
    const MeshModel& m = r->model(1);
    ASSERT_EQ(m.vertexCount(), 3);
    EXPECT_EQ(m.vertices[0].x, 1.0f);
    EXPECT_EQ(m.vertices[0].z, -0.5f);
    EXPECT_EQ(m.vertices[2].z, 1.25f);
    EXPECT_EQ(m.normals[0].x, 1.0f); // normal 3
    EXPECT_EQ(m.normals[2].z, 1.0f); // normal 1
    EXPECT_EQ(m.uvs[0].u, 0.25f);
    EXPECT_EQ(m.uvs[0].v, -0.75f);
    EXPECT_EQ(m.uvs[2].v, -1.0f);
}

TEST(ObjReader, EmptyFieldsOfACornerMeanNoNumber)
{
    // "1//3": position 1, no texture coordinate (the zero one), normal 3.
    auto r = read_text(std::string(kTriangle) + "f 1//3 2//2 3/2\nf 1 2 3\n");
    ASSERT_TRUE(r->ok);
    const MeshModel& m = r->model(1);
    ASSERT_EQ(m.vertexCount(), 6);
    EXPECT_EQ(m.normals[0].x, 1.0f);
    EXPECT_EQ(m.uvs[0].u, 0.0f);
    EXPECT_EQ(m.uvs[0].v, 0.0f);
    EXPECT_EQ(m.uvs[2].u, 1.0f); // "3/2": texture coordinate 2, no normal
    EXPECT_EQ(m.normals[2].x, 0.0f);
    EXPECT_EQ(m.normals[2].z, 0.0f);
    EXPECT_EQ(m.normals[3].z, 0.0f); // "1": neither
}

TEST(ObjReader, NegativeNumbersCountBackFromTheLastEntryRead)
{
    auto relative =
        read_text(std::string(kTriangle) + "f -3/-3/-3 -2/-2/-2 -1/-1/-1\nv 9 9 9\nf -4/1/1 -1/1/1 2/1/1\n");
    auto absolute = read_text(std::string(kTriangle) + "f 1/1/1 2/2/2 3/3/3\nv 9 9 9\nf 1/1/1 4/1/1 2/1/1\n");
    ASSERT_TRUE(relative->ok) << relative->sink.last();
    ASSERT_TRUE(absolute->ok);
    const MeshModel& a = relative->model(1);
    const MeshModel& b = absolute->model(1);
    EXPECT_EQ(flat(a.vertices), flat(b.vertices));
    EXPECT_EQ(flat(a.uvs), flat(b.uvs));
    EXPECT_EQ(flat(a.normals), flat(b.normals));
    EXPECT_EQ(a.faces[1].vertex2, b.faces[1].vertex2);
}

TEST(ObjReader, LineEndsOfEverySystemReadAlike)
{
    const std::string lf = cube_obj();
    std::string crlf, cr;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    for (const std::string& text : {crlf, cr}) {
        auto r = read_text(text);
        ASSERT_TRUE(r->ok);
        EXPECT_EQ(r->model(1).vertexCount(), 24);
        EXPECT_EQ(r->model(1).faceCount(), 12);
        EXPECT_EQ(r->model(1).name, "cube");
    }
}

TEST(ObjReader, IndentedLinesAndUpperCaseKeywordsAreRead)
{
    auto r = read_text("  V 1 0 0\n\tv 0 1 0\n v 0 0 1\n VT 0 0\n\tVN 0 0 1\n  G part\n  F 1/1/1 2/1/1 3/1/1\n");
    ASSERT_TRUE(r->ok) << r->sink.last();
    EXPECT_EQ(r->model(1).name, "part");
    EXPECT_EQ(r->model(1).vertexCount(), 3);
    EXPECT_EQ(r->model(1).faceCount(), 1);
}

TEST(ObjReader, GroupsStartModelsByTheGeometryRule)
{
    const std::string geometry = "vt 0 0\nvn 0 0 1\n";
    // Group lines before their positions: the name waits for the first face.
    auto before = read_text(geometry + "g a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1/1 2/1/1 3/1/1\n"
                                       "g b\nv 0 0 1\nf 4/1/1 2/1/1 3/1/1\n");
    ASSERT_TRUE(before->ok);
    ASSERT_EQ(before->state.models.modelCount(), 2);
    EXPECT_EQ(before->model(1).name, "a");
    EXPECT_EQ(before->model(2).name, "b");
    EXPECT_EQ(before->sink.last(), "Finished reading obj file. Number of models:2");

    // All positions first: every group line starts a model.
    auto first =
        read_text(geometry + "v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1/1/1 2/1/1 3/1/1\ng b\nf 3/1/1 2/1/1 1/1/1\n");
    ASSERT_EQ(first->state.models.modelCount(), 2);
    EXPECT_EQ(first->model(1).name, "a");
    EXPECT_EQ(first->model(2).name, "b");

    // No group at all: one model without a name. "g left arm" names its model "left".
    auto none = read_text(geometry + "v 0 0 0\nf 1/1/1 1/1/1 1/1/1\n");
    ASSERT_EQ(none->state.models.modelCount(), 1);
    EXPECT_EQ(none->model(1).name, "");
    auto spaced = read_text(geometry + "o left arm\nv 0 0 0\nf 1/1/1 1/1/1 1/1/1\n");
    EXPECT_EQ(spaced->model(1).name, "left");

    // A second pending name before the first face replaces the first; a group line
    // without a name is ignored; a later pending name is dropped.
    auto pending = read_text(geometry + "g x\ng y\ng\nv 0 0 0\nf 1/1/1 1/1/1 1/1/1\ng z\ng w\nf 1/1/1 1/1/1 1/1/1\n");
    ASSERT_EQ(pending->state.models.modelCount(), 2);
    EXPECT_EQ(pending->model(1).name, "y");
    EXPECT_EQ(pending->model(2).name, "z");
    EXPECT_EQ(pending->model(2).faceCount(), 1);
}

TEST(ObjReader, PositionsBeyondSixteenBitsAndManyFacesAreHeld)
{
    // The file numbers its positions past 32767 while each model stays small, and one
    // model has more than 32767 faces over three corners.
    std::string text = "vt 0 0\nvn 0 0 1\n";
    for (int i = 0; i < 40000; ++i)
        text += "v " + std::to_string(i) + " 0 0\n";
    text += "g small\nf 39998/1/1 39999/1/1 40000/1/1\ng many\n";
    for (int i = 0; i < 33000; ++i)
        text += "f 1/1/1 2/1/1 3/1/1\n";
    auto r = read_text(text);
    ASSERT_TRUE(r->ok) << r->sink.last();
    EXPECT_EQ(r->model(1).vertexCount(), 3);
    EXPECT_EQ(r->model(1).vertices[2].x, 39999.0f);
    EXPECT_EQ(r->model(2).vertexCount(), 3);
    EXPECT_EQ(r->model(2).faceCount(), 33000);
}

TEST(ObjReader, PolygonsBecomeFansAndTheReaderSaysSo)
{
    auto r = read_text(std::string(kTriangle) + "v 5 5 5\nf 1/1/1 2/2/2 3/3/3\nf 1/1/1 2/2/2 3/3/3 4/1/1\n"
                                                "f 4/1/1 3/3/3 2/2/2 1/1/1 \nf 1/1/1 2/2/2 3/3/3 \n");
    ASSERT_TRUE(r->ok);
    EXPECT_EQ(r->model(1).faceCount(), 6);
    EXPECT_EQ(r->model(1).vertexCount(), 4);
    EXPECT_EQ(r->sink.entries[0].kind, MessageKind::Info);
    EXPECT_NE(r->sink.entries[0].text.find("2 polygons"), std::string::npos);
    EXPECT_EQ(r->sink.last(), kFinishedOne);
}

TEST(ObjReader, FilesWithoutNormalsOrTextureCoordinatesAreRefused)
{
    auto noNormals = read_text("g a\nv 0 0 0\nvt 0 0\nf 1/1 1/1 1/1\nf 1/1 1/1 1/1\n");
    EXPECT_FALSE(noNormals->ok);
    EXPECT_FALSE(noNormals->state.models.objLoadOk);
    EXPECT_EQ(noNormals->sink.last(), "OBJ file doesn't include vertex normals! You must have these included");
    // The models stay, with their names and the file's numbers, but no vertex data.
    ASSERT_EQ(noNormals->state.models.modelCount(), 1);
    EXPECT_EQ(noNormals->model(1).name, "a");
    EXPECT_EQ(noNormals->model(1).faceCount(), 2);
    EXPECT_EQ(noNormals->model(1).faces[0].uv1, 1);
    EXPECT_EQ(noNormals->model(1).vertexCount(), 0);

    // While the file is read, a face holds the file's own numbers, and a refused file
    // keeps them: positions 1, 4, 7, texture coordinates 2, 5, 8, normals 3, 6, 9.
    auto fileNumbers = read_text("v 0 0 0\nvt 0 0\nf 1/2/3 4/5/6 7/8/9\n");
    ASSERT_EQ(fileNumbers->state.models.modelCount(), 1);
    const MeshFace& f = fileNumbers->model(1).faces.at(0);
    EXPECT_EQ(std::vector<std::int32_t>(
                  {f.vertex1, f.vertex2, f.vertex3, f.uv1, f.uv2, f.uv3, f.normal1, f.normal2, f.normal3}),
              std::vector<std::int32_t>({1, 4, 7, 2, 5, 8, 3, 6, 9}));

    auto noUvs = read_text("v 0 0 0\nvn 0 0 1\nf 1//1 1//1 1//1\n");
    EXPECT_FALSE(noUvs->ok);
    EXPECT_EQ(noUvs->sink.last(), "OBJ file doesn't include UV coordinates! You must have these included");
    EXPECT_EQ(noUvs->sink.entries.size(), 1u);
}

TEST(ObjReader, NumbersThatNameNothingAreRefusedWithTheirLine)
{
    struct Case {
        std::string faces;
        std::string part;
    };
    const Case cases[] = {
        {"f 1/1/1 0/1/1 3/1/1\n", "line 10"},           // position 0
        {"f 1/1/1 2/1/1\n", "line 10"},                 // a missing corner
        {"f 1/1/1 2/1/1 -4/1/1\n", "line 10"},          // before the first position
        {"f 1/1/1 2/1/1 4/1/1\n", "position number 4"}, // beyond the list
        {"f 1/4/1 2/1/1 3/1/1\n", "texture coordinate number 4"},
        {"f 1/1/1 2/1/-4 3/1/1\n", "line 10"},
        {"f 1/1/99999999999 2/1/1 3/1/1\n", "line 10"}, // too large to hold
    };
    for (const Case& c : cases) {
        auto r = read_text(std::string(kTriangle) + c.faces);
        EXPECT_FALSE(r->ok) << c.faces;
        EXPECT_TRUE(r->sink.has(MessageKind::Error));
        EXPECT_TRUE(r->sink.contains(c.part)) << c.faces << r->sink.last();
        EXPECT_EQ(r->state.models.modelCount(), 0);
        EXPECT_FALSE(r->state.models.objLoadOk);
    }
    // "Beyond the list" is judged at the end of the file: positions may follow the faces.
    auto later = read_text("vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\nv 0 0 0\nv 1 0 0\nv 0 1 0\n");
    EXPECT_TRUE(later->ok) << later->sink.last();
    // The line named is the one with the largest number beyond the list.
    auto named = read_text(std::string(kTriangle) + "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 2/1/1 7/1/1\n");
    EXPECT_TRUE(named->sink.contains("line 11"));
}

TEST(ObjReader, ValuesBeyondTheFloatRangeAreRefused)
{
    auto r = read_text("v 0 0 0\nv 1 4e38 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 1/1/1\n");
    EXPECT_FALSE(r->ok);
    EXPECT_TRUE(r->sink.contains("line 2"));
    EXPECT_EQ(r->state.models.modelCount(), 0);
    auto negative = read_text(std::string(kTriangle) + "vt 0 -1e300\nf 1/1/1 2/1/1 3/1/1\n");
    EXPECT_TRUE(negative->sink.contains("line 10"));
    // The largest float itself is fine.
    auto largest = read_text(std::string(kTriangle) + "v 3.4028234e38 0 0\nf 4/1/1 2/1/1 3/1/1\n");
    EXPECT_TRUE(largest->ok);
}

TEST(ObjReader, DistinctCornersAreLimitedPerModel)
{
    // One position and normal, one texture coordinate per corner: n distinct corners.
    auto model_with = [](int corners) {
        std::string text = "v 0 0 0\nvn 0 0 1\n";
        for (int i = 0; i < corners; ++i)
            text += "vt " + std::to_string(i) + " 0\n";
        text += "g big\n";
        for (int i = 0; i < corners; i += 3)
            text += "f 1/" + std::to_string(i + 1) + "/1 1/" + std::to_string(i + 2) + "/1 1/" + std::to_string(i + 3) +
                    "/1\n";
        return text;
    };
    auto limit = read_text(model_with(32766) + "f 1/32767/1 1/1/1 1/2/1\nvt 0 0\n");
    ASSERT_TRUE(limit->ok) << limit->sink.last();
    EXPECT_EQ(limit->model(1).vertexCount(), 32767);
    EXPECT_EQ(limit->model(1).faces.back().vertex1, 32767);

    auto over = read_text(model_with(32769));
    EXPECT_FALSE(over->ok);
    EXPECT_TRUE(over->sink.contains("model 1 (\"big\")"));
    EXPECT_TRUE(over->sink.contains("32767"));
    EXPECT_EQ(over->state.models.modelCount(), 0);
    EXPECT_FALSE(over->state.models.objLoadOk);
}

TEST(ObjReader, MoreThan32767ModelsAreRefused)
{
    std::string text = "v 0 0 0\nvt 0 0\nvn 0 0 1\n";
    text.reserve(32768 * 32);
    for (int i = 0; i < 32768; ++i)
        text += "g m\nf 1/1/1 1/1/1 1/1/1\n";
    auto r = read_text(text);
    EXPECT_FALSE(r->ok);
    EXPECT_TRUE(r->sink.contains("line " + std::to_string(3 + 2 * 32767 + 1)));
    EXPECT_EQ(r->state.models.modelCount(), 0);
}

TEST(ObjReader, AFileThatCannotBeLoadedLeavesTheModelsAsTheyWere)
{
    auto r = read_text(cube_obj());
    ASSERT_TRUE(r->ok);
    RecordingSink sink;
    EXPECT_FALSE(read_obj(r->state, "/nonexistent/mesh.obj", sink));
    EXPECT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.contains("53"));
    EXPECT_EQ(r->state.models.modelCount(), 1);
    EXPECT_EQ(r->model(1).vertexCount(), 24);
    EXPECT_FALSE(r->state.models.objLoadOk);

    test::TempDir dir;
    test::write_file(dir.file("empty.obj"), "");
    EXPECT_FALSE(read_obj(r->state, dir.file("empty.obj"), sink));
    EXPECT_EQ(r->state.models.modelCount(), 1);
}

TEST(ObjReader, ReadingAgainReplacesTheModelsAndTheMaterials)
{
    test::TempDir dir;
    test::write_file(dir.file("skin.mtl"), "newmtl skin\nmap_Kd .\\skin.bmp\n");
    test::write_file(dir.file("a.obj"),
                     std::string("mtllib skin.mtl\n") + kTriangle + "g a\nusemtl skin\nf 1/1/1 2/2/2 3/3/3\n");
    test::write_file(dir.file("b.obj"), std::string(kTriangle) + "g b\nf 1/1/1 2/2/2 3/3/3\n");
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(state, dir.file("a.obj"), sink));
    ASSERT_TRUE(read_obj(state, dir.file("a.obj"), sink));
    EXPECT_EQ(state.models.modelCount(), 1);
    ASSERT_EQ(state.models.materialCount(), 1);
    EXPECT_EQ(state.models.materials[0].textureFile, "skin.bmp");

    state.models.modelSource = 2;
    ASSERT_TRUE(read_obj(state, dir.file("b.obj"), sink));
    EXPECT_EQ(state.models.modelCount(), 1);
    EXPECT_EQ(state.models.materialCount(), 0);
    EXPECT_EQ(state.models.mtlFileName, "");
    EXPECT_EQ(state.models.modelSource, 1);
}

TEST(ObjReader, MaterialsGiveEveryModelItsTexture)
{
    test::TempDir dir;
    // A texture name without the ".\" prefix keeps its first characters; names shorter
    // than two characters give no texture.
    test::write_file(dir.file("m.mtl"), "newmtl skin\n  map_Kd .\\skin.bmp\nnewmtl wood\nMAP_KD wood.bmp\n"
                                        "newmtl stone\nmap_Kd ./stone.tga\nnewmtl none\nmap_Kd x\n");
    std::string text = std::string("mtllib m.mtl\nusemtl wood\n") + kTriangle;
    const char* const materials[] = {"skin", "wood", "stone", "none", "skin"};
    for (int m = 0; m < 25; ++m)
        text += "g part" + std::to_string(m + 1) + "\nusemtl " + materials[m % 5] + "\nf 1/1/1 2/2/2 3/3/3\n";
    test::write_file(dir.file("m.obj"), text);
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(state, dir.file("m.obj"), sink)) << sink.last();
    ASSERT_EQ(state.models.modelCount(), 25);
    ASSERT_EQ(state.models.materialCount(), 25);
    const auto& rows = state.models.materials;
    EXPECT_EQ(rows[0].materialName, "skin"); // the "usemtl" before any face went to row 1, then was replaced
    EXPECT_EQ(rows[0].textureFile, "skin.bmp");
    EXPECT_EQ(rows[1].textureFile, "wood.bmp");
    EXPECT_EQ(rows[2].textureFile, "stone.tga");
    EXPECT_FALSE(rows[3].textureFound);
    EXPECT_EQ(rows[3].textureFile, "");
    EXPECT_TRUE(rows[24].textureFound);
    EXPECT_EQ(rows[24].textureFile, "skin.bmp");
    EXPECT_EQ(rows[21].textureFile, "wood.bmp");
}

TEST(ObjReader, UseMtlBeforeAnyFaceGoesToRowOne)
{
    auto r = read_text(std::string("usemtl first\n") + kTriangle + "f 1/1/1 2/2/2 3/3/3\n");
    ASSERT_EQ(r->state.models.materialCount(), 1);
    EXPECT_EQ(r->state.models.materials[0].materialName, "first");
}

TEST(ObjReader, TheMtlFileIsFoundBesideTheObjFileThenInTheCurrentFolder)
{
    test::TempDir objDir, workDir;
    const std::string text = std::string("mtllib m.mtl\n") + kTriangle + "usemtl a\nf 1/1/1 2/2/2 3/3/3\n";
    test::write_file(objDir.file("m.obj"), text);
    test::write_file(workDir.file("m.mtl"), "newmtl a\nmap_Kd cwd.bmp\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(workDir.path());
    State state;
    RecordingSink sink;
    EXPECT_TRUE(read_obj(state, objDir.file("m.obj"), sink));
    EXPECT_EQ(state.models.materials.at(0).textureFile, "cwd.bmp");
    test::write_file(objDir.file("m.mtl"), "newmtl a\nmap_Kd beside.bmp\n");
    EXPECT_TRUE(read_obj(state, objDir.file("m.obj"), sink));
    EXPECT_EQ(state.models.materials.at(0).textureFile, "beside.bmp");
    std::filesystem::current_path(previous);

    // A missing MTL file is no error.
    test::TempDir lonely;
    test::write_file(lonely.file("m.obj"), text);
    sink.clear();
    EXPECT_TRUE(read_obj(state, lonely.file("m.obj"), sink));
    EXPECT_FALSE(state.models.materials.at(0).textureFound);
    EXPECT_EQ(sink.entries.size(), 1u);
}

TEST(ObjReader, DumpFilesHoldEachModelsCornersAndTriangles)
{
    test::TempDir dumps;
    ObjReadOptions options;
    options.dumpFiles = true;
    options.dumpFolder = dumps.path();
    auto r = read_text(std::string(kTriangle) + "g a\nf 1/1/1 2/2/2 3/3/3\ng b\nf 3/3/3 2/2/2 3/3/3\n", options);
    ASSERT_TRUE(r->ok);
    EXPECT_EQ(test::read_file(dumps.file("dump_object_1.obj")), "v 1 0 -.5\r\nv 0 2 0\r\nv 0 0 1.25\r\nf 1 2 3\r\n");
    EXPECT_EQ(test::read_file(dumps.file("dump_object_2.obj")), "v 0 0 1.25\r\nv 0 2 0\r\nf 1 2 1\r\n");

    // Off by default; a folder that cannot be written is passed over in silence.
    test::TempDir quiet;
    ObjReadOptions off;
    off.dumpFolder = quiet.path();
    read_text(std::string(kTriangle) + "f 1/1/1 2/2/2 3/3/3\n", off);
    EXPECT_FALSE(test::file_exists(quiet.file("dump_object_1.obj")));
    options.dumpFolder = quiet.file("missing/folder");
    auto unwritable = read_text(std::string(kTriangle) + "f 1/1/1 2/2/2 3/3/3\n", options);
    EXPECT_TRUE(unwritable->ok);
    EXPECT_EQ(unwritable->sink.entries.size(), 1u);
}

// Files made by other tools.
TEST(ObjReaderFixtures, SpiderHasNineteenGroupsWithTextures)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(state, dir + "/obj/spider.obj", sink)) << sink.last();
    const ModelSet& set = state.models;
    ASSERT_EQ(set.modelCount(), 19);
    EXPECT_EQ(set.models[0].name, "HLeib01");
    EXPECT_EQ(set.models[0].faceCount(), 80);
    EXPECT_EQ(set.models[0].vertexCount(), 42);
    EXPECT_EQ(set.models[1].name, "OK");
    EXPECT_EQ(set.models[1].vertexCount(), 37);
    EXPECT_EQ(set.models[18].name, "Duplicate05");
    EXPECT_EQ(set.models[18].vertexCount(), 26);
    ASSERT_EQ(set.materialCount(), 19);
    EXPECT_EQ(set.materials[0].textureFile, "SpiderTex.jpg");
    EXPECT_EQ(set.materials[1].textureFile, "wal67ar_small.jpg");
    EXPECT_EQ(set.materials[18].textureFile, "engineflare1.jpg");
    EXPECT_EQ(sink.last(), "Finished reading obj file. Number of models:19");
}

TEST(ObjReaderFixtures, OtherToolsFiles)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(state, dir + "/obj/issue-138.obj", sink));
    ASSERT_EQ(state.models.modelCount(), 2);
    EXPECT_EQ(state.models.models[0].name, "test1");
    EXPECT_EQ(state.models.models[0].vertexCount(), 4);
    EXPECT_EQ(state.models.models[1].name, "test2");
    EXPECT_EQ(state.models.models[1].vertexCount(), 20);
    EXPECT_EQ(state.models.models[1].faceCount(), 10);
    // "usemtl test2" comes while model 1 is current, before "g test2".
    EXPECT_EQ(state.models.materials.at(0).materialName, "test2");

    sink.clear();
    ASSERT_TRUE(read_obj(state, dir + "/obj/map-bump.obj", sink));
    ASSERT_EQ(state.models.modelCount(), 1);
    EXPECT_EQ(state.models.models[0].name, "Cube");
    EXPECT_EQ(state.models.models[0].faceCount(), 400);
    EXPECT_EQ(state.models.models[0].vertexCount(), 676);
    EXPECT_EQ(sink.entries.size(), 1u);

    // Quads and relative numbers, but neither normals nor texture coordinates: the
    // normals are missed first.
    sink.clear();
    EXPECT_FALSE(read_obj(state, dir + "/obj/cornell_box.obj", sink));
    EXPECT_EQ(sink.last(), "OBJ file doesn't include vertex normals! You must have these included");
    EXPECT_FALSE(state.models.objLoadOk);
}
