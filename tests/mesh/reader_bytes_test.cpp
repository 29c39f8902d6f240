// The readers on text held in memory: lines cut alike whatever the blocks, and the OBJ,
// MTL and SMD readers reading from a source as they read from a file.
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"
#include "mesh/text_lines.h"

#include <gtest/gtest.h>

using namespace mw;

namespace {

// Hands `text` out in blocks of `size` bytes, as a file read in small pieces would.
class BlockSource final : public TextSource {
  public:
    BlockSource(std::string_view text, std::size_t size) : TextSource("blocks.txt"), text_(text), size_(size) {}
    std::string_view next_block() override
    {
        const std::string_view block = text_.substr(0, size_);
        text_.remove_prefix(block.size());
        return block;
    }

  private:
    std::string_view text_;
    std::size_t size_;
};

std::vector<std::string> lines_of(TextSource& source)
{
    NullSink sink;
    LineReader reader(source);
    std::vector<std::string> lines;
    if (!reader.start(sink))
        return {"(refused)"};
    for (std::string_view line; reader.next(line);)
        lines.emplace_back(line);
    return lines;
}

TEST(ReaderBytes, LinesDoNotDependOnTheBlocks)
{
    for (const char* text : {"a\r\nb\r\n", "a\r\nb", "a\r\n\r\nb", "v 1\nv 2\r\nv 3\rv 4", "x\r\n\ry\nz", "\n", "\r",
                             "\r\n\r\n", "line without end", "\xEF\xBB\xBFg a\nf 1"}) {
        std::vector<std::string> expected;
        std::string_view whole = text;
        if (whole.starts_with("\xEF\xBB\xBF"))
            whole.remove_prefix(3); // the mark is not part of the first line
        for_each_line(whole, [&](std::string_view line) { expected.emplace_back(line); });
        for (std::size_t size : {1, 2, 3, 5, 64}) {
            BlockSource source(text, size);
            EXPECT_EQ(lines_of(source), expected) << "text " << text << ", blocks of " << size;
        }
    }
}

TEST(ReaderBytes, ObjAndItsMtlFromMemory)
{
    const std::string obj = "mtllib any.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\ng seat\nusemtl wood\n"
                            "f 1/1/1 2/1/1 3/1/1\n";
    for (std::size_t size : {1, 7, 4096}) {
        BlockSource objSource(obj, size);
        BlockSource mtlSource("newmtl wood\nmap_Kd .\\oak.bmp\n", size);
        State state;
        RecordingSink sink;
        ASSERT_TRUE(read_obj(state, objSource, sink, {}, &mtlSource)) << sink.last();
        ASSERT_EQ(state.models.modelCount(), 1);
        EXPECT_EQ(state.models.models[0].name, "seat");
        EXPECT_EQ(state.models.models[0].vertexCount(), 3);
        EXPECT_EQ(state.models.materials.at(0).textureFile, "oak.bmp");
    }
}

TEST(ReaderBytes, SmdFromMemory)
{
    const std::string smd =
        "version 1\ntriangles\nskin.bmp\n5 0 0 0 0 0 1 0 0\n5 1 0 0 0 0 1 0 0\n5 0 1 0 0 0 1 0 1\nend\n";
    BlockSource source(smd, 3);
    State state;
    RecordingSink sink;
    ASSERT_TRUE(read_smd(state, source, sink)) << sink.last();
    ASSERT_EQ(state.models.modelCount(), 1);
    EXPECT_EQ(state.models.models[0].faceCount(), 1);
    EXPECT_EQ(state.models.models[0].bone1.at(2), 5);
    EXPECT_EQ(state.models.models[0].uvs.at(2).v, 0.0f);
}

} // namespace
