// Text as editors write it and files as modders make them, read from memory: byte-order
// marks, messages without line ends, polygons, empty SMD sections, materials by name and
// the loader's plain-words refusals.
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"

#include <gtest/gtest.h>

using namespace mw;

namespace {

const std::string kObj = "g seat\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";
const std::string kSmd = "version 1\ntriangles\nskin.bmp\n0 0 0 0 0 0 1 0 0 1 0 1\n0 1 0 0 0 0 1 0 0 1 0 1\n"
                         "0 0 1 0 0 0 1 0 0 1 0 1\nend\n";

struct Read {
    State state;
    RecordingSink sink;
    bool ok = false;
};

Read read_obj_text(const std::string& obj, const std::string& mtl = "")
{
    Read r;
    StringSource objSource("mesh.obj", obj);
    StringSource mtlSource("mesh.mtl", mtl);
    r.ok = read_obj(r.state, objSource, r.sink, {}, &mtlSource);
    return r;
}

Read read_smd_text(const std::string& smd)
{
    Read r;
    StringSource source("mesh.smd", smd);
    r.ok = read_smd(r.state, source, r.sink);
    return r;
}

bool has_line_end(const RecordingSink& sink)
{
    for (const RecordingSink::Entry& e : sink.entries)
        if (e.text.find_first_of("\r\n") != std::string::npos)
            return true;
    return false;
}

TEST(TextInput, ByteOrderMarks)
{
    const std::string utf8 = "\xEF\xBB\xBF";
    const Read obj = read_obj_text(utf8 + kObj);
    ASSERT_TRUE(obj.ok) << obj.sink.last();
    EXPECT_EQ(obj.state.models.models.at(0).name, "seat") << "the first line is read";
    const Read mtl = read_obj_text("mtllib m.mtl\nusemtl wood\n" + kObj, utf8 + "newmtl wood\nmap_Kd .\\oak.bmp\n");
    EXPECT_EQ(mtl.state.models.materials.at(0).textureFile, "oak.bmp");
    EXPECT_TRUE(read_smd_text(utf8 + kSmd).ok);

    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"}) {
        for (const Read& r : {read_obj_text(mark + kObj), read_smd_text(mark + kSmd)}) {
            EXPECT_FALSE(r.ok);
            EXPECT_TRUE(r.sink.contains("UTF-16") && r.sink.contains("UTF-8 or ANSI")) << r.sink.last();
        }
    }
}

TEST(TextInput, MessagesCarryNoLineEnds)
{
    const Read obj = read_obj_text(kObj);
    EXPECT_EQ(obj.sink.last(), "Finished reading obj file. Number of models:1");
    const Read smd = read_smd_text(kSmd);
    EXPECT_EQ(smd.sink.last(), "Finished reading smd file. Number of models:1");
    for (const Read& r : {obj, smd, read_obj_text(kObj + "f 9/1/1 1/1/1 2/1/1\r\n"), read_smd_text("triangles\r\n")})
        EXPECT_FALSE(has_line_end(r.sink)) << r.sink.last();
}

