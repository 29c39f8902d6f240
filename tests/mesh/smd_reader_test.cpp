// The SMD reader: the triangles section, bone modes and links, and the files it refuses.
#include "checks/smd_checks.h"
#include "mesh/mesh_text.h"
#include "support/model_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

using Bones = std::vector<std::int16_t>;

// 12 lines: the triangles begin on line 13.
const std::string kHeader = "version 1\nnodes\n0 \"root\" -1\n1 \"arm\" 0\nend\nskeleton\ntime 0\n"
                            "0 0 0 0 0 0 0\n1 1 0 0 0 0 0\nend\ntriangles\n";

std::string smd(const std::string& body)
{
    return kHeader + body + "end\n";
}

// A triangle on parent bone `bone`, its vertices at (k, 0, 0), texture v = 0.25.
std::string triangle(const std::string& material, int bone, const std::string& links = "")
{
    std::string text = material + "\n";
    for (int k = 1; k <= 3; ++k)
        text += std::to_string(bone) + " " + std::to_string(k) + " 0 0 0 0 1 0.5 0.25" + links + "\n";
    return text;
}

TEST(SmdReader, OneBonePerVertexOrWeightedLinksByTheFirstVertexOrAnOption)
{
    // The first vertex not on bone 0: one parent bone per vertex, links not read.
    const TextRead one = read_smd_text(
        smd("skin.bmp\n5 1 2 3 0 0 1 0.5 0.5\n6 4 5 6 0 1 0 0.1 0.25 2 3 0.6 7 0.4\n7 7 8 9 1 0 0 0 1\n"));
    ASSERT_TRUE(one.ok) << one.sink.last();
    const MeshModel& o = one.model();
    EXPECT_TRUE(one.state.models.modelSource == 2 && o.name == "object 1" && o.boneMode == 1);
    EXPECT_EQ(o.bone1, (Bones{5, 6, 7}));
    EXPECT_TRUE(o.bone2.empty() && o.weight1.empty());
    // The texture's v is stored as 1 - v.
    EXPECT_EQ(flat(o.vertices), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(flat(o.normals), (std::vector<float>{0, 0, 1, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(flat(o.uvs), (std::vector<float>{0.5f, 0.5f, 0.1f, 0.75f, 0, 0}));
    EXPECT_EQ(o.faceCount(), 1);

    // The first vertex on bone 0: weighted links. A vertex without links, or with a negative
    // count, hangs on its parent bone with the full weight; weights stay as read.
    const TextRead r = read_smd_text(smd("skin.bmp\n0 1.0 2.0 3.0 0 0 1 0.25 0.75\n4 0 0 0 0 0 1 0 0 2 3 0.6 7 0.4\n"
                                         "4 0 0 0 0 0 1 0 0 3 1 0.5 2 0.3 9 0.25\nskin.bmp\n4 0 0 0 0 0 1 0 0 1 2 0.7\n"
                                         "4 0 0 0 0 0 1 0 0 0\n6 0 0 0 0 0 1 0 0 -2\n"));
    ASSERT_TRUE(r.ok) << r.sink.last();
    const MeshModel& m = r.model();
    EXPECT_TRUE(m.boneMode == 2 && m.vertexCount() == 6 && m.faceCount() == 2);
    EXPECT_EQ(m.boneLinkCount, (Bones{0, 2, 3, 1, 0, 0}));
    EXPECT_EQ(m.bone1, (Bones{0, 3, 1, 2, 4, 6}));
    EXPECT_EQ(m.bone2, (Bones{-1, 7, 2, -1, -1, -1}));
    EXPECT_EQ(m.bone3, (Bones{-1, -1, 9, -1, -1, -1}));
    EXPECT_EQ(m.weight1, (std::vector<float>{1.0f, 0.6f, 0.5f, 0.7f, 1.0f, 1.0f}));
    EXPECT_EQ(m.weight2, (std::vector<float>{0, 0.4f, 0.3f, 0, 0, 0}));
    EXPECT_EQ(m.weight3, (std::vector<float>{0, 0, 0.25f, 0, 0, 0}));

    for (const SmdReadOptions& options : {SmdReadOptions{.studio3dsSmd = true}, SmdReadOptions{.using3dsMax = true}}) {
        const TextRead ticked = read_smd_text(smd(triangle("a.bmp", 5, " 1 3 1.0")), options);
        EXPECT_EQ(ticked.model().boneMode, 2);
        EXPECT_EQ(ticked.model().bone1, (Bones{3, 3, 3}));
    }
}

TEST(SmdReader, LinesAreKnownByTheirPlaceAndIndentationIsJudgedLineByLine)
{
    // Material names of any kind; a positive number after a space or a tab; blank lines
    // are no vertices; a seventh vertex makes no triangle; no final "end"; a later section
    // is not read.
    const std::string body = "no_material\n 0 1 2 3 0 0 1 0.5 0.25 1 3 1\n\t2 4 5 6 0 1 0 0.5 0.25 1 -1 1\n"
                             "-1 7 8 9 1 0 0 0.5 0.25 1 4 0.5\n\n   \n" +
                             triangle("  indented name", 3) + "m\n3 0 0 0 0 0 1 0 0";
    std::string indented;
    for (const char c : kHeader + body)
        indented += c == '\n' ? "\n  " : std::string(1, c);
    for (const std::string& text :
         {kHeader + body, "  " + indented, kHeader + body + "\nend\nvertexanimation\ntime 0\n0 0 0 0 0 0 1\nend\n"}) {
        const TextRead r = read_smd_text(text);
        ASSERT_TRUE(r.ok) << r.sink.last();
        EXPECT_EQ(r.model().vertexCount(), 7);
        ASSERT_EQ(r.model().faceCount(), 2);
        EXPECT_EQ(r.model().faces[1].vertex1, 4);
        EXPECT_EQ(r.model().bone1, (Bones{3, -1, 4, 3, 3, 3, 3}));
        EXPECT_EQ(r.model().vertices[2].z, 9.0f);
        EXPECT_EQ(r.model().vertices[5].x, 3.0f);
    }
}

TEST(SmdReader, RefusedFilesLeaveTheModelSetUnchanged)
{
    const std::string tooMany =
        triangle("m", 0, " 3 1 0.25 2 0.25 3 0.25") + triangle("m", 0, " 4 1 0.2 2 0.2 3 0.2 4 0.2");
    std::string vertices;
    for (int t = 0; t < 10922; ++t)
        vertices += triangle("m", 2);
    vertices += "m\n2 0 0 0 0 0 1 0 0\n"; // 32767 vertex lines
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {smd(tooMany),
         "This file has more than 3 bones assigned to some of the vertices, the game doesn`t support this."},
        {"version 1\nnodes\n0 \"root\" -1\nend\n", "no \"triangles\" section"},
        // An empty section, or one without a whole triangle, is refused like a missing one.
        {smd(""), "no triangles"},
        {smd("skin.bmp\n0 0 0 0 0 0 1 0 0\n"), "no triangles"},
        {smd("m\n40000 0 0 0 0 0 1 0 0\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 1 -32769 1\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 70000\n"), "line 13"},
        {smd(triangle("m", 3) + "m\n3 0 1e39 0 0 0 1 0 0\n"), "line 17"},
        {smd("m\n3 0 0 0 0 0 1 0 -4e38\n"), "line 13"},
        {smd("m\n0 0 0 0 0 0 1 0 0 1 2 1e40\n"), "line 13"},
        {smd(vertices + "2 0 0 0 0 0 1 0 0\n"), "32767"},
    };
    for (const auto& c : cases) {
        State state;
        state.models.models.resize(2);
        state.models.models[0].name = "kept";
        RecordingSink sink;
        StringSource source("m.smd", c.text);
        EXPECT_FALSE(read_smd(state, source, sink)) << c.message;
        ASSERT_EQ(sink.entries.size(), 1u);
        EXPECT_TRUE(sink.contains(c.message)) << sink.last();
        EXPECT_TRUE(state.models.modelCount() == 2 && state.models.models[0].name == "kept" &&
                    state.models.modelSource == 1);
    }
    EXPECT_EQ(read_smd_text(smd(vertices)).model().vertexCount(), 32767);
}

// Files made by other tools: the GoldSource cube (one parent bone per vertex, CR LF line
// ends) holds the same geometry as the Source one (weighted links).
TEST(SmdReaderFixtures, SourceAndGoldSourceCubesAgree)
{
    const std::string dir = fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    for (const char* name : {"cube_armature.smd", "cube_armature_goldsource.smd", "triangle.smd", "holy_grailref.smd"})
        EXPECT_EQ(fuzz::check_smd(read_file(dir + "/smd/" + name)) +
                      read_smd_text(read_file(dir + "/smd/" + name)).sink.last(),
                  "Finished reading smd file. Number of models:1")
            << name;
    const TextRead source = read_smd_text(read_file(dir + "/smd/cube_armature.smd"));
    const TextRead gold = read_smd_text(read_file(dir + "/smd/cube_armature_goldsource.smd"));
    ASSERT_TRUE(source.ok && gold.ok);
    const std::size_t n = source.model().vertices.size();
    EXPECT_TRUE(source.model().boneMode == 2 && gold.model().boneMode == 1);
    EXPECT_EQ(source.model().bone1, Bones(n, 1));
    EXPECT_EQ(source.model().weight1, std::vector<float>(n, 1.0f));
    EXPECT_EQ(flat(gold.model().vertices), flat(source.model().vertices));
    EXPECT_EQ(flat(gold.model().uvs), flat(source.model().uvs));
}

} // namespace
} // namespace mw::test
