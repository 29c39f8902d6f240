// Writing OBJ files: a model's exact text and its round trip through the OBJ reader; a
// GMDC converted ("Convert to OBJ") with its text derived by hand, lossless numbers and
// separate running numbers per kind of line; and the refusals, which leave no file.
#include "mesh/gmdc_to_obj.h"
#include "mesh/mesh_text.h"
#include "mesh/obj_writer.h"
#include "support/gmdc_builders.h"
#include "support/model_builders.h"
#include "support/test_support.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

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

TEST(ObjWriter, WritesTheModelsTextAndRefusesWhatCannotBeWritten)
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
    RecordingSink sink;
    ASSERT_TRUE(write_obj(state_with(triangle_model()), out, 1, sink) && sink.empty()) << sink.last();
    EXPECT_EQ(read_file(out), "v  1  0 -.5 \r\nv  0  2  0 \r\nv  0  0  1.25 \r\n"
                              "vn  0  0  1 \r\nvn -.25  3  .1 \r\nvn  1  0  0 \r\n"
                              "vt  .25 -.75 \r\nvt  1  0 \r\nvt  0  1E-05 \r\n"
                              "f 1/1/1 2/2/2 3/3/3\r\n");
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
    const MeshModel b = read_obj_text(format_obj(m)).model();
    ASSERT_EQ(b.vertexCount(), 201);
    const std::vector<float> got[] = {flat(b.vertices), flat(b.normals), flat(b.uvs)};
    const std::vector<float> want[] = {flat(m.vertices), flat(m.normals), flat(m.uvs)};
    for (int k = 0; k < 3; ++k)
        for (std::size_t i = 0; i < want[k].size(); ++i)
            EXPECT_NEAR(got[k][i], k == 2 && i % 2 ? -want[k][i] : want[k][i], std::fabs(want[k][i]) * 6e-7)
                << k << " " << i;
    EXPECT_EQ(b.faces.back().vertex3, 201);
}

// Group 0: four positions (the last one the writer's padding), three texture coordinates
// and three normals, used by "seat" (one triangle). Group 1: positions only, used by "leg".
GmdcFile make_chair()
{
    GmdcFile g = make_empty_gmdc();
    const std::pair<std::uint32_t, std::vector<float>> lists[] = {
        {kIdentityPositions, {0, 0, 0, 1, 0, 0, 0, 1.5f, -2, 0, 0, 0}},
        {kIdentityNormals, {0, 0, 1, 0, 0, 1, 0, 0, -1}},
        {kIdentityTexCoords, {0, 0, 1, 0.25f, 0.5f, -0.75f}},
        {kIdentityPositions, {0.1f, 0.2f, 0.3f, 4, 5, 6, 7, 8, 9}}};
    g.dataLists.resize(4);
    for (std::size_t i = 0; i < 4; ++i)
        std::tie(g.dataLists[i].identity, g.dataLists[i].floatValues) = lists[i];
    g.objectGroups.resize(2);
    g.objectGroups[0].dataListIndices = {0, 1, 2};
    g.objectGroups[1].dataListIndices = {3};
    g.objects = {{.name = "seat", .faces = {0, 1, 2}, .blockB = {}},
                 {.objectGroupIndex = 1, .name = "leg", .faces = {2, 1, 0}, .blockB = {}}};
    return g;
}

std::string text_of(const GmdcFile& g, double scale = 100)
{
    std::string out, error;
    EXPECT_TRUE(gmdc_to_obj_text(g, scale, out, error)) << error;
    return out;
}

