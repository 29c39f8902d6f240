// Block versions 1 to 3: the 16-bit lists are stored as 32-bit integers, version 1 keeps
// no bone list and version 3 no opacity. Files are written here field by field.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/gmdc_bytes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

// A small GMDC with every section filled, in the layout of `version`.
std::string hand_file(std::uint32_t version, std::int32_t faceValue = 1)
{
    GmdcBytes b;
    // Index values: i16 in version 4, i32 before; `list` writes the count first.
    auto values = [&](std::initializer_list<std::int32_t> vs) {
        for (std::int32_t v : vs)
            version < 4 ? b.i32(v) : b.i16(static_cast<std::int16_t>(v));
    };
    auto list = [&](std::initializer_list<std::int32_t> vs) {
        b.i32(static_cast<std::int32_t>(vs.size()));
        values(vs);
    };
    b.headers(version, "old_object");
    b.i32(1); // one data list: two positions
    b.i32(2).u32(kIdentityPositions).i32(0).i32(2).i32(3).i32(24);
    for (float v : {1.f, 2.f, 3.f, 4.f, 5.f, 6.f})
        b.f32(v);
    list({-1, 7}); // items
    b.i32(1);      // one object group
    list({0});
    b.i32(2).i32(1);
    list({5});
    list({});
    list({-32768, 32767});
    b.i32(1); // one object
    b.i32(2).i32(0).name("obj");
    list({0, faceValue, 1});
    if (version != 3)
        b.i32(7); // opacity
    if (version != 1)
        list({3, 4}); // bone list
    b.i32(1);         // one transform
    for (float v : {0.f, 0.f, 0.f, 1.f, 9.f, 8.f, 7.f})
        b.f32(v);
    b.i32(1).name("a").name("b");         // one name pair
    b.i32(1).i32(3).f32(1).f32(1).f32(1); // bounding mesh
    values({0, 0, 0});
    b.i32(1); // one P5 entry
    b.i32(1).i32(3).f32(2).f32(2).f32(2);
    values({0, 0, 0});
    return b.str();
}

GmdcFile expected_record(std::uint32_t version)
{
    GmdcFile g = make_empty_gmdc("old_object");
    g.resource.blockVersion = version;
    DataList d;
    d.recordCount = 2;
    d.identity = kIdentityPositions;
    d.blockFormat = 2;
    d.setFormat = 3;
    d.floatValues = {1, 2, 3, 4, 5, 6};
    d.items = {-1, 7};
    g.dataLists.push_back(d);
    ObjectGroup o;
    o.dataListIndices = {0};
    o.vertexCount = 2;
    o.activeCount = 1;
    o.list1 = {5};
    o.list3 = {-32768, 32767};
    g.objectGroups.push_back(o);
    GmdcObject obj;
    obj.primitiveType = 2;
    obj.name = "obj";
    obj.faces = {0, 1, 1};
    obj.opacity = version == 3 ? -1 : 7;
    if (version != 1)
        obj.blockB = {3, 4};
    g.objects.push_back(obj);
    Transform t;
    t.rotation[3] = 1;
    t.location[0] = 9;
    t.location[1] = 8;
    t.location[2] = 7;
    g.transforms.push_back(t);
    g.namePairs.push_back({"a", "b"});
    g.boundingVertices = {1, 1, 1};
    g.boundingFaces = {0, 0, 0};
    P5Entry e;
    e.vertices = {2, 2, 2};
    e.faces = {0, 0, 0};
    g.p5Entries.push_back(e);
    return g;
}

TEST(GmdcVersions, EachVersionReadsAndWritesItsOwnLayout)
{
    for (std::uint32_t version : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("version " + std::to_string(version));
        const std::string file = hand_file(version);
        EXPECT_EQ(parsed(file), expected_record(version));
        EXPECT_EQ(serialized(expected_record(version)), file);
    }
    // The wide lists make the old layouts longer: 16 index values of 2 more bytes each,
    // minus the missing opacity (version 3) or bone list (version 1).
    EXPECT_EQ(hand_file(2).size(), hand_file(4).size() + 2 * 17);
    EXPECT_EQ(hand_file(3).size(), hand_file(2).size() - 4);
    EXPECT_EQ(hand_file(1).size(), hand_file(2).size() - 4 - 2 * 4);
}

TEST(GmdcVersions, SaveKeepsTheVersionAndPads)
{
    for (std::uint32_t version : {1u, 2u, 3u}) {
        SCOPED_TRACE("version " + std::to_string(version));
        const std::string file = hand_file(version);
        TempDir dir;
        write_file(dir.file("old.5gd"), file);
        GmdcFile g;
        RecordingSink sink;
        ASSERT_TRUE(readGmdc(g, dir.file("old.5gd"), sink)) << sink.last();
        ASSERT_TRUE(writeGmdc(g, dir.file("new.5gd"), sink)) << sink.last();
        EXPECT_EQ(read_file(dir.file("new.5gd")), padded_copy(file, data_list_offset(file, 0)));
    }
}

TEST(GmdcVersions, WideValueBeyond16BitsIsRefused)
{
    GmdcFile g;
    std::string error;
    EXPECT_FALSE(parseGmdc(hand_file(2, 70000), g, error, "wide.5gd"));
    EXPECT_NE(error.find("\"wide.5gd\""), std::string::npos) << error;
    EXPECT_NE(error.find("faces of object 1"), std::string::npos) << error;
    EXPECT_NE(error.find("70000"), std::string::npos) << error;
    EXPECT_NE(error.find("16-bit"), std::string::npos) << error;
    EXPECT_TRUE(parseGmdc(hand_file(2, -32768), g, error, "wide.5gd")) << error;
}

TEST(GmdcVersions, WriterRefusesWhatTheLayoutCannotStore)
{
    std::string out, error;
    GmdcFile v1 = expected_record(1);
    v1.objects[0].blockB = {1};
    EXPECT_FALSE(serializeGmdc(v1, out, error));
    EXPECT_NE(error.find("version 1"), std::string::npos) << error;

    GmdcFile v3 = expected_record(3);
    v3.objects[0].opacity = 0;
    EXPECT_FALSE(serializeGmdc(v3, out, error));
    EXPECT_NE(error.find("opacity"), std::string::npos) << error;

    for (std::uint32_t version : {0u, 5u}) {
        GmdcFile other = expected_record(4);
        other.resource.blockVersion = version;
        EXPECT_FALSE(serializeGmdc(other, out, error));
        EXPECT_NE(error.find("block version " + std::to_string(version)), std::string::npos) << error;
    }
}

} // namespace
} // namespace mw::test
