// The SMD reader: the triangles section, bone modes and links, and the files it refuses.
#include "mesh/smd_reader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <memory>

using namespace mw;

namespace {

const char* const kFinished = "Finished reading smd file. Number of models:1";

struct SmdRead {
    State state;
    RecordingSink sink;
    bool ok = false;

    const MeshModel& model() const { return state.models.models.at(0); }
};

std::unique_ptr<SmdRead> read_text(const std::string& text, const SmdReadOptions& options = {})
{
    test::TempDir dir;
    const std::string path = dir.file("mesh.smd");
    test::write_file(path, text);
    auto r = std::make_unique<SmdRead>();
    r->ok = read_smd(r->state, path, r->sink, options);
    return r;
}

const char* const kHeader = "version 1\nnodes\n0 \"root\" -1\n1 \"arm\" 0\nend\nskeleton\ntime 0\n"
                            "0 0 0 0 0 0 0\n1 1 0 0 0 0 0\nend\ntriangles\n";

std::string smd(const std::string& body)
{
    return std::string(kHeader) + body + "end\n";
}

// A triangle on parent bone `bone`, its vertices at (k, 0, 0), texture v = 0.25.
std::string triangle(const std::string& material, int bone, const std::string& links = "")
{
    std::string text = material + "\n";
    for (int k = 1; k <= 3; ++k)
        text += std::to_string(bone) + " " + std::to_string(k) + " 0 0 0 0 1 0.5 0.25" + links + "\n";
    return text;
}

} // namespace

TEST(SmdReader, OneBonePerVertexWhenTheFirstVertexIsNotOnBoneZero)
{
    auto r =
        read_text(smd("skin.bmp\n5 1 2 3 0 0 1 0.5 0.5\n6 4 5 6 0 1 0 0.1 0.25 2 3 0.6 7 0.4\n7 7 8 9 1 0 0 0 1\n"));
    ASSERT_TRUE(r->ok) << r->sink.last();
    EXPECT_EQ(r->sink.last(), kFinished);
    EXPECT_EQ(r->state.models.modelSource, 2);
    ASSERT_EQ(r->state.models.modelCount(), 1);
    const MeshModel& m = r->model();
    EXPECT_EQ(m.name, "object 1");
    EXPECT_EQ(m.boneMode, 1);
    EXPECT_EQ(m.vertexCount(), 3);
    EXPECT_EQ(m.boneVertexCount(), 3);
    EXPECT_EQ(m.bone1, (std::vector<std::int16_t>{5, 6, 7}));
    EXPECT_TRUE(m.bone2.empty());
    EXPECT_TRUE(m.weight1.empty());
    EXPECT_EQ(m.vertices[1].y, 5.0f);
    EXPECT_EQ(m.normals[2].x, 1.0f);
    EXPECT_EQ(m.uvs[0].u, 0.5f);
    EXPECT_EQ(m.uvs[0].v, 0.5f);
    EXPECT_EQ(m.uvs[1].v, 0.75f);
    EXPECT_EQ(m.uvs[2].v, 0.0f);
    ASSERT_EQ(m.faceCount(), 1);
    EXPECT_EQ(m.faces[0].vertex1, 1);
    EXPECT_EQ(m.faces[0].vertex3, 3);
    EXPECT_EQ(m.faces[0].normal1 | m.faces[0].uv3, 0);
}

