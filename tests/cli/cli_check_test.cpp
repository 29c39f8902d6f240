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
    const struct {
        const char* file;
        int status;
        std::size_t faults, warnings;
    } cases[] = {{"static.5gd", 0, 0, 0}, {"body.5gd", 0, 0, 1}, {"broken.5gd", 1, 1, 0}};
    for (const auto& c : cases) {
        const CliRun r = cli({"check", f(c.file), "--json"});
        EXPECT_EQ(r.status, c.status) << c.file << "\n" << r.err;
        const nlohmann::json j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["faults"], c.faults) << c.file;
        EXPECT_EQ(j["warnings"], c.warnings) << c.file;
    }
    const CliRun text = cli({"check", f("broken.5gd")});
    EXPECT_NE(text.out.find("fault: object #1 \"teapot\": face index 6 at position 1"), std::string::npos) << text.out;

    // A save reports the same finding and still succeeds.
    const CliRun resave = cli({"resave", f("broken.5gd"), f("out.5gd")});
    EXPECT_EQ(resave.status, 0);
    EXPECT_NE(resave.err.find("face index 6 at position 1"), std::string::npos) << resave.err;
}

} // namespace
} // namespace mw::test
