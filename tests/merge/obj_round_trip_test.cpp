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

} // namespace
} // namespace mw