TEST(SmdReader, WeightedLinksWhenTheFirstVertexIsOnBoneZero)
{
    auto r = read_text(smd("skin.bmp\n0 1.0 2.0 3.0 0 0 1 0.25 0.75\n4 0 0 0 0 0 1 0 0 2 3 0.6 7 0.4\n"
                           "4 0 0 0 0 0 1 0 0 3 1 0.5 2 0.3 9 0.25\nskin.bmp\n4 0 0 0 0 0 1 0 0 1 2 0.7\n"
                           "4 0 0 0 0 0 1 0 0 0\n"));
    ASSERT_TRUE(r->ok) << r->sink.last();
    const MeshModel& m = r->model();
    EXPECT_EQ(m.boneMode, 2);
    EXPECT_EQ(m.vertexCount(), 5);
    EXPECT_EQ(m.faceCount(), 1);
    EXPECT_EQ(m.uvs[0].v, 0.25f);
    EXPECT_EQ(m.boneLinkCount, (std::vector<std::int16_t>{0, 2, 3, 1, 0}));
    // A vertex without links hangs on its parent bone with the full weight.
    EXPECT_EQ(m.bone1, (std::vector<std::int16_t>{0, 3, 1, 2, 4}));
    EXPECT_EQ(m.bone2, (std::vector<std::int16_t>{-1, 7, 2, -1, -1}));
    EXPECT_EQ(m.bone3, (std::vector<std::int16_t>{-1, -1, 9, -1, -1}));
    EXPECT_EQ(m.weight1, (std::vector<float>{1.0f, 0.6f, 0.5f, 0.7f, 1.0f}));
    EXPECT_EQ(m.weight2, (std::vector<float>{0, 0.4f, 0.3f, 0, 0}));
    EXPECT_EQ(m.weight3, (std::vector<float>{0, 0, 0.25f, 0, 0})); // as read, not normalised
}

TEST(SmdReader, EitherCheckBoxMakesEveryFileWeighted)
{
    const std::string text = smd(triangle("a.bmp", 5, " 1 3 1.0"));
    EXPECT_EQ(read_text(text)->model().boneMode, 1);
    SmdReadOptions studio;
    studio.studio3dsSmd = true;
    SmdReadOptions max;
    max.using3dsMax = true;
    for (const SmdReadOptions& options : {studio, max}) {
        auto r = read_text(text, options);
        ASSERT_TRUE(r->ok);
        EXPECT_EQ(r->model().boneMode, 2);
        EXPECT_EQ(r->model().bone1, (std::vector<std::int16_t>{3, 3, 3}));
    }
}

TEST(SmdReader, MaterialLinesAreKnownByTheirPlaceNotTheirName)
{
    const std::string named = smd(triangle("skin.bmp", 0) + triangle("hair.tga", 0));
    for (const std::string& other : {smd(triangle("no_material", 0) + triangle("skin.png", 0)),
                                     smd(triangle("none.quak", 0) + triangle("  indented name", 0))}) {
        auto a = read_text(named);
        auto b = read_text(other);
        ASSERT_TRUE(b->ok) << b->sink.last();
        EXPECT_EQ(b->model().vertexCount(), 6);
        ASSERT_EQ(b->model().faceCount(), 2);
        EXPECT_EQ(b->model().faces[1].vertex1, a->model().faces[1].vertex1);
        EXPECT_EQ(b->model().faces[1].vertex3, 6);
        EXPECT_EQ(b->model().vertices[5].x, a->model().vertices[5].x);
    }
}

TEST(SmdReader, IndentationIsJudgedLineByLine)
{
    const std::string plain = smd("m\n0 1 2 3 0 0 1 0.5 0.25 1 3 1\n2 4 5 6 0 1 0 0.5 0.25 1 -1 1\n"
                                  "-1 7 8 9 1 0 0 0.5 0.25 1 4 0.5\n");
    // The SMD writer starts a positive number with a space and a negative one with "-".
    const std::string mixed = smd("m\n 0 1 2 3 0 0 1 0.5 0.25 1 3 1\n\t2 4 5 6 0 1 0 0.5 0.25 1 -1 1\n"
                                  "-1 7 8 9 1 0 0 0.5 0.25 1 4 0.5\n");
    // A file indented throughout reads like one that is not.
    std::string indented;
    for (std::size_t start = 0; start < plain.size();) {
        const std::size_t end = plain.find('\n', start);
        indented += "  " + plain.substr(start, end + 1 - start);
        start = end + 1;
    }
    auto c = read_text(indented);
    ASSERT_TRUE(c->ok) << c->sink.last();
    auto a = read_text(plain);
    EXPECT_EQ(c->model().bone1, a->model().bone1);
    EXPECT_EQ(c->model().vertices[1].y, a->model().vertices[1].y);
    EXPECT_EQ(c->model().uvs[2].v, a->model().uvs[2].v);
    auto b = read_text(mixed);
    ASSERT_TRUE(a->ok);
    ASSERT_TRUE(b->ok);
    EXPECT_EQ(b->model().bone1, a->model().bone1);
    EXPECT_EQ(b->model().bone1, (std::vector<std::int16_t>{3, -1, 4}));
    EXPECT_EQ(b->model().vertices[2].z, 9.0f);
    EXPECT_EQ(b->model().weight1, a->model().weight1);
}

