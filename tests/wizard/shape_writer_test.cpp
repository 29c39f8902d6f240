// The shape resource: its 162-byte fixed part at the offsets the game reads, one part per
// object, and a file that is always replaced whole.
#include "core/byte_io.h"
#include "support/test_support.h"
#include "wizard/shape_writer.h"

#include <gtest/gtest.h>

using namespace mw;

namespace {

ShpeFile shape_with(const std::vector<std::string>& names)
{
    ShpeFile shape;
    initShape(shape);
    setShapeParts(shape, names);
    return shape;
}

std::string bytes_of(const ShpeFile& shape)
{
    std::string out, error;
    EXPECT_TRUE(serializeShape(shape, out, error)) << error;
    return out;
}

std::uint32_t u32_at(const std::string& b, std::size_t offset)
{
    ByteReader r(std::string_view(b).substr(offset));
    std::uint32_t v = 0;
    EXPECT_TRUE(r.read_u32(v));
    return v;
}

std::string counted_at(const std::string& b, std::size_t offset)
{
    return b.substr(offset + 1, static_cast<unsigned char>(b[offset]));
}

} // namespace

TEST(ShapeWriter, OneFiveCharacterNameGivesA188ByteFile)
{
    const std::string b = bytes_of(shape_with({"chair"}));
    ASSERT_EQ(b.size(), 188u);
    // The fixed part, field by field at its offset.
    EXPECT_EQ(b.substr(0, 4), std::string("\x01\x00\xFF\xFF", 4));
    EXPECT_EQ(u32_at(b, 4), 0u);
    EXPECT_EQ(u32_at(b, 8), 1u);
    EXPECT_EQ(u32_at(b, 12), 0u);
    EXPECT_EQ(counted_at(b, 16), "cShape");
    EXPECT_EQ(u32_at(b, 23), 0u);
    EXPECT_EQ(u32_at(b, 27), 8u);
    EXPECT_EQ(counted_at(b, 31), "cSGResource");
    EXPECT_EQ(u32_at(b, 43), 0u);
    EXPECT_EQ(u32_at(b, 47), 2u);
    EXPECT_EQ(counted_at(b, 51), "testname_shpe");
    EXPECT_EQ(counted_at(b, 65), "cReferentNode");
    EXPECT_EQ(u32_at(b, 79), 0u);
    EXPECT_EQ(u32_at(b, 83), 1u);
    EXPECT_EQ(counted_at(b, 87), "cObjectGraphNode");
    EXPECT_EQ(u32_at(b, 104), 0u);
    EXPECT_EQ(u32_at(b, 108), 4u);
    EXPECT_EQ(u32_at(b, 112), 0u);
    EXPECT_EQ(b[116], '\0');
    EXPECT_EQ(u32_at(b, 117), 1u);
    EXPECT_EQ(u32_at(b, 121), 90u);
    EXPECT_EQ(u32_at(b, 125), 1u);
    EXPECT_EQ(u32_at(b, 129), 0u);
    EXPECT_EQ(b[133], '\x01');
    EXPECT_EQ(counted_at(b, 134), "testname_tslocator_gmnd");
    EXPECT_EQ(u32_at(b, 158), 1u);
    // The part: 5, "chair", 10, "Material_1", nine zero bytes. That is 26 bytes (21 + 5);
    // counted as 27 it also takes in the partCount's last byte, 0.
    EXPECT_EQ(b[161], '\0');
    EXPECT_EQ(b.substr(162), std::string("\x05"
                                         "chair"
                                         "\x0A"
                                         "Material_1",
                                         17) +
                                 std::string(9, '\0'));
}

TEST(ShapeWriter, OnePartPerObjectUpToTen)
{
    std::vector<std::string> names;
    for (int k = 1; k <= 10; ++k)
        names.push_back("obj" + std::to_string(k));
    const std::string b = bytes_of(shape_with(names));
    EXPECT_EQ(u32_at(b, 158), 10u);
    std::size_t at = 162;
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(counted_at(b, at), names[static_cast<std::size_t>(k - 1)]);
        at += 1 + names[static_cast<std::size_t>(k - 1)].size();
        EXPECT_EQ(counted_at(b, at), "Material_" + std::to_string(k));
        EXPECT_EQ(static_cast<unsigned char>(b[at]), k == 10 ? 11 : 10);
        at += 1 + static_cast<unsigned char>(b[at]) + 9;
    }
    EXPECT_EQ(at, b.size());
}

TEST(ShapeWriter, AnEmptyNameIsOneZeroLengthByte)
{
    const std::string b = bytes_of(shape_with({""}));
    ASSERT_EQ(b.size(), 162u + 21u);
    EXPECT_EQ(b[162], '\0');
    EXPECT_EQ(counted_at(b, 163), "Material_1");
}

TEST(ShapeWriter, WritingReplacesALongerFileWhole)
{
    test::TempDir dir;
    const std::string path = dir.file(kShapeFileName);
    test::write_file(path, std::string(1000, 'x'));
    RecordingSink sink;
    ASSERT_TRUE(writeShape(shape_with({"chair"}), path, sink)) << sink.last();
    EXPECT_TRUE(sink.empty());
    EXPECT_EQ(test::read_file(path), bytes_of(shape_with({"chair"})));
}

TEST(ShapeWriter, ANameOver255CharactersIsRefusedAndNothingIsWritten)
{
    test::TempDir dir;
    RecordingSink sink;
    EXPECT_FALSE(writeShape(shape_with({"ok", std::string(256, 'n')}), dir.file("new.simpe"), sink));
    EXPECT_TRUE(sink.contains("256 characters")) << sink.last();
    EXPECT_FALSE(test::file_exists(dir.file("new.simpe")));

    const std::string existing = dir.file("old.simpe");
    test::write_file(existing, "keep");
    EXPECT_FALSE(writeShape(shape_with({std::string(300, 'n')}), existing, sink));
    EXPECT_EQ(test::read_file(existing), "keep");

    EXPECT_EQ(bytes_of(shape_with({std::string(255, 'n')})).size(), 162u + 21u + 255u);
}

TEST(ShapeWriter, AFailedSaveNamesThePath)
{
    RecordingSink sink;
    EXPECT_FALSE(writeShape(shape_with({"chair"}), "/nonexistent-folder/test_shpe.simpe", sink));
    EXPECT_TRUE(sink.contains("/nonexistent-folder/test_shpe.simpe")) << sink.last();
}
