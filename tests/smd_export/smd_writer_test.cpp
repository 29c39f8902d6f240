// The SMD writer: the lines of a small object derived by hand, both vertex-line layouts,
// and refusals leaving no file behind.
#include "smd_export/smd_writer.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace mw;

namespace {

const std::string kMaterialLine = std::string("\x7F\x3F\x32\x4A\x8F\xBD\x01", 7) + ".bmp";

// One object "thing" with a triangle of three vertices hanging on one, two and three of the
// bones 3, 7, 9, 11 (its bone list); 12 transforms. Its group holds, by position:
// 1 positions, 2 normals, 3 texture coordinates, 4 bump-map normals, 5 bone assignments,
// 6 bone weights, so the slot search has to find the assignments at 5.
State make_state()
{
    auto list = [](std::uint32_t identity, int perRecord, std::vector<float> values) {
        DataList d = test::make_float_list(identity, 3, perRecord, 0);
        d.floatValues = std::move(values);
        return d;
    };
    State s;
    GmdcFile& g = s.gmdc = test::make_empty_gmdc();
    DataList bones = test::make_bone_assignment_list(3);
    // bytes 0..3 from the lowest: (0, FF, FF, FF), (1, 2, FF, FF), (0, 1, 3, FF)
    bones.longValues = {static_cast<std::int32_t>(0xFFFFFF00u), static_cast<std::int32_t>(0xFFFF0201u),
                        static_cast<std::int32_t>(0xFF030100u)};
    g.dataLists = {list(kIdentityPositions, 3, {0.1f, 1.2f, -0.3f, 1, 2, 3, -0.5f, 0.25f, 0}),
                   list(kIdentityNormals, 3, {0, 1, 0, 0, 0, -1, 1, 0, 0}),
                   list(kIdentityTexCoords, 2, {0.25f, 0.25f, 0.5f, 0.125f, 1, 1}),
                   test::make_float_list(kIdentityBumpNormals, 3, 3, 0),
                   bones,
                   list(kIdentityBoneWeights, 3, {0.9f, 0.1f, 0, 0.6f, 0.4f, 0, 0.5f, 0.25f, 0.25f})};
    g.objectGroups.resize(1);
    g.objectGroups[0].dataListIndices = {0, 1, 2, 3, 4, 5};
    g.objectGroups[0].activeCount = 6;
    g.objectGroups[0].vertexCount = 3;
    g.objects = {{.primitiveType = 2, .name = "thing", .faces = {0, 1, 2}, .blockB = {3, 7, 9, 11}}};
    g.transforms.assign(12, {{0, 0, 0, 1}, {0, 0, 0}}); // identity
    // The transform stores the bone's inverse placement: the file shows (0.125, -1, 3.5).
    g.transforms[2] = {{0, 0, 0, 1}, {-0.125f, 1, -3.5f}};
    // A quarter turn about z: (x, y, z, w) = (0, 0, sin 45, cos 45). The conjugate turns
    // (1, 0, 0) to (0, -1, 0), and the file shows its negation (0, 1, 0).
    g.transforms[3] = {{0, 0, 0.70710677f, 0.70710677f}, {1, 0, 0}};
    return s;
}

// The text from the triangles on.
std::string triangles(const std::string& text)
{
    return text.substr(text.find("triangles\r\n"));
}

std::string text_of(State& s, std::int16_t mode, int object = 1)
{
    std::string out, error;
    EXPECT_TRUE(smd_text(s, object, mode, out, error)) << error;
    return out;
}

// A refusal leaves the file it would have written as it was.
std::string refusal(State& s, std::int16_t mode, int object = 1)
{
    test::TempDir dir;
    const std::string path = dir.file("out.smd");
    test::write_file(path, "old");
    RecordingSink sink;
    EXPECT_FALSE(write_smd(s, path, object, mode, sink));
    EXPECT_EQ(test::read_file(path), "old");
    EXPECT_TRUE(sink.has(MessageKind::Error));
    return sink.last();
}

} // namespace