TEST(SmdReader, EveryThreeVertexLinesFormATriangleAndBlankLinesAreNone)
{
    std::string six = triangle("m", 3) + "\n   \n\t\n" + triangle("m", 3);
    auto r = read_text(smd(six));
    ASSERT_TRUE(r->ok);
    EXPECT_EQ(r->model().vertexCount(), 6);
    ASSERT_EQ(r->model().faceCount(), 2);
    EXPECT_EQ(r->model().faces[1].vertex1, 4);
    EXPECT_EQ(r->model().faces[1].vertex2, 5);
    EXPECT_EQ(r->model().faces[1].vertex3, 6);

    // A seventh vertex line counts as a vertex but makes no triangle.
    auto seven = read_text(smd(six + "m\n3 0 0 0 0 0 1 0 0\n"));
    EXPECT_EQ(seven->model().vertexCount(), 7);
    EXPECT_EQ(seven->model().faceCount(), 2);

    // No final line end, no "end": the empty entry after the last line is no vertex.
    auto open = read_text(std::string(kHeader) + six.substr(0, six.size() - 1));
    EXPECT_EQ(open->model().vertexCount(), 6);
}

TEST(SmdReader, ReadingStopsAtTheEndOfTheTrianglesSection)
{
    auto r = read_text(smd(triangle("m", 3)) + "vertexanimation\ntime 0\n0 0 0 0 0 0 1\nend\n");
    ASSERT_TRUE(r->ok);
    EXPECT_EQ(r->model().vertexCount(), 3);
    // An empty section holds no mesh: refused like a missing one.
    EXPECT_FALSE(read_text(smd(""))->ok);
}

