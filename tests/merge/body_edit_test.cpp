// Edits of a real body mesh that change its vertex count keep every vertex's bones,
// weights and morphs (skipped where the shared fixtures are absent).
#include "gmdc/gmdc_check.h"
#include "gmdc/gmdc_reader.h"
#include "merge/merge_pass.h"
#include "merge/merge_test_util.h"
#include "merge/view_commands.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"
#include "mesh/text_source.h"
#include "smd_export/smd_writer.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace mw {
namespace {

GmdcFile body()
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, test::fixtures_dir() + "/gmdc/adult_body.5gd", sink)) << sink.last();
    return g;
}

const DataList& list_at(const GmdcFile& g, std::size_t position)
{
    return g.dataLists[static_cast<std::size_t>(g.objectGroups[0].dataListIndices[position])];
}

// The body's OBJ text without its first 60 triangles, merged back.
State merged_without_faces(const ImportOptions& options, RecordingSink& sink)
{
    State s;
    std::string text, error;
    EXPECT_TRUE(gmdc_to_obj_text(body(), 100.0, text, error)) << error;
    const std::size_t first = text.find("\r\nf ") + 2;
    std::size_t end = first;
    for (int k = 0; k < 60; ++k)
        end = text.find("\r\n", end) + 2;
    text.erase(first, end - first);
    StringSource source("body.obj", text);
    EXPECT_TRUE(read_obj(s, source, sink)) << sink.last();
    s.gmdc = body();
    EXPECT_TRUE(merge_models_into_gmdc(s, options, sink)) << sink.last();
    return s;
}

// The old vertices with exactly the position, normal and texture coordinate of new vertex j.
std::vector<std::size_t> same_vertices(const GmdcFile& before, const GmdcFile& after, std::size_t j, float tolerance)
{
    std::vector<std::size_t> out;
    for (std::size_t o = 0; o < static_cast<std::size_t>(before.objectGroups[0].vertexCount); ++o) {
        bool same = true;
        for (std::size_t k = 0; k < 3 && same; ++k) {
            const std::size_t w = k == 2 ? 2 : 3;
            for (std::size_t c = 0; c < w; ++c)
                same = same && std::fabs(list_at(before, k).floatValues[w * o + c] -
                                         list_at(after, k).floatValues[w * j + c]) <= tolerance;
        }
        if (same)
            out.push_back(o);
    }
    return out;
}

// Record j of `now` equals record o of `old` (an indexed list: both absent or equal).
bool same_record(const DataList& old, std::size_t o, const DataList& now, std::size_t j)
{
    if (old.recordCount == 0)
        return now.recordCount == 0;
    auto record = [](const DataList& d, std::size_t v) {
        std::vector<double> r;
        const std::size_t count = d.items.empty() ? static_cast<std::size_t>(d.recordCount) : d.items.size();
        const std::size_t w = d.valueCount() / count;
        std::size_t at = v;
        if (!d.items.empty()) {
            const auto it = std::find(d.items.begin(), d.items.end(), static_cast<std::int16_t>(v));
            if (it == d.items.end())
                return r;
            at = static_cast<std::size_t>(it - d.items.begin());
        }
        for (std::size_t c = 0; c < w; ++c)
            r.push_back(d.holdsLongValues() ? static_cast<double>(d.longValues[w * at + c])
                                            : static_cast<double>(d.floatValues[w * at + c]));
        return r;
    };
    std::vector<double> a = record(old, o);
    if (!old.items.empty() && std::all_of(a.begin(), a.end(), [](double v) { return v == 0; }))
        a.clear();
    return a == record(now, j);
}

