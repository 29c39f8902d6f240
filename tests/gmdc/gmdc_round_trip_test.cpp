// Load and save round trips of the GMDC reader and writer: layouts written here field by
// field for every block version, records that come back as built, and saves that differ
// from their source only by the padding of the positions.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace mw::test {
namespace {

// A small GMDC with every section filled, in the layout of `version`: versions 1 to 3
// store the 16-bit lists as 32-bit integers, version 1 keeps no bone list, version 3 no
// opacity.
std::string hand_file(std::uint32_t version, std::int32_t faceValue = 1)
{
    GmdcBytes b;
    auto values = [&](std::initializer_list<std::int32_t> vs) {
        for (std::int32_t v : vs)
            version < 4 ? b.i32(v) : b.i16(static_cast<std::int16_t>(v));
    };
    auto list = [&](std::initializer_list<std::int32_t> vs) {
        b.i32(static_cast<std::int32_t>(vs.size()));
        values(vs);
    };
    b.headers(version, "old_object");
    b.i32(1).i32(2).u32(kIdentityPositions).i32(0).i32(2).i32(3).i32(24); // one data list: two positions
    for (float v : {1.f, 2.f, 3.f, 4.f, 5.f, 6.f})
        b.f32(v);
    list({-1, 7}); // items
    b.i32(1);      // one object group
    list({0});
    b.i32(2).i32(1);
    list({5});
    list({});
    list({-32768, 32767});
    b.i32(1).i32(2).i32(0).name("obj"); // one object
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
    b.i32(1).i32(1).i32(3).f32(2).f32(2).f32(2); // one P5 entry
    values({0, 0, 0});
    return b.str();
}

GmdcFile hand_record(std::uint32_t version)
{
    GmdcFile g = make_empty_gmdc("old_object");
    g.resource.blockVersion = version;
    g.dataLists.resize(1);
    DataList& d = g.dataLists[0];
    std::tie(d.recordCount, d.identity, d.blockFormat, d.setFormat) = std::tuple(2, kIdentityPositions, 2, 3);
    d.floatValues = {1, 2, 3, 4, 5, 6};
    d.items = {-1, 7};
    g.objectGroups.resize(1);
    ObjectGroup& o = g.objectGroups[0];
    std::tie(o.dataListIndices, o.vertexCount, o.activeCount, o.list1, o.list3) = std::tuple(
        std::vector<std::int16_t>{0}, 2, 1, std::vector<std::int16_t>{5}, std::vector<std::int16_t>{-32768, 32767});
    g.objects.resize(1);
    GmdcObject& obj = g.objects[0];
    std::tie(obj.primitiveType, obj.name, obj.faces, obj.opacity) =
        std::tuple(2, "obj", std::vector<std::int16_t>{0, 1, 1}, version == 3 ? -1 : 7);
    if (version != 1)
        obj.blockB = {3, 4};
    g.transforms.push_back({{0, 0, 0, 1}, {9, 8, 7}});
    g.namePairs.push_back({"a", "b"});
    g.boundingVertices = {1, 1, 1};
    g.boundingFaces = {0, 0, 0};
    g.p5Entries.push_back({{2, 2, 2}, {0, 0, 0}});
    return g;
}

TEST(GmdcRoundTrip, EachVersionReadsAndWritesItsOwnLayout)
{
    for (std::uint32_t version : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("version " + std::to_string(version));
        EXPECT_EQ(parsed(hand_file(version)), hand_record(version));
        EXPECT_EQ(serialized(hand_record(version)), hand_file(version));
    }
    // A wide value must still fit its 16-bit field.
    GmdcFile g;
    std::string error;
    EXPECT_FALSE(parseGmdc(hand_file(2, 70000), g, error, "wide.5gd"));
    for (const char* part : {"\"wide.5gd\"", "faces of object 1", "70000", "16-bit"})
        EXPECT_NE(error.find(part), std::string::npos) << error;
    EXPECT_TRUE(parseGmdc(hand_file(2, -32768), g, error, "wide.5gd")) << error;
}

TEST(GmdcRoundTrip, MeshesWithoutVerticesStoreNoFaceCount)
{
    // A bounding mesh without vertices stores no face count: the next four bytes are
    // p5Count. A P5 entry without vertices is its vertex count alone.
    GmdcBytes hand;
    hand.headers().i32(0).i32(0).i32(0).i32(0).i32(0);            // P1, P2, P3, transforms, name pairs
    hand.i32(0).i32(2).i32(0);                                    // no bounding vertices, two entries, no vertices
    hand.i32(1).i32(3).f32(1).f32(2).f32(3).i16(0).i16(0).i16(0); // entry 2: one vertex, 3 faces
    const GmdcFile g = parsed(hand.str());
    EXPECT_TRUE(g.boundingVertices.empty() && g.boundingFaces.empty());
    EXPECT_EQ(g.p5Entries, (std::vector<P5Entry>{{}, {{1, 2, 3}, {0, 0, 0}}}));
    EXPECT_EQ(serialized(g), hand.str());
}

TEST(GmdcRoundTrip, RecordsComeBackAsBuilt)
{
    // A bounding mesh of many vertices and one triangle ends the file: its 12 bytes per
    // vertex are all that is left, and must be enough.
    GmdcFile area = make_empty_gmdc();
    area.boundingVertices.assign(3 * 40, 0.5f);
    area.boundingFaces = {0, 1, 2};
    GmdcFile names = make_static_mesh();
    names.objects.push_back(names.objects[0]);
    names.objects[0].name = std::string(255, 'n');
    names.objects[1].name.clear();
    GmdcFile large = make_static_mesh(40000, 10);
    large.objects[0].faces.resize(100000);
    for (std::size_t i = 0; i < large.objects[0].faces.size(); ++i)
        large.objects[0].faces[i] = static_cast<std::int16_t>(i % 32768);
    for (const GmdcFile& built : {make_body_mesh(), make_static_mesh(), make_empty_gmdc(), area, names, large})
        EXPECT_EQ(parsed(serialized(built)), built);
}

// Writes `source` to a file, loads it, saves it to a new path and returns the saved bytes.
std::string load_and_save(const std::string& source, GmdcFile& g)
{
    TempDir dir;
    write_file(dir.file("in.5gd"), source);
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, dir.file("in.5gd"), sink)) << sink.last();
    EXPECT_TRUE(writeGmdc(g, dir.file("out.5gd"), sink)) << sink.last();
    EXPECT_EQ(sink.last(), "Save Complete");
    EXPECT_FALSE(sink.has(MessageKind::Error));
    return read_file(dir.file("out.5gd"));
}

TEST(GmdcRoundTrip, SavesDifferOnlyByThePaddingOfThePositions)
{
    std::vector<std::string> sources = {serialized(make_body_mesh()), serialized(make_static_mesh(40000, 10)),
                                        hand_file(1), hand_file(2), hand_file(3)};
    if (!fixtures_dir().empty())
        sources.push_back(read_file(fixtures_dir() + "/gmdc/teapot.5gd"));
    for (const std::string& source : sources) {
        SCOPED_TRACE(source.size());
        GmdcFile g;
        const std::string saved = load_and_save(source, g);
        EXPECT_EQ(g, parsed(source)) << "the padding is in the file, not in the record";
        const std::size_t positions = data_list_offset(source, g.objectGroups.at(0).dataListIndices.at(0));
        EXPECT_EQ(saved, padded_copy(source, positions));
        // A reload carries its padding and gains three more.
        EXPECT_EQ(load_and_save(saved, g), padded_copy(saved, positions));
    }
    // No object group: nothing to pad, the file comes back as it was.
    GmdcFile g;
    EXPECT_EQ(load_and_save(serialized(make_empty_gmdc()), g), serialized(make_empty_gmdc()));
}

} // namespace
} // namespace mw::test