TEST(SmdReader, RefusedFilesLeaveTheModelSetUnchanged)
{
    struct Case {
        std::string text;
        std::string message;
    };
    std::string tooMany = triangle("m", 0, " 3 1 0.25 2 0.25 3 0.25");
    tooMany += triangle("m", 0, " 4 1 0.25 2 0.25 3 0.25 4 0.25");
    const Case cases[] = {
        {smd(tooMany),
         "This file has more than 3 bones assigned to some of the vertices, the game doesn`t support this."},
        {"version 1\nnodes\n0 \"root\" -1\nend\n", "no \"triangles\" section"},
        {smd("m\n40000 0 0 0 0 0 1 0 0\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 1 -32769 1\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 70000\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 -1\n"), "no triangles"},
        {smd(triangle("m", 3) + "m\n3 0 1e39 0 0 0 1 0 0\n"), "line 17"},
        {smd("m\n3 0 0 0 0 0 1 0 -4e38\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 1 2 1e40\n"), "line 13"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::write_file(dir.file("m.smd"), c.text);
        State state;
        state.models.models.resize(2);
        state.models.models[0].name = "kept";
        RecordingSink sink;
        EXPECT_FALSE(read_smd(state, dir.file("m.smd"), sink)) << c.text;
        ASSERT_EQ(sink.entries.size(), 1u);
        EXPECT_TRUE(sink.contains(c.message)) << sink.last();
        EXPECT_EQ(state.models.modelCount(), 2);
        EXPECT_EQ(state.models.models[0].name, "kept");
        EXPECT_EQ(state.models.modelSource, 1);
    }
    State state;
    RecordingSink sink;
    EXPECT_FALSE(read_smd(state, "/nonexistent/m.smd", sink));
    EXPECT_TRUE(sink.contains("53"));
}

TEST(SmdReader, MoreThan32767VertexLinesAreRefused)
{
    std::string body;
    for (int t = 0; t < 10922; ++t)
        body += triangle("m", 2);
    body += "m\n2 0 0 0 0 0 1 0 0\n";
    auto limit = read_text(smd(body));
    ASSERT_TRUE(limit->ok);
    EXPECT_EQ(limit->model().vertexCount(), 32767);
    auto over = read_text(smd(body + "2 0 0 0 0 0 1 0 0\n"));
    EXPECT_FALSE(over->ok);
    EXPECT_TRUE(over->sink.contains("32767"));
}

TEST(SmdReader, ReplacesEveryModelOfTheSet)
{
    test::TempDir dir;
    test::write_file(dir.file("m.smd"), smd(triangle("m", 3)));
    State state;
    state.models.models.resize(3);
    state.models.materials.resize(1);
    state.models.materials[0].materialName = "kept";
    RecordingSink sink;
    ASSERT_TRUE(read_smd(state, dir.file("m.smd"), sink));
    EXPECT_EQ(state.models.modelCount(), 1);
    EXPECT_EQ(state.models.materials.at(0).materialName, "kept");
}

// Files made by other tools.
TEST(SmdReaderFixtures, SourceAndGoldSourceCubes)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_smd(state, dir + "/smd/cube_armature.smd", sink)) << sink.last();
    const MeshModel source = state.models.models.at(0);
    EXPECT_EQ(source.boneMode, 2);
    EXPECT_EQ(source.vertexCount(), 36);
    EXPECT_EQ(source.faceCount(), 12);
    EXPECT_EQ(source.bone1, std::vector<std::int16_t>(36, 1));
    EXPECT_EQ(source.bone2, std::vector<std::int16_t>(36, -1));
    EXPECT_EQ(source.weight1, std::vector<float>(36, 1.0f));
    EXPECT_EQ(source.boneLinkCount, std::vector<std::int16_t>(36, 1));

    // One parent bone per vertex, CR LF line ends: the same geometry.
    ASSERT_TRUE(read_smd(state, dir + "/smd/cube_armature_goldsource.smd", sink)) << sink.last();
    const MeshModel& gold = state.models.models.at(0);
    EXPECT_EQ(gold.boneMode, 1);
    EXPECT_EQ(gold.bone1, std::vector<std::int16_t>(36, 1));
    ASSERT_EQ(gold.vertexCount(), 36);
    for (int i = 0; i < 36; ++i) {
        EXPECT_EQ(gold.vertices[i].x, source.vertices[i].x);
        EXPECT_EQ(gold.uvs[i].v, source.uvs[i].v);
    }
}

TEST(SmdReaderFixtures, TriangleAndHolyGrail)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    State state;
    RecordingSink sink;
    // Material "none.quak", no line end after the final "end", vertices without links.
    ASSERT_TRUE(read_smd(state, dir + "/smd/triangle.smd", sink)) << sink.last();
    const MeshModel& tri = state.models.models.at(0);
    EXPECT_EQ(tri.vertexCount(), 3);
    EXPECT_EQ(tri.faceCount(), 1);
    EXPECT_EQ(tri.boneMode, 2);
    EXPECT_EQ(tri.bone1, std::vector<std::int16_t>(3, 0));
    EXPECT_EQ(tri.weight1, std::vector<float>(3, 1.0f));
    EXPECT_EQ(tri.uvs[2].u, 1.0f);
    EXPECT_EQ(tri.uvs[2].v, 0.0f);

    ASSERT_TRUE(read_smd(state, dir + "/smd/holy_grailref.smd", sink)) << sink.last();
    EXPECT_EQ(state.models.models.at(0).faceCount(), 896);
    EXPECT_EQ(state.models.models.at(0).vertexCount(), 3 * 896);
    EXPECT_EQ(sink.last(), kFinished);
}