TEST(TextInput, PolygonsBecomeFans)
{
    // Positions 1..4 make a square; 5..8 a dart whose fourth corner points inwards.
    const std::string positions = "v 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\nv 0 0 0\nv 2 1 0\nv 0 2 0\nv 1 1 0\n"
                                  "vt 0 0\nvn 0 0 1\n"; // lines 1..10
    struct Case {
        std::string faces;
        int faceCount;
        const char* info;    // part of the info message, "" for none
        const char* warning; // part of the warning, "" for none
    };
    const Case cases[] = {
        {"f 1/1/1 2/1/1 3/1/1 4/1/1\n", 2, "1 polygon with more than three corners was split", ""},
        {"f 1/1/1 2/1/1 3/1/1 4/1/1\nf 4/1/1 3/1/1 2/1/1 1/1/1\n", 4, "2 polygons", ""},
        {"f 1/1/1 2/1/1 3/1/1\nf 5/1/1 6/1/1 7/1/1 8/1/1\n", 3, "1 polygon", "line 12"},
        {"f 1/1/1 2/1/1 3/1/1\n", 1, "", ""},
    };
    for (const Case& c : cases) {
        const Read r = read_obj_text(positions + c.faces);
        ASSERT_TRUE(r.ok) << r.sink.last();
        const MeshModel& m = r.state.models.models.at(0);
        EXPECT_EQ(m.faceCount(), c.faceCount) << c.faces;
        EXPECT_EQ(*c.info != 0, r.sink.contains("split into triangles")) << c.faces;
        EXPECT_TRUE(r.sink.contains(c.info)) << c.faces;
        EXPECT_EQ(*c.warning != 0, r.sink.has(MessageKind::Warning)) << c.faces;
        EXPECT_TRUE(r.sink.contains(c.warning)) << c.faces;
    }
    // The fan: (1, 2, 3) then (1, 3, 4); no corner is lost.
    const Read r = read_obj_text(positions + cases[0].faces);
    const MeshModel& square = r.state.models.models.at(0);
    ASSERT_EQ(square.faces.size(), 2u);
    EXPECT_EQ(square.faces[1].vertex1, square.faces[0].vertex1);
    EXPECT_EQ(square.faces[1].vertex2, square.faces[0].vertex3);
    EXPECT_EQ(square.vertices.at(static_cast<std::size_t>(square.faces[1].vertex3 - 1)).y, 2.0f);
}

TEST(TextInput, SmdSectionsAndLinks)
{
    // An empty triangles section, or one without a whole triangle, is refused like a
    // missing one.
    for (const char* body : {"triangles\nend\n", "triangles\nskin.bmp\n0 0 0 0 0 0 1 0 0\nend\n"}) {
        const Read r = read_smd_text(std::string("version 1\n") + body);
        EXPECT_FALSE(r.ok) << body;
        EXPECT_TRUE(r.sink.contains("no triangles")) << r.sink.last();
    }
    // A negative link count reads like 0: the vertex hangs on its parent bone.
    const Read r = read_smd_text("triangles\nskin.bmp\n0 0 0 0 0 0 1 0 0 -1\n3 1 0 0 0 0 1 0 0 -2\n"
                                 "4 0 1 0 0 0 1 0 0 1 7 1\nend\n");
    ASSERT_TRUE(r.ok) << r.sink.last();
    const MeshModel& m = r.state.models.models.at(0);
    EXPECT_EQ(m.boneLinkCount, (std::vector<std::int16_t>{0, 0, 1}));
    EXPECT_EQ(m.bone1, (std::vector<std::int16_t>{0, 3, 7}));
    EXPECT_EQ(m.weight1.at(1), 1.0f);
}

TEST(TextInput, MaterialsByName)
{
    // Two groups share "wood"; "stone" has no map_Kd; an unknown material takes nothing.
    const std::string obj = "mtllib m.mtl\nusemtl wood\n" + kObj + "g b\nusemtl stone\nf 1/1/1 2/1/1 3/1/1\n" +
                            "g c\nusemtl wood\nf 1/1/1 2/1/1 3/1/1\n";
    const Read r = read_obj_text(obj, "newmtl wood\nmap_Kd oak.bmp\nnewmtl glass\nmap_Kd glass.bmp\n"
                                      "newmtl stone\nKd 1 1 1\n");
    ASSERT_TRUE(r.ok) << r.sink.last();
    const std::vector<MaterialRow>& rows = r.state.models.materials;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].textureFile, "oak.bmp");
    EXPECT_FALSE(rows[1].textureFound);
    EXPECT_EQ(rows[2].textureFile, "oak.bmp");
}

TEST(TextInput, LoaderRefusalsSayWhatToDo)
{
    const Read empty = read_obj_text("");
    EXPECT_EQ(empty.sink.last().rfind("Error #:  62 Input past end of file. ", 0), 0u) << empty.sink.last();
    EXPECT_TRUE(empty.sink.contains("mesh.obj is empty"));

    State state;
    RecordingSink sink;
    EXPECT_FALSE(read_smd(state, "/nonexistent-folder/mesh.smd", sink));
    EXPECT_EQ(sink.last().rfind("Error #:  53 File not found. ", 0), 0u) << sink.last();
    EXPECT_TRUE(sink.contains("no such file as /nonexistent-folder/mesh.smd"));
}

} // namespace