TEST(BodyEdit, DeletedFacesLeaveEveryVertexItsBonesWeightsAndMorphs)
{
    if (test::fixtures_dir().empty())
        GTEST_SKIP() << "shared fixtures absent";
    RecordingSink sink;
    const State s = merged_without_faces({}, sink);
    const GmdcFile before = body();
    const GmdcFile& after = s.gmdc;
    const auto count = static_cast<std::size_t>(after.objectGroups[0].vertexCount);
    ASSERT_LT(count, 1400u);
    for (std::size_t p = 0; p < after.objectGroups[0].dataListIndices.size(); ++p) {
        if (list_at(before, p).recordCount > 0) {
            EXPECT_EQ(list_at(after, p).recordCount, static_cast<std::int32_t>(count)) << "entry " << p + 1;
        }
    }
    for (std::size_t j = 0; j < count; ++j) {
        const std::vector<std::size_t> old = same_vertices(before, after, j, 0.0f);
        ASSERT_FALSE(old.empty()) << "new vertex " << j;
        for (std::size_t p = 3; p < after.objectGroups[0].dataListIndices.size(); ++p)
            EXPECT_TRUE(
                std::any_of(old.begin(), old.end(),
                            [&](std::size_t o) { return same_record(list_at(before, p), o, list_at(after, p), j); }))
                << "entry " << p + 1 << ", new vertex " << j;
    }
    EXPECT_TRUE(check_gmdc(after).empty()) << finding_text(check_gmdc(after).front());
    EXPECT_TRUE(sink.contains("Datalist #23 (bone assignments), Datalist #24 (bone weights)")) << sink.last();
}

TEST(BodyEdit, KeepListsLeavesTheOldListsAndNamesThem)
{
    if (test::fixtures_dir().empty())
        GTEST_SKIP() << "shared fixtures absent";
    RecordingSink sink;
    ImportOptions options;
    options.keepLists = true;
    const State s = merged_without_faces(options, sink);
    const GmdcFile before = body();
    for (std::size_t p = 3; p < 14; ++p)
        EXPECT_TRUE(list_at(s.gmdc, p) == list_at(before, p)) << "entry " << p + 1;
    for (int n : {10, 11, 23, 24, 25, 26, 27, 28, 29, 30})
        EXPECT_TRUE(sink.contains("Datalist #" + std::to_string(n) + " (")) << n;
    EXPECT_TRUE(sink.has(MessageKind::Warning));
}

// Bone number -> weight of vertex v (weights below 0.005 left out, as the SMD text rounds).
std::map<int, float> bones_of(const GmdcFile& g, std::size_t v)
{
    const auto value = static_cast<std::uint32_t>(list_at(g, 6).longValues[v]);
    std::map<int, float> out;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::uint32_t slot = value >> (8 * k) & 0xFF;
        const float w = list_at(g, 7).floatValues[3 * v + k];
        if (slot != 0xFF && w >= 0.005f)
            out[g.objects[0].blockB[slot]] += w;
    }
    return out;
}

TEST(BodyEdit, ReplaceFromItsOwnSmdKeepsBonesAndMorphs)
{
    if (test::fixtures_dir().empty())
        GTEST_SKIP() << "shared fixtures absent";
    State s;
    s.gmdc = body();
    const GmdcFile before = s.gmdc;
    std::string text, error;
    ASSERT_TRUE(smd_text(s, 1, kSmdMultipleBones, text, error)) << error;
    StringSource source("body.smd", text);
    SmdReadOptions read;
    read.using3dsMax = true;
    RecordingSink sink;
    ASSERT_TRUE(read_smd(s, source, sink, read)) << sink.last();
    s.models.models[0] = test::assigned(s.models.models[0], 1, 1);
    ViewOptions options;
    options.threeWeights = true;
    options.usingThreeDsMax = true;
    ASSERT_TRUE(replace_models(s, options, sink)) << sink.last();

    const GmdcFile& after = s.gmdc;
    const auto count = static_cast<std::size_t>(after.objectGroups[0].vertexCount);
    EXPECT_EQ(count, 3u * 2116u);
    for (std::size_t j = 0; j < count; j += 7) {
        const std::vector<std::size_t> old = same_vertices(before, after, j, 1e-5f);
        ASSERT_FALSE(old.empty()) << "new vertex " << j;
        const std::map<int, float> now = bones_of(after, j);
        bool found = false;
        for (std::size_t o : old) {
            const std::map<int, float> was = bones_of(before, o);
            bool same = was.size() == now.size();
            for (auto a = was.begin(), b = now.begin(); same && a != was.end(); ++a, ++b)
                same = a->first == b->first && std::fabs(a->second - b->second) <= 0.005f;
            for (std::size_t p = 3; same && p < 14; ++p)
                same = p == 6 || p == 7 || same_record(list_at(before, p), o, list_at(after, p), j);
            found = found || same;
        }
        EXPECT_TRUE(found) << "new vertex " << j;
    }
    EXPECT_TRUE(check_gmdc(after).empty()) << finding_text(check_gmdc(after).front());
}

} // namespace
} // namespace mw
