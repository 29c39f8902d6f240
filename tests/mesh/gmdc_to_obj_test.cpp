// "Convert to OBJ": the OBJ text of a GMDC derived by hand, lossless numbers, separate
// running numbers per kind of line, and refusals that leave no file.
#include "mesh/gmdc_to_obj.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

using namespace mw;

namespace {

DataList floats(std::uint32_t identity, std::vector<float> values, int perRecord)
{
    DataList d;
    d.identity = identity;
    d.recordCount = static_cast<std::int32_t>(values.size()) / perRecord;
    d.floatValues = std::move(values);
    return d;
}

GmdcObject object(const char* name, std::vector<std::int16_t> faces, std::int32_t group = 0)
{
    GmdcObject o;
    o.name = name;
    o.faces = std::move(faces);
    o.objectGroupIndex = group;
    return o;
}

// Group 0: four positions (the last one the writer's padding), three texture coordinates
// and three normals, used by "seat" (one triangle). Group 1: positions only, used by "leg".
GmdcFile make_chair()
{
    GmdcFile g = test::make_empty_gmdc();
    g.dataLists = {
        floats(kIdentityPositions, {0, 0, 0, 1, 0, 0, 0, 1.5f, -2, 0, 0, 0}, 3),
        floats(kIdentityNormals, {0, 0, 1, 0, 0, 1, 0, 0, -1}, 3),
        floats(kIdentityTexCoords, {0, 0, 1, 0.25f, 0.5f, -0.75f}, 2),
        floats(kIdentityPositions, {0.1f, 0.2f, 0.3f, 4, 5, 6, 7, 8, 9}, 3),
    };
    g.objectGroups.resize(2);
    g.objectGroups[0].dataListIndices = {0, 1, 2};
    g.objectGroups[1].dataListIndices = {3};
    g.objects = {object("seat", {0, 1, 2}), object("leg", {2, 1, 0}, 1)};
    return g;
}

std::string text_of(const GmdcFile& g, double scale = 100)
{
    std::string out, error;
    EXPECT_TRUE(gmdc_to_obj_text(g, scale, out, error)) << error;
    return out;
}

std::string refusal(const GmdcFile& g, double scale = 100)
{
    test::TempDir dir;
    RecordingSink sink;
    EXPECT_FALSE(write_gmdc_as_obj(g, dir.file("out.obj"), scale, sink));
    EXPECT_FALSE(test::file_exists(dir.file("out.obj")));
    return sink.last();
}

} // namespace

TEST(GmdcToObj, EveryObjectIsAGroupWithItsOwnLists)
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
    EXPECT_EQ(text_of(make_chair()), expected);
}

TEST(GmdcToObj, EachKindOfLineKeepsItsOwnRunningNumberAndScaleMovesPositionsOnly)
{
    GmdcFile g = make_chair();
    // A second object on the seat's group writes the group's lists again, numbered after
    // the first copy: four more positions but only three more texture coordinates.
    g.objects.insert(g.objects.begin() + 1, object("back", {2, 0, 1}));
    const std::string text = text_of(g, 200);
    for (const char* line : {"g back\r\n", "f 7/6/6 5/4/4 6/5/5\r\n", "f 11 10 9\r\n", "v 0 3 -4\r\n", "v 8 10 12\r\n",
                             "vn 0 0 -1\r\n", "vt 0.5 0.75\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    EXPECT_EQ(text_of(test::make_empty_gmdc()), "");
}

TEST(GmdcToObj, NumbersReadBackToTheSameFloats)
{
    const std::vector<float> values = {0.1f,    1.0f / 3.0f, -2.5e-10f, 123456.79f, FLT_MAX,
                                       FLT_MIN, 1e-45f,      -0.0f,     16777217.0f};
    GmdcFile g = make_chair();
    g.dataLists[3].floatValues = values; // the leg's positions
    const std::string text = text_of(g);
    std::istringstream words(text.substr(text.find("g leg")));
    std::vector<float> back;
    for (std::string w; words >> w && w != "f";)
        if (w != "g" && w != "leg" && w != "v")
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
    for (const auto& c : cases) {
        GmdcFile g = make_chair();
        c.breakIt(g);
        EXPECT_NE(refusal(g, c.scale).find(c.says), std::string::npos) << c.says;
    }
}
