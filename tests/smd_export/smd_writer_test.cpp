// The SMD writer: every line of a small object derived by hand, both vertex-line layouts,
// and every refusal leaving no file behind.
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
    State s;
    GmdcFile& g = s.gmdc;
    g = test::make_empty_gmdc();
    DataList pos = test::make_float_list(kIdentityPositions, 3, 3, 0);
    pos.floatValues = {0.1f, 1.2f, -0.3f, 1, 2, 3, -0.5f, 0.25f, 0};
    DataList nrm = test::make_float_list(kIdentityNormals, 3, 3, 0);
    nrm.floatValues = {0, 1, 0, 0, 0, -1, 1, 0, 0};
    DataList tex = test::make_float_list(kIdentityTexCoords, 3, 2, 0);
    tex.floatValues = {0.25f, 0.25f, 0.5f, 0.125f, 1, 1};
    DataList bump = test::make_float_list(kIdentityBumpNormals, 3, 3, 0);
    DataList bones = test::make_bone_assignment_list(3);
    // bytes 0..3 from the lowest: (0, FF, FF, FF), (1, 2, FF, FF), (0, 1, 3, FF)
    bones.longValues = {static_cast<std::int32_t>(0xFFFFFF00u), static_cast<std::int32_t>(0xFFFF0201u),
                        static_cast<std::int32_t>(0xFF030100u)};
    DataList weights = test::make_float_list(kIdentityBoneWeights, 3, 3, 0);
    weights.floatValues = {0.9f, 0.1f, 0, 0.6f, 0.4f, 0, 0.5f, 0.25f, 0.25f};
    g.dataLists = {pos, nrm, tex, bump, bones, weights};
    ObjectGroup group;
    group.dataListIndices = {0, 1, 2, 3, 4, 5};
    group.activeCount = 6;
    group.vertexCount = 3;
    g.objectGroups = {group};
    GmdcObject object;
    object.primitiveType = 2;
    object.name = "thing";
    object.faces = {0, 1, 2};
    object.blockB = {3, 7, 9, 11};
    g.objects = {object};
    g.transforms.resize(12);
    for (Transform& t : g.transforms)
        t.rotation[3] = 1; // identity
    // The transform stores the bone's inverse placement: the file shows (0.125, -1, 3.5).
    g.transforms[2].location[0] = -0.125f;
    g.transforms[2].location[1] = 1;
    g.transforms[2].location[2] = -3.5f;
    return s;
}

