// "Convert to OBJ" followed by a merge of the untouched OBJ gives the GMDC back, and the
// merge matches models to objects of one name in order.
#include "gmdc/gmdc_check.h"
#include "gmdc/gmdc_reader.h"
#include "merge/merge_pass.h"
#include "merge/merge_test_util.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_reader.h"
#include "mesh/text_source.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

// Writes `gmdc` as OBJ, reads it and merges it back.
GmdcFile through_obj(const GmdcFile& gmdc, RecordingSink& sink)
{
    std::string text, error;
    EXPECT_TRUE(gmdc_to_obj_text(gmdc, 100.0, text, error)) << error;
    State s;
    StringSource source("out.obj", text);
    EXPECT_TRUE(read_obj(s, source, sink)) << sink.last();
    s.gmdc = gmdc;
    EXPECT_TRUE(merge_models_into_gmdc(s, {}, sink)) << sink.last();
    return s.gmdc;
}

// Two static objects, each in a group of its own, named as the test says.
GmdcFile two_objects(const std::string& first, const std::string& second)
{
    GmdcFile g = test::make_static_mesh(6, 4);
    g.dataLists.resize(8);
    for (std::size_t k = 0; k < 4; ++k)
        g.dataLists[4 + k] = test::make_float_list(g.dataLists[k].identity, 5, k == 2 ? 2 : 3, 20.0f);
    ObjectGroup group = g.objectGroups[0];
    group.dataListIndices = {4, 5, 6, 7};
    group.vertexCount = 5;
    g.objectGroups.push_back(group);
    GmdcObject o = g.objects[0];
    o.objectGroupIndex = 1;
    o.faces = {0, 1, 2, 2, 3, 4};
    g.objects.push_back(o);
    g.objects[0].name = first;
    g.objects[1].name = second;
    return g;
}

TEST(ObjRoundTrip, GivesTheSameBytesBack)
{
    const std::pair<std::string, std::string> names[] = {
        {"cup", "saucer"}, {"unknown", "unknown"}, {"pole 01", "pole"}, {"cup", ""}, {"a#b%20", "tab\there\\"}};
    for (const auto& [first, second] : names) {
        SCOPED_TRACE(first + " / " + second);
        const GmdcFile g = two_objects(first, second);
        RecordingSink sink;
        EXPECT_TRUE(test::bytes_of(through_obj(g, sink)) == test::bytes_of(g));
        EXPECT_FALSE(sink.has(MessageKind::Warning)) << sink.last();
    }
    EXPECT_EQ(obj_group_name("body"), "body");
    EXPECT_EQ(obj_group_name("pole 01"), "pole%2001");
    EXPECT_EQ(obj_group_name(""), "%");
    EXPECT_EQ(obj_group_name("50%"), "50%25");
    EXPECT_EQ(obj_group_name("\xE9t\xE9"), "%E9t%E9");
}

TEST(ObjRoundTrip, RealFilesComeBackByteForByte)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "shared fixtures absent";
    for (const char* name : {"teapot.5gd", "adult_body.5gd"}) {
        GmdcFile g;
        RecordingSink sink;
        ASSERT_TRUE(readGmdc(g, dir + "/gmdc/" + name, sink));
        EXPECT_TRUE(test::bytes_of(through_obj(g, sink)) == test::bytes_of(g)) << name;
        EXPECT_FALSE(sink.has(MessageKind::Warning)) << sink.last();
    }
}

TEST(MatchByName, KthModelGoesIntoKthObjectOfItsName)
{
    // Objects 1 and 3 are named "a" (groups 1 and 3), object 2 "b".
    GmdcFile g = two_objects("a", "b");
    g.objectGroups.push_back(g.objectGroups[1]);
    g.objects.push_back(g.objects[1]);
    g.objects[2].objectGroupIndex = 2;
    g.objects[2].name = "a";
    const struct {
        std::vector<std::string> models;
        std::vector<std::size_t> faceCounts; // of objects 1 to 3 after the merge
        const char* message;
    } cases[] = {{{"a", "b", "a"}, {3, 6, 9}, "Rebuilt"},
                 {{"a", "a", "a"}, {3, 6, 15}, "model 3 \"a\" were appended to object 3 \"a\""}};
    for (const auto& c : cases) {
        std::vector<MeshModel> models;
        for (std::size_t k = 0; k < c.models.size(); ++k)
            models.push_back(test::make_obj_model(c.models[k], 4, static_cast<std::int32_t>(k) + 1));
        State s = test::state_with(g, models);
        RecordingSink sink;
        EXPECT_TRUE(merge_models_into_gmdc(s, {}, sink)) << sink.last();
        for (std::size_t o = 0; o < 3; ++o)
            EXPECT_EQ(s.gmdc.objects[o].faces.size(), c.faceCounts[o]) << c.message << ", object " << o + 1;
        EXPECT_TRUE(sink.contains(c.message)) << sink.last();
    }
}

} // namespace
} // namespace mw
