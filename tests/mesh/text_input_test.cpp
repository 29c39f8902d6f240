// Text as editors write it, read from memory: lines cut alike whatever the blocks,
// byte-order marks, messages without line ends and the loaders' plain-words refusals.
#include "mesh/mesh_text.h"
#include "mesh/text_lines.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

const std::string kObj = "g seat\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";
const std::string kSmd = "version 1\ntriangles\nskin.bmp\n5 0 0 0 0 0 1 0 0\n5 1 0 0 0 0 1 0 0\n"
                         "5 0 1 0 0 0 1 0 1\nend\n";
const std::string kBom = "\xEF\xBB\xBF";

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

TEST(TextInput, EveryLineEndCountsOnceWhateverTheBlocks)
{
    using Lines = std::vector<std::string>;
    const struct {
        std::string text;
        Lines lines; // an empty entry follows the last line
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb\r", {"a", "b", ""}},
        {"no line end", {"no line end", ""}},
        {"a\r\n\r\nb", {"a", "", "b", ""}},
        {"x\r\n\ry\nz", {"x", "", "y", "z", ""}},
        {"v 1\nv 2\r\nv 3\rv 4", {"v 1", "v 2", "v 3", "v 4", ""}},
        {"\r", {"", ""}},
        {kBom + "g a\nf 1", {"g a", "f 1", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (!c.text.starts_with(kBom)) {
            const std::vector<std::string_view> whole = split_lines(c.text);
            EXPECT_EQ(Lines(whole.begin(), whole.end()), c.lines);
        }
        for (std::size_t size : {1, 2, 3, 64}) {
            BlockSource source(c.text, size);
            LineReader reader(source);
            NullSink sink;
            ASSERT_TRUE(reader.start(sink));
            Lines lines;
            for (std::string_view line; reader.next(line);)
                lines.emplace_back(line);
            EXPECT_EQ(lines, c.lines) << "blocks of " << size;
        }
    }
}

TEST(TextInput, ByteOrderMarks)
{
    const TextRead obj = read_obj_text(kBom + kObj);
    ASSERT_TRUE(obj.ok) << obj.sink.last();
    EXPECT_EQ(obj.model().name, "seat") << "the first line is read";
    const TextRead mtl = read_obj_text("mtllib m.mtl\nusemtl wood\n" + kObj, kBom + "newmtl wood\nmap_Kd oak.bmp\n");
    EXPECT_EQ(mtl.state.models.materials.at(0).textureFile, "oak.bmp");
    EXPECT_TRUE(read_smd_text(kBom + kSmd).ok);
    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"}) {
        for (const TextRead& r : {read_obj_text(mark + kObj), read_smd_text(mark + kSmd)}) {
            EXPECT_FALSE(r.ok);
            EXPECT_TRUE(r.sink.contains("UTF-16") && r.sink.contains("UTF-8 or ANSI")) << r.sink.last();
        }
    }
}

TEST(TextInput, MessagesCarryNoLineEnds)
{
    EXPECT_EQ(read_obj_text(kObj).sink.last(), "Finished reading obj file. Number of models:1");
    EXPECT_EQ(read_smd_text(kSmd).sink.last(), "Finished reading smd file. Number of models:1");
    for (const TextRead& r : {read_obj_text(kObj), read_smd_text(kSmd), read_obj_text(kObj + "f 9/1/1 1/1/1 2/1/1\r\n"),
                              read_smd_text("triangles\r\n")})
        for (const RecordingSink::Entry& e : r.sink.entries)
            EXPECT_EQ(e.text.find_first_of("\r\n"), std::string::npos) << e.text;
}

TEST(TextInput, EmptyAndMissingFilesAreRefusedInPlainWords)
{
    const TextRead empty = read_obj_text("");
    EXPECT_EQ(empty.sink.last().rfind("Error #:  62 Input past end of file. ", 0), 0u) << empty.sink.last();
    EXPECT_TRUE(empty.sink.contains("mesh.obj is empty"));

    State state;
    RecordingSink sink;
    EXPECT_FALSE(read_smd(state, "/nonexistent-folder/mesh.smd", sink));
    EXPECT_EQ(sink.last().rfind("Error #:  53 File not found. ", 0), 0u) << sink.last();
    EXPECT_TRUE(sink.contains("no such file as /nonexistent-folder/mesh.smd"));

    // The whole-file loader refuses alike and keeps the lines it held.
    TempDir dir;
    write_file(dir.file("good.txt"), "first\r\nsecond\r\n");
    write_file(dir.file("empty.txt"), "");
    TextLines lines;
    ASSERT_TRUE(load_text_lines(dir.file("good.txt"), lines, sink));
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& [path, says] : {std::pair{dir.file("missing.txt"), "Error #:  53 File not found"},
                                     std::pair{dir.file("empty.txt"), "Error #:  62"}, std::pair{dir.path(), ""}}) {
        sink.clear();
        EXPECT_FALSE(load_text_lines(path, lines, sink)) << path;
        EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(says)) << sink.last();
        EXPECT_EQ(lines[1], "second");
    }
}

} // namespace
} // namespace mw::test
