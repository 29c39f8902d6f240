// Damaged, truncated and foreign files: the reader refuses them with a message naming the
// file, the problem and where, and the GMDC already loaded stays exactly as it was.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

// Expects `bytes` refused with a message that names the file first and holds `part`.
void expect_refused(const std::string& bytes, const std::string& part)
{
    GmdcFile g;
    std::string error;
    EXPECT_FALSE(parseGmdc(bytes, g, error, "damaged.5gd"));
    EXPECT_EQ(error.find("\"damaged.5gd\""), 0u) << error;
    EXPECT_NE(error.find(part), std::string::npos) << error;
}

TEST(GmdcDamaged, AFailedLoadLeavesTheRecordAsItWas)
{
    TempDir dir;
    write_file(dir.file("cut.5gd"), serialized(make_body_mesh()).substr(0, 100));
    write_file(dir.file("model.package"), "DBPF" + std::string(92, '\0'));
    GmdcFile g = make_body_mesh();
    for (const auto& [name, says] : {std::pair{"cut.5gd", "truncated at byte 100"},
                                     {"model.package", "is a Sims 2 package (.package), not a GMDC file"},
                                     {"missing.5gd", ""}}) {
        RecordingSink sink;
        EXPECT_FALSE(readGmdc(g, dir.file(name), sink));
        ASSERT_EQ(sink.entries.size(), 1u);
        EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(dir.file(name)) && sink.contains(says))
            << sink.last();
        EXPECT_EQ(g, make_body_mesh());
    }
}

// Headers, then one float data list whose item count is `itemCount` and whose data
// length is `dataLength`, and nothing else.
GmdcBytes one_list_file(std::int32_t dataLength, std::int32_t itemCount)
{
    GmdcBytes b;
    b.headers().i32(1);
    b.i32(1).u32(kIdentityNormals).i32(0).i32(2).i32(1).i32(dataLength);
    for (std::int32_t i = 0; i < dataLength / 4; ++i)
        b.f32(0.5f);
    b.i32(itemCount);
    return b;
}

TEST(GmdcDamaged, EveryPrefixOfAValidFileIsTruncated)
{
    const std::string full = serialized(make_body_mesh());
    for (std::size_t n = 1; n < full.size(); ++n) {
        GmdcFile g;
        std::string error;
        ASSERT_FALSE(parseGmdc(std::string_view(full).substr(0, n), g, error, "cut.5gd")) << n;
        ASSERT_EQ(error.find("\"cut.5gd\" is truncated at byte " + std::to_string(n) + " while reading "), 0u) << error;
    }
}

// Headers, then the given 32-bit fields (the data-list count first) and nothing else.
std::string with_counts(std::initializer_list<std::int32_t> counts)
{
    GmdcBytes b;
    b.headers();
    for (std::int32_t c : counts)
        b.i32(c);
    return b.str();
}

TEST(GmdcDamaged, EachFaultIsNamedWithItsPlace)
{
    GmdcBytes list3;
    list3.headers().i32(3);
    for (int k = 0; k < 3; ++k)
        list3.i32(0).u32(kIdentityNormals).i32(0).i32(2).i32(1).i32(0).i32(k == 2 ? -5 : 0);
    GmdcBytes p5, values, faces, name;
    p5.headers().i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(1).i32(1).i32(-6).f32(0).f32(0).f32(0);
    values.headers().i32(1).i32(1).u32(kIdentityNormals).i32(0).i32(2).i32(1).i32(0x7FFFFFFC).i32(0);
    faces.headers().i32(0).i32(0).i32(1).i32(2).i32(0).name("obj").i32(1000000000).raw(std::string(16, '\0'));
    name.headers().i32(0).i32(0).i32(1).i32(2).i32(0).u8(200).raw(std::string(40, 's'));
    std::string length = one_list_file(0, 0).str();
    length.replace(data_list_offset(length, 0) + 20, 4, le32(10));
    length += std::string(16, '\0');
    const struct {
        std::string bytes;
        std::string part;
    } cases[] = {
        {GmdcBytes().headers(4, "x", "cShape").str(), "is not a GMDC file (its block name is \"cShape\")"},
        {std::string(200, '\x7f'), "is not a GMDC file (it has no block name \"cGeometryDataContainer\")"},
        {GmdcBytes().headers(5).str(), "block version 5"},
        {GmdcBytes().headers(0).str(), "block version 0"},
        {"", "is empty"},
        {with_counts({-1}), "it has a negative data-list count (-1)"},
        {list3.str(), "data list 3 has a negative item count (-5)"},
        {one_list_file(-8, 0).str(), "data list 1 has a negative data length (-8)"},
        {with_counts({0, 0, 0, 0, 0, -3}), "the bounding mesh has a negative vertex count (-3)"},
        {p5.str(), "P5 entry 1 has a negative face count (-6)"},
        {with_counts({0x7FFFFFFF}), "while reading the data lists"},
        {one_list_file(0, 1000000).str(), "while reading the items of data list 1"},
        {values.str(), "while reading the values of data list 1"},
        {faces.str(), "while reading the faces of object 1"},
        {with_counts({0, 0, 0, 3}) + std::string(4, '\0'), "while reading the transforms"},
        {name.str(), "while reading the name of object 1 (200 bytes from byte "},
        {with_counts({0, 2, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0}), "the data-list indices of object group 2 ("},
        {with_counts({0, 1, 0, 0, 0, 0, 0, 0, -2}), "it has a negative object count (-2)"},
        {length, "data list 1 has a data length of 10 bytes, which is not a multiple of 4"},
    };
    for (const auto& c : cases)
        expect_refused(c.bytes, c.part);
}

} // namespace
} // namespace mw::test
