// meshwright-cli's arguments, exit statuses and messages, run as a separate process: help
// (0), usage errors (2) and refused operations (1), each leaving every file as it was; the
// reports of info and check.
#include "gmdc/gmdc_test_util.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "support/gmdc_builders.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace mw::test {
namespace {

CliRun run(const CliFiles& f, const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += " " + quote(a.find('.') != std::string::npos && a[0] != '/' && a[0] != '-' ? f(a) : a);
    return cli(line);
}

// Help exits with 0, usage errors with 2, refused operations with 1; none writes anything.
TEST(CliUsage, HelpUsageErrorsAndRefusalsSayWhyAndWriteNothing)
{
    const std::string ex = example_obj();
    const struct {
        std::vector<std::string> args; // a word with a dot names a file of the folder
        int status;
        std::string message; // expected in standard output or error
    } cases[] = {
        {{"--help"}, 0, "Exit status: 0 success, 1 the operation failed, 2 usage error."},
        {{"replace", "--help"}, 0, "Usage: meshwright-cli replace"},
        {{}, 2, "Usage: meshwright-cli"},
        {{"no-such-command"}, 2, "unknown command 'no-such-command'"},
        {{"info", "--bogus", "body.5gd"}, 2, "--bogus"},
        {{"convert", "body.5gd", "-o", "x.obj"}, 2, "convert reads OBJ and SMD files"},
        {{"new-object", ex, "-o", "x.5gd", "--names", "a,b"}, 2, "--shape"},
        {{"export-smd", "body.5gd", "-o", "x.smd"}, 2, "either --object NAME or --index N"},
        {{"to-obj", "body.5gd", "-o", "x.obj", "--scale", "0"}, 2, "--scale needs a number of percent above 0"},
        {{"replace", "top.obj", "body.5gd", "-o", "x.5gd", "--assign", "body"}, 2, "is not MODEL=OBJECT[:SUBGROUP]"},
        {{"resave", "body.5gd", "no/such/folder.5gd"}, 1, "no/such/folder.5gd"},
        {{"replace", "wide.smd", "body.5gd", "-o", "x.5gd", "--assign", "1=1"},
         1,
         "Error: to many bones in smd for this gmdc file.\n"},
        {{"add", "top.obj", "body.5gd", "-o", "x.5gd", "--assign", "1=1", "--body-editing"}, 1, "as a body mesh"},
        // edit is all or nothing, its last edit refused too
        {{"edit", "body.5gd", "-o", "body.5gd", "--vertex-count", "1=abc"}, 1, "Nothing was saved"},
        {{"edit", "body.5gd", "-o", "body.5gd", "--opacity", "nosuch=1"}, 1, "Nothing was saved"},
        {{"edit", "body.5gd", "-o", "body.5gd", "--name", "1=ok", "--clear-datalist", "0"}, 1, "Nothing was saved"},
    };
    for (const auto& c : cases) {
        CliFiles f;
        const auto before = f.snapshot();
        const CliRun r = run(f, c.args);
        SCOPED_TRACE(c.args.empty() ? "(no arguments)" : c.args[0] + " " + c.message);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << r.out << r.err;
        EXPECT_EQ(f.snapshot(), before);
    }
}

TEST(CliInfo, TextAndJsonCarryTheFilesFacts)
{
    CliFiles f;
    write_file(f("tail.5gd"), read_file(f("body.5gd")) + "xyz");
    EXPECT_NE(cli({"info", f("tail.5gd")}).out.find("3 bytes follow the end of the GMDC"), std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(cli({"info", "--json", f("tail.5gd")}).out);
    EXPECT_EQ(j["transformCount"], 65);
    EXPECT_EQ(j["bytesAfterGmdc"], 3);
    const nlohmann::json obj = nlohmann::json::parse(cli({"info", "--json", f("top.obj")}).out);
    EXPECT_EQ(obj["models"][1]["name"], "spout");

    // A file that cannot be read gives {"ok": false, "messages"}.
    write_file(f("cut.5gd"), read_file(f("body.5gd")).substr(0, 500));
    const CliRun r = cli({"info", "--json", f("cut.5gd")});
    EXPECT_EQ(r.status, 1);
    const nlohmann::json cut = nlohmann::json::parse(r.out);
    EXPECT_EQ(cut["ok"], false);
    EXPECT_NE(cut["messages"].back()["text"].get<std::string>().find("truncated"), std::string::npos) << r.out;
}

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