std::string head_lines()
{
    std::string t = "version 1\r\nnodes\r\n 0 \"root\" -1\r\n";
    for (int k = 1; k < 12; ++k)
        t += " " + std::to_string(k) + " \"bone" + std::to_string(k) + "\" 0\r\n";
    t += "end\r\nskeleton\r\ntime 0\r\n";
    t += " 0 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\r\n";
    t += " 1 0.000000 0.000000 0.000000 1.570796 0.000000 0.000000\r\n";
    t += " 2 0.125000 -1.000000 3.500000 1.570796 0.000000 0.000000\r\n";
    for (int k = 3; k < 12; ++k)
        t += " " + std::to_string(k) + " 0.000000 0.000000 0.000000 1.570796 0.000000 0.000000\r\n";
    return t + "end\r\n";
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

TEST(SmdWriter, MultipleBoneLayoutLineByLine)
{
    State s = make_state();
    const std::string expected = head_lines() + "triangles\r\n" + kMaterialLine + "\r\n" +
                                 // one link still writes its stored weight, 0.9
                                 "0 0.100000 1.200000 -0.300000 0.00000000 1.00000000 0.00000000 0.25000000 "
                                 "0.75000000 1  3 0.90\r\n"
                                 "0 1.000000 2.000000 3.000000 0.00000000 0.00000000 -1.00000000 0.50000000 "
                                 "0.87500000 2  7 0.60  9 0.40\r\n"
                                 "0 -0.500000 0.250000 0.000000 1.00000000 0.00000000 0.00000000 1.00000000 "
                                 "0.00000000 3  3 0.50  7 0.25  11 0.25\r\n"
                                 "end\r\n\r\n";
    EXPECT_EQ(text_of(s, kSmdMultipleBones), expected);
    EXPECT_EQ(s.boneAssignmentSlot, 5);
    // Any mode other than 1 is the multiple-bone layout.
    EXPECT_EQ(text_of(s, 7), expected);
    // A second byte of FF ends the links, whatever follows.
    s.gmdc.dataLists[4].longValues[1] = static_cast<std::int32_t>(0x0302FF01u);
    EXPECT_NE(text_of(s, kSmdMultipleBones).find("0.87500000 1  7 0.60\r\n"), std::string::npos);
}

TEST(SmdWriter, SingleBoneLayoutTakesByteZeroOnly)
{
    State s = make_state();
    // The single-bone layout needs no weight list: a one-float list does not matter.
    s.gmdc.dataLists[5].floatValues = {1, 1, 1};
    const std::string expected =
        head_lines() + "triangles\r\n" + kMaterialLine + "\r\n" +
        " 3  0.100000 1.200000 -0.300000 0.00000000 1.00000000 0.00000000 0.25000000 0.75000000\r\n"
        " 7  1.000000 2.000000 3.000000 0.00000000 0.00000000 -1.00000000 0.50000000 0.87500000\r\n"
        " 3  -0.500000 0.250000 0.000000 1.00000000 0.00000000 0.00000000 1.00000000 0.00000000\r\n"
        "end\r\n\r\n";
    EXPECT_EQ(text_of(s, kSmdSingleBone), expected);
    // Only byte 0 is read: slot 0, bone 3, whatever the other bytes name.
    s.gmdc.dataLists[4].longValues[1] = static_cast<std::int32_t>(0xFF505000u);
    std::string second = expected;
    second.replace(second.find("\r\n 7  1.000000") + 2, 2, " 3");
    EXPECT_EQ(text_of(s, kSmdSingleBone), second);
}

TEST(SmdWriter, SkeletonTurnsTheLocationByTheInverseRotation)
{
    State s = make_state();
    // A quarter turn about z: (x, y, z, w) = (0, 0, sin 45, cos 45). The conjugate turns
    // (1, 0, 0) to (0, -1, 0), and the file shows its negation (0, 1, 0).
    Transform& t = s.gmdc.transforms[3];
    t.rotation[2] = 0.70710677f;
    t.rotation[3] = 0.70710677f;
    t.location[0] = 1;
    const std::string text = text_of(s, kSmdMultipleBones);
    EXPECT_NE(text.find("\r\n 3 0.000000 1.000000 0.000000 1.570796 0.000000 0.000000\r\n"), std::string::npos);
}

TEST(SmdWriter, EmptyListsAndTheLastLines)
{
    State s = make_state();
    s.gmdc.objects[0].faces.clear();
    const std::string text = text_of(s, kSmdMultipleBones);
    EXPECT_EQ(text, head_lines() + "triangles\r\nend\r\n\r\n");

    s.gmdc.transforms.clear();
    EXPECT_EQ(text_of(s, kSmdMultipleBones),
              "version 1\r\nnodes\r\nend\r\nskeleton\r\ntime 0\r\nend\r\ntriangles\r\nend\r\n\r\n");
}

TEST(SmdWriter, ObjectsTheLayoutCannotDescribeAreRefused)
{
    const struct {
        const char* what;
        void (*breakIt)(State&);
        std::int16_t mode;
        const char* says;
    } cases[] = {
        {"no GMDC", [](State& s) { s.gmdc.reset(); }, 2, "No GMDC is loaded"},
        {"no such group", [](State& s) { s.gmdc.objects[0].objectGroupIndex = 3; }, 2, "object group 3"},
        {"no assignment list", [](State& s) { s.gmdc.dataLists[4].identity = kIdentityMorphVertexMap; }, 1,
         "no bone-assignment list (identity 0xFBD70111); position 4 holds a list of identity 0x89D92BA0"},
        {"one weight per vertex",
         [](State& s) {
             s.gmdc.dataLists[5].floatValues = {1, 1, 1};
         },
         2, "does not hold three weights per vertex"},
        {"missing normal list", [](State& s) { s.gmdc.objectGroups[0].dataListIndices[1] = 40; }, 2,
         "no normal list at position 2"},
        {"face beyond the lists", [](State& s) { s.gmdc.objects[0].faces[2] = 3; }, 2,
         "face index 3 at position 3 lies beyond its vertex-position list of 3 entries"},
        {"negative face", [](State& s) { s.gmdc.objects[0].faces[0] = -1; }, 1, "face index -1"},
        {"short texture list", [](State& s) { s.gmdc.dataLists[2].floatValues.resize(5); }, 1,
         "texture-coordinate list of 2 entries"},
        {"short assignment list", [](State& s) { s.gmdc.dataLists[4].longValues.resize(2); }, 1,
         "bone-assignment list of 2 entries"},
        {"slot beyond blockB", [](State& s) { s.gmdc.dataLists[4].longValues[0] = 0x7FFFFF04; }, 1,
         "names bone slot 4 beyond its bone list of 4 bones"},
        {"byte 0 of FF", [](State& s) { s.gmdc.dataLists[4].longValues[0] = -1; }, 2, "bone slot 255"},
        {"third slot beyond blockB", [](State& s) { s.gmdc.dataLists[4].longValues[2] = 0x7F090100; }, 2,
         "byte 2 names bone slot 9"},
        {"bone beyond the transforms", [](State& s) { s.gmdc.objects[0].blockB[0] = 12; }, 1,
         "bone 12 (slot 0 of its bone list) is not one of the 12 nodes"},
        {"faces not in threes", [](State& s) { s.gmdc.objects[0].faces.push_back(0); }, 2, "4 face indices"},
    };
    for (const auto& c : cases) {
        State s = make_state();
        c.breakIt(s);
        const std::string message = refusal(s, c.mode);
        EXPECT_NE(message.find(c.says), std::string::npos) << c.what << ": " << message;
    }
    State s = make_state();
    EXPECT_NE(refusal(s, 2, 2).find("no object 2"), std::string::npos);
    // No object chosen, or one without bones: the message of the window.
    EXPECT_EQ(refusal(s, kSmdMultipleBones, 0), kNoSubgroupsMessage);
    s.gmdc.objects[0].blockB.clear();
    EXPECT_EQ(refusal(s, kSmdMultipleBones, 1), kNoSubgroupsMessage);
    EXPECT_EQ(refusal(s, kSmdSingleBone, 1), kNoSubgroupsMessage);
}

TEST(SmdWriter, ABodyMeshFindsItsBonesAtSlotSeven)
{
    State s;
    s.gmdc = test::make_body_mesh(12, 6);
    const std::string text = text_of(s, kSmdMultipleBones);
    EXPECT_EQ(s.boneAssignmentSlot, 7);
    std::size_t materials = 0;
    for (std::size_t at = text.find(kMaterialLine); at != std::string::npos; at = text.find(kMaterialLine, at + 1))
        ++materials;
    EXPECT_EQ(materials, 6u);
}
