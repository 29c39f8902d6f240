// meshwright-cli's arguments, exit statuses and messages, run as a separate process: help,
// usage errors (2) and refused operations (1), each leaving every file as it was.
#include "gmdc/gmdc_test_util.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "support/gmdc_builders.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace mw::test {
namespace {

struct Case {
    std::vector<std::string> args; // a word with a dot names a file of the folder
    int status;
    std::string message; // expected in standard output or error
};

CliRun run(const CliFiles& f, const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += " " + quote(a.find('.') != std::string::npos && a[0] != '/' && a[0] != '-' ? f(a) : a);
    return cli(line);
}

TEST(CliUsage, HelpForTheProgramAndEachCommand)
{
    for (const char* help : {"--help", "help"}) {
        const CliRun r = cli({help});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("Exit status: 0 success, 1 the operation failed, 2 usage error."), std::string::npos);
    }
    for (const char* command : {"info", "new-object", "replace", "check"}) {
        const CliRun r = cli({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.out.find(std::string("Usage: meshwright-cli ") + command), std::string::npos) << r.out;
    }
}

// Usage errors exit with 2, refused operations with 1; neither writes anything.
TEST(CliUsage, UsageErrorsAndRefusalsSayWhyAndWriteNothing)
{
    const std::string ex = example_obj();
    const Case cases[] = {
        {{}, 2, "Usage: meshwright-cli"},
        {{"no-such-command"}, 2, "unknown command 'no-such-command'"},
        {{"info"}, 2, "FILE"},
        {{"info", "--bogus", "body.5gd"}, 2, "--bogus"},
        {{"info", "--dump-files", "body.5gd"}, 2, "--dump-files for a GMDC file"},
        {{"convert", "top.obj", "-o", ""}, 2, "the file name is empty"},
        {{"convert", "top.obj", "-o", "x.obj", "--model", "two"}, 2, "--model"},
        {{"convert", "body.5gd", "-o", "x.obj"}, 2, "convert reads OBJ and SMD files"},
        {{"new-object", ex, "-o", "x.5gd", "--names", "a,b"}, 2, "--shape"},
        {{"new-object", ex, "-o", "x.5gd", "--shape", "s.simpe", "--names", "one"},
         2,
         "--names gives 1 names, but the OBJ file holds 2 objects"},
        {{"export-smd", "body.5gd", "-o", "x.smd"}, 2, "either --object NAME or --index N"},
        {{"to-obj", "body.5gd", "-o", "x.obj", "--scale", "0"}, 2, "--scale needs a number of percent above 0"},
        {{"merge", "body.5gd", "body.5gd", "-o", "x.5gd"}, 2, "MESH must be an .obj or .smd file"},
        {{"replace", "top.obj", "body.5gd", "-o", "x.5gd", "--assign", "body"}, 2, "is not MODEL=OBJECT[:SUBGROUP]"},
        {{"info", "missing.5gd"}, 1, "missing.5gd"},
        {{"resave", "body.5gd", "no/such/folder.5gd"}, 1, "no/such/folder.5gd"},
        {{"convert", "top.obj", "-o", "x.obj", "--model", "3"}, 1, ""},
        {{"export-smd", "body.5gd", "--object", "nobody", "-o", "x.smd"}, 1, "its objects are \"body\""},
        {{"replace", "wide.smd", "body.5gd", "-o", "x.5gd", "--assign", "1=1"},
         1,
         "Error: to many bones in smd for this gmdc file.\n"},
        {{"replace", "top.obj", "body.5gd", "-o", "x.5gd", "--assign", "body=hat"}, 1, "no object is named \"hat\""},
        {{"add", "top.obj", "body.5gd", "-o", "x.5gd", "--assign", "1=1", "--body-editing"}, 1, "as a body mesh"},
    };
    for (const Case& c : cases) {
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
    GmdcFile g = make_body_mesh();
    g.objects[0].name = "caf\xE9"; // a raw Latin-1 byte
    write_file(f("cafe.5gd"), serialized(g) + "xyz");
    const CliRun text = cli({"info", f("cafe.5gd")});
    EXPECT_EQ(text.status, 0) << text.err;
    for (const char* part : {"Object #1 \"caf\\xE9\": objectGroupIndex 0", "Morphs: 3", "auskin/skin",
                             "Object #1: [2 3 4 5", "3 bytes follow the end of the GMDC"})
        EXPECT_NE(text.out.find(part), std::string::npos) << part << "\n" << text.out;
    const nlohmann::json j = nlohmann::json::parse(cli({"info", "--json", f("cafe.5gd")}).out);
    EXPECT_EQ(j["dataLists"][6]["identityHex"], "0xFBD70111");
    EXPECT_EQ(j["objects"][0]["name"], "caf\u00e9");
    EXPECT_EQ(j["transformCount"], 65);
    EXPECT_EQ(j["morphNames"].size(), 3u);
    EXPECT_EQ(j["boneLists"][0].size(), 40u);
    EXPECT_EQ(j["bytesAfterGmdc"], 3);

    write_file(f("two.OBJ"), "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                             "g left\nusemtl skin\nf 1/1/1 2/1/1 3/1/1\ng right\nf 3/1/1 2/1/1 1/1/1\n");
    write_file(f("m.mtl"), "newmtl skin\nmap_Kd .\\skin.bmp\n");
    EXPECT_NE(cli({"info", f("two.OBJ")}).out.find("model 2\n  name             right\n"), std::string::npos);
    const nlohmann::json obj = nlohmann::json::parse(cli({"info", "--json", f("two.OBJ")}).out);
    EXPECT_EQ(obj["ok"], true);
    EXPECT_EQ(obj["models"][1]["name"], "right");
    EXPECT_EQ(obj["models"][0]["textureFile"], "skin.bmp");
    EXPECT_EQ(nlohmann::json::parse(cli({"info", "--3ds-smd", "--json", f("tri.smd")}).out)["models"][0]["boneMode"],
              2);
}

// A file that cannot be read gives the same object, GMDC or mesh: {"ok": false, "messages"}.
TEST(CliInfo, JsonOfAnUnreadableFileIsTheRefusalObject)
{
    CliFiles f;
    write_file(f("cut.5gd"), read_file(f("body.5gd")).substr(0, 500));
    write_file(f("bad.obj"), "v 0 0 0\nvt 0 0\nf 1/1 1/1 1/1\n");
    for (const auto& [file, message] : {std::pair<std::string, std::string>{"cut.5gd", "truncated"},
                                        {"bad.obj", "OBJ file doesn't include vertex normals!"}}) {
        const CliRun r = cli({"info", "--json", f(file)});
        EXPECT_EQ(r.status, 1) << file;
        const nlohmann::json j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["ok"], false);
        EXPECT_EQ(j["messages"].back()["kind"], "error");
        EXPECT_NE(j["messages"].back()["text"].get<std::string>().find(message), std::string::npos) << r.out;
    }
}

} // namespace
} // namespace mw::test