TEST(GmdcToObj, EveryObjectIsAGroupWithItsOwnListsRunningNumbersAndExactFloats)
{
    // vt carries -v: the reader negates it back to the stored value (-0 for a stored 0).
    const std::string expected = "g seat\r\n"
                                 "v 0 0 0\r\nv 1 0 0\r\nv 0 1.5 -2\r\nv 0 0 0\r\n"
                                 "vt 0 -0\r\nvt 1 -0.25\r\nvt 0.5 0.75\r\n"
                                 "vn 0 0 1\r\nvn 0 0 1\r\nvn 0 0 -1\r\n"
                                 "f 1/1/1 2/2/2 3/3/3\r\n"
                                 "g leg\r\n"
                                 "v 0.1 0.2 0.3\r\nv 4 5 6\r\nv 7 8 9\r\n"
                                 // positions continue after the seat's four; no vt, no vn
                                 "f 7 6 5\r\n";
    GmdcFile g = make_chair();
    EXPECT_EQ(text_of(g), expected);
    EXPECT_EQ(text_of(make_empty_gmdc()), "");
    // A second object on the seat's group writes the group's lists again, numbered after
    // the first copy: four more positions but only three more texture coordinates. The
    // scale moves positions only.
    g.objects.insert(g.objects.begin() + 1, GmdcObject{.name = "back", .faces = {2, 0, 1}, .blockB = {}});
    const std::string text = text_of(g, 200);
    for (const char* line : {"g back\r\n", "f 7/6/6 5/4/4 6/5/5\r\n", "f 11 10 9\r\n", "v 0 3 -4\r\n", "v 8 10 12\r\n",
                             "vn 0 0 -1\r\n", "vt 0.5 0.75\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;

    // Every number reads back to the very same float.
    const std::vector<float> values = {0.1f,    1.0f / 3.0f, -2.5e-10f, 123456.79f, FLT_MAX,
                                       FLT_MIN, 1e-45f,      -0.0f,     16777217.0f};
    g.dataLists[3].floatValues = values; // the leg's positions
    const std::string leg = text_of(g);
    std::istringstream words(leg.substr(leg.find("g leg\r\n") + 7));
    std::vector<float> back;
    for (std::string w; words >> w && w != "f";)
        if (w != "v")
            back.push_back(std::strtof(w.c_str(), nullptr));
    ASSERT_EQ(back.size(), values.size());
    EXPECT_EQ(std::memcmp(back.data(), values.data(), sizeof(float) * values.size()), 0);
}

TEST(GmdcToObj, FacesOutsideTheirListsAndOtherFaultsAreRefused)
{
    const struct {
        void (*breakIt)(GmdcFile&);
        double scale;
        const char* says;
    } cases[] = {
        {[](GmdcFile& g) { g.objects[0].faces[1] = -1; }, 100,
         "Object 1 (\"seat\"): face index -1 at position 2 lies outside its vertex-position list"},
        // index 3 is the padding position, but there are only three texture coordinates
        {[](GmdcFile& g) { g.objects[0].faces[2] = 3; }, 100,
         "face index 3 at position 3 lies outside its texture-coordinate list of 3 entries"},
        {[](GmdcFile& g) { g.objects[1].faces[0] = 3; }, 100, "Object 2 (\"leg\"): face index 3"},
        {[](GmdcFile& g) { g.objects[1].objectGroupIndex = 2; }, 100, "uses object group 2"},
        {[](GmdcFile& g) { g.objects[0].faces.pop_back(); }, 100, "2 face indices"},
        {[](GmdcFile& g) { g.dataLists[1].floatValues[4] = INFINITY; }, 100,
         "value 5 of its normal list is not a finite number"},
        {[](GmdcFile& g) { g.dataLists[0].floatValues[4] = FLT_MAX; }, 300, "after scaling"},
        {[](GmdcFile&) {}, NAN, "scale"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        GmdcFile g = make_chair();
        c.breakIt(g);
        RecordingSink sink;
        EXPECT_FALSE(write_gmdc_as_obj(g, dir.file("out.obj"), c.scale, sink));
        EXPECT_TRUE(sink.contains(c.says)) << sink.last();
    }
    EXPECT_FALSE(file_exists(dir.file("out.obj")));
}

} // namespace
} // namespace mw::test
