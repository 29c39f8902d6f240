// `check`, run as a separate process.
#include "gmdc/gmdc_test_util.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "support/gmdc_builders.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace mw::test {
namespace {

TEST(CliCheck, ExitStatusOneOnlyForAFault)
{
    const CliFiles f;
    GmdcFile broken = make_static_mesh();
    broken.objects[0].faces[0] = 6;
    write_file(f("broken.5gd"), serialized(broken));
    EXPECT_EQ(nlohmann::json::parse(cli({"check", f("body.5gd"), "--json"}).out)["warnings"], 1);
    const CliRun r = cli({"check", f("broken.5gd"), "--json"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["faults"], 1);
    const CliRun text = cli({"check", f("broken.5gd")});
    EXPECT_NE(text.out.find("fault: object #1 \"teapot\": face index 6 at position 1"), std::string::npos) << text.out;
    // A save reports the same finding and still succeeds.
    const CliRun resave = cli({"resave", f("broken.5gd"), f("out.5gd")});
    EXPECT_EQ(resave.status, 0);
    EXPECT_NE(resave.err.find("face index 6 at position 1"), std::string::npos) << resave.err;
}

} // namespace
} // namespace mw::test
