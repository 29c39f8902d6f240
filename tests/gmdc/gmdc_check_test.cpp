// The validator: one fault in each file broken on purpose, nothing in sound files.
#include "gmdc/gmdc_check.h"

#include "gmdc/gmdc_reader.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace mw {
namespace {

// The body mesh with weights a real file would hold, so that it is sound.
GmdcFile sound_body()
{
    GmdcFile g = test::make_body_mesh(12, 6);
    for (float& w : g.dataLists[7].floatValues)
        w = 0.25f;
    g.dataLists[0].items.clear();
    return g;
}

struct BrokenCase {
    std::function<void(GmdcFile&)> breakIt;
    bool fault;
    const char* says;
};

class Broken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(Broken, GivesExactlyOneFindingOfItsKind)
{
    const BrokenCase& c = GetParam();
    GmdcFile g = sound_body();
    c.breakIt(g);
    std::vector<CheckFinding> found = check_gmdc(g);
    std::erase_if(found, [&](const CheckFinding& f) { return f.fault != c.fault; });
    ASSERT_EQ(found.size(), 1u) << c.says << ": " << (found.empty() ? "" : finding_text(found.back()));
    EXPECT_NE(finding_text(found[0]).find(c.says), std::string::npos) << finding_text(found[0]);
}

void shorten(DataList& d, std::int32_t records, std::size_t width)
{
    d.recordCount = records;
    d.floatValues.resize(static_cast<std::size_t>(records) * width);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Broken,
    ::testing::Values(
        BrokenCase{[](GmdcFile& g) { shorten(g.dataLists[3], 11, 3); }, true,
                   "Datalist #4 (texture-coordinate deltas): holds 11 records, fewer than the group's 12 vertices"},
        BrokenCase{[](GmdcFile& g) { g.objects[0].faces[4] = 12; }, true, "face index 12 at position 5"},
        BrokenCase{[](GmdcFile& g) { g.objects[0].faces.pop_back(); }, true, "not a multiple of 3"},
        BrokenCase{[](GmdcFile& g) { g.objects[0].blockB.resize(8); }, true, "vertex 3 hangs on bone-list slot 8"},
        BrokenCase{[](GmdcFile& g) { g.objects[0].blockB[5] = 65; }, true, "names bone 65, but P4 holds 65 transforms"},
        BrokenCase{[](GmdcFile& g) { g.objectGroups[0].dataListIndices.push_back(14); }, true, "names data list 14"},
        BrokenCase{[](GmdcFile& g) { g.objects[0].objectGroupIndex = 1; }, true, "uses object group 1"},
        BrokenCase{[](GmdcFile& g) { g.dataLists[8].items.assign(2, 12); }, true, "names vertex 12"},
        BrokenCase{[](GmdcFile& g) { g.boundingFaces[2] = 3; }, true, "P4 bounding mesh: face index 3"},
        BrokenCase{[](GmdcFile& g) { g.p5Entries[0].faces[0] = -1; }, true, "P5 sec #1"},
        BrokenCase{[](GmdcFile& g) { g.dataLists[4].floatValues[7] = NAN; }, true,
                   "Datalist #5 (morph vertex deltas): value 8 is not a finite number"},
        BrokenCase{[](GmdcFile& g) { g.transforms[0].location[1] = INFINITY; }, true, "P4 transform #1"},
        BrokenCase{[](GmdcFile& g) { shorten(g.dataLists[4], 13, 3); }, false, "different numbers of records"},
        BrokenCase{[](GmdcFile& g) { g.dataLists[7].floatValues[5] = 1.5f; }, false, "outside 0..1"}));

TEST(Check, SoundFilesAndTheSavePaddingGiveNoFinding)
{
    GmdcFile g = sound_body();
    EXPECT_TRUE(check_gmdc(g).empty()) << finding_text(check_gmdc(g).front());
    g.dataLists[0].floatValues.resize(g.dataLists[0].floatValues.size() + 9, 0.0f);
    g.dataLists[0].recordCount += 3;
    EXPECT_TRUE(check_gmdc(g).empty());
    g.dataLists[5].recordCount = 0; // unused lists are not checked
    g.dataLists[5].floatValues.clear();
    EXPECT_TRUE(check_gmdc(g).empty());

    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "shared fixtures absent";
    for (const char* name : {"teapot.5gd", "adult_body.5gd"}) {
        GmdcFile real;
        RecordingSink sink;
        ASSERT_TRUE(readGmdc(real, dir + "/gmdc/" + name, sink)) << sink.last();
        const std::vector<CheckFinding> found = check_gmdc(real);
        EXPECT_TRUE(found.empty()) << name << ": " << finding_text(found.front());
    }
}

} // namespace
} // namespace mw
