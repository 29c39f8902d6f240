// Merging into and out of files made by other tools (skipped where the shared fixtures
// are absent).
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/merge_pass.h"
#include "merge/merge_test_util.h"
#include "merge/view_commands.h"
#include "mesh/obj_reader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

GmdcFile teapot()
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, test::fixtures_dir() + "/gmdc/teapot.5gd", sink)) << sink.last();
    return g;
}

TEST(RealFiles, TwoModelsMergedIntoTheTeapotSaveAndReadBack)
{
    if (test::fixtures_dir().empty())
        GTEST_SKIP() << "shared fixtures absent";
    State s;
    s.gmdc = teapot();
    ASSERT_EQ(s.gmdc.dataLists.size(), 4u);
    const std::int32_t old = s.gmdc.objectGroups[0].vertexCount, total = old + 3000;
    const test::TempDir dir;
    s.models.models = {test::make_obj_model("teapot", old, 6320, 1.0f),
                       test::make_obj_model("teapot", 3000, 1000, 5.0f)};
    RecordingSink sink;
    ASSERT_TRUE(merge_models_into_gmdc(s, {}, sink)) << sink.last();
    ASSERT_TRUE(writeGmdc(s.gmdc, dir.file("teapot.5gd"), sink)) << sink.last();

    GmdcFile back;
    ASSERT_TRUE(readGmdc(back, dir.file("teapot.5gd"), sink));
    EXPECT_EQ(back.dataLists[0].recordCount, total + 3); // padded by the save
    for (std::size_t k = 1; k < 4; ++k)                  // the bump-map normals follow the new vertices too
        EXPECT_EQ(back.dataLists[k].recordCount, total) << k;
    EXPECT_EQ(back.objectGroups[0].vertexCount, total);
    EXPECT_EQ(back.objects[0].faces.size(), 3u * 7320u);
    EXPECT_EQ(back.objects[0].faces.back(), 1002 - 1 + old); // the last face (1000, 1001, 1002), shifted
    EXPECT_EQ(back.boundingVertices, s.gmdc.boundingVertices);
}

TEST(RealFiles, TheStaticTeapotRefusesReplaceAndAMergeOfAnotherName)
{
    if (test::fixtures_dir().empty())
        GTEST_SKIP() << "shared fixtures absent";
    State s;
    RecordingSink sink;
    ASSERT_TRUE(read_obj(s, test::fixtures_dir() + "/obj/map-bump.obj", sink)) << sink.last();
    s.gmdc = teapot(); // read_obj resets the whole state, as the main window's step 1 does
    const std::string before = test::bytes_of(s.gmdc);
    EXPECT_FALSE(merge_models_into_gmdc(s, {}, sink));
    EXPECT_TRUE(test::bytes_of(s.gmdc) == before);
    EXPECT_TRUE(sink.contains("nothing was merged: model 1 \"Cube\"")) << sink.last();

    // No bone list: "Replace" and "add model" find the bump-map normals in its place.
    s.gmdc.objects[0].blockB = {0};
    const std::string bones = test::bytes_of(s.gmdc);
    s.models.models = {test::assigned(test::make_obj_model("teapot", 30, 10), 1, 1)};
    EXPECT_FALSE(replace_models(s, {}, sink));
    EXPECT_FALSE(add_models(s, {}, sink));
    EXPECT_TRUE(test::bytes_of(s.gmdc) == bones && bones != before);
    EXPECT_TRUE(sink.contains("identity 0x89D92BA0, not 0xFBD70111")) << sink.last();
}

} // namespace
} // namespace mw
