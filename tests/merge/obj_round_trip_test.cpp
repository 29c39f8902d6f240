// "Convert to OBJ" followed by a merge of the untouched OBJ gives a real body mesh back.
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

TEST(ObjRoundTrip, RealFilesComeBackByteForByte)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "shared fixtures absent";
    GmdcFile g;
    RecordingSink sink;
    ASSERT_TRUE(readGmdc(g, dir + "/gmdc/adult_body.5gd", sink));
    EXPECT_TRUE(test::bytes_of(through_obj(g, sink)) == test::bytes_of(g));
    EXPECT_FALSE(sink.has(MessageKind::Warning)) << sink.last();
}

TEST(MatchByName, KthModelGoesIntoKthObjectOfItsName)
{
    // Objects 1 and 3 are named "a", object 2 "b", each in an object group of its own.
    GmdcFile g = test::make_static_mesh(6, 4);
    g.dataLists.resize(8);
    for (std::size_t k = 0; k < 4; ++k)
        g.dataLists[4 + k] = test::make_float_list(g.dataLists[k].identity, 5, k == 2 ? 2 : 3, 20.0f);
    ObjectGroup group = g.objectGroups[0];
    group.dataListIndices = {4, 5, 6, 7};
    group.vertexCount = 5;
    g.objectGroups = {g.objectGroups[0], group, group};
    g.objects.resize(3, g.objects[0]);
    for (std::int32_t o = 1; o < 3; ++o) {
        g.objects[o].objectGroupIndex = o;
        g.objects[o].faces = {0, 1, 2, 2, 3, 4};
    }
    g.objects[0].name = g.objects[2].name = "a";
    g.objects[1].name = "b";
    const struct {
        std::vector<std::string> models;     // model k holds k triangles
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