TEST(SmdWriter, BothVertexLineLayoutsLineByLine)
{
    State s = make_state();
    const std::string text = text_of(s, kSmdMultipleBones);
    EXPECT_EQ(text.substr(0, text.find(" 2 \"bone2\"")), "version 1\r\nnodes\r\n 0 \"root\" -1\r\n 1 \"bone1\" 0\r\n");
    // The root turns nothing; the transform stores the bone's inverse placement.
    EXPECT_NE(text.find("time 0\r\n 0 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\r\n"
                        " 1 0.000000 0.000000 0.000000 1.570796 0.000000 0.000000\r\n"
                        " 2 0.125000 -1.000000 3.500000 1.570796 0.000000 0.000000\r\n"
                        " 3 0.000000 1.000000 0.000000 1.570796 0.000000 0.000000\r\n"),
              std::string::npos);
    EXPECT_EQ(triangles(text), "triangles\r\n" + kMaterialLine + "\r\n" +
                                   // one link still writes its stored weight, 0.9
                                   "0 0.100000 1.200000 -0.300000 0.00000000 1.00000000 0.00000000 0.25000000 "
                                   "0.75000000 1  3 0.90\r\n"
                                   "0 1.000000 2.000000 3.000000 0.00000000 0.00000000 -1.00000000 0.50000000 "
                                   "0.87500000 2  7 0.60  9 0.40\r\n"
                                   "0 -0.500000 0.250000 0.000000 1.00000000 0.00000000 0.00000000 1.00000000 "
                                   "0.00000000 3  3 0.50  7 0.25  11 0.25\r\n"
                                   "end\r\n\r\n");
    EXPECT_EQ(s.boneAssignmentSlot, 5);
    // A second byte of FF ends the links, whatever follows.
    s.gmdc.dataLists[4].longValues[1] = static_cast<std::int32_t>(0x0302FF01u);
    EXPECT_NE(text_of(s, kSmdMultipleBones).find("0.87500000 1  7 0.60\r\n"), std::string::npos);

    s = make_state();
    // The single-bone layout needs no weight list: a one-float list does not matter.
    s.gmdc.dataLists[5].floatValues = {1, 1, 1};
    // The bone, two spaces, then the vertex as in the other layout.
    EXPECT_NE(triangles(text_of(s, kSmdSingleBone))
                  .find("\r\n 3  0.100000 1.200000 -0.300000 0.00000000 1.00000000 0.00000000 0.25000000 0.75000000"
                        "\r\n 7  1.000000 "),
              std::string::npos);
    // Only byte 0 is read: slot 0, bone 3, whatever the other bytes name.
    s.gmdc.dataLists[4].longValues[1] = static_cast<std::int32_t>(0xFF505000u);
    EXPECT_NE(text_of(s, kSmdSingleBone).find("\r\n 3  1.000000 2.000000"), std::string::npos);
}

TEST(SmdWriter, ObjectsTheLayoutCannotDescribeAreRefused)
{
    const struct {
        void (*breakIt)(State&);
        std::int16_t mode;
        const char* says;
    } cases[] = {
        {[](State& s) { s.gmdc.dataLists[4].identity = kIdentityMorphVertexMap; }, 1,
         "no bone-assignment list (identity 0xFBD70111); position 4 holds a list of identity 0x89D92BA0"},
        {[](State& s) { s.gmdc.dataLists[5].floatValues.resize(3); }, 2, "does not hold three weights per vertex"},
        {[](State& s) { s.gmdc.objects[0].faces[2] = 3; }, 2,
         "face index 3 at position 3 lies beyond its vertex-position list of 3 entries"},
        {[](State& s) { s.gmdc.dataLists[4].longValues.resize(2); }, 1, "bone-assignment list of 2 entries"},
        {[](State& s) { s.gmdc.dataLists[4].longValues[0] = 0x7FFFFF04; }, 1,
         "names bone slot 4 beyond its bone list of 4 bones"},
        {[](State& s) { s.gmdc.objects[0].blockB[0] = 12; }, 1,
         "bone 12 (slot 0 of its bone list) is not one of the 12 nodes"},
    };
    for (const auto& c : cases) {
        State s = make_state();
        c.breakIt(s);
        const std::string message = refusal(s, c.mode);
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
    State s = make_state();
    // No object chosen, or one without bones: the message of the window.
    EXPECT_EQ(refusal(s, kSmdMultipleBones, 0), kNoSubgroupsMessage);
    s.gmdc.objects[0].blockB.clear();
    EXPECT_EQ(refusal(s, kSmdSingleBone), kNoSubgroupsMessage);
}
