// meshwright-cli's outputs never destroy what they should not, a result is reported as
// success only when something was done, and messages say what to do; each run as a
// separate process, each refusal leaving every file of its folder byte-identical.
#include "merge/merge_test_util.h"
#include "support/cli_files.h"
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mw::test {
namespace {

struct Case {
    std::vector<std::string> args; // a word with a dot names a file of the folder
    int status;
    std::string message; // expected in standard output or error
};

// More inputs: "pole.5gd" holds an object "PoleWire" and "polewire.obj" a group
// "polewire"; "morph6.5gd" has a morph list at entry 6 of its group, "nobones.5gd" an
// object without a bone list; "link.obj" links to top.obj and
// "locked.5gd" is write-protected.
void add_inputs(const CliFiles& f)
{
    GmdcFile pole = make_static_mesh();
    pole.objects[0].name = "PoleWire";
    write_file(f("pole.5gd"), bytes_of(pole));
    write_file(f("polewire.obj"), "g polewire\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n");
    GmdcFile morph = make_body_mesh();
    morph.objectGroups[0].dataListIndices[5] = 4;
    write_file(f("morph6.5gd"), bytes_of(morph));
    GmdcFile bare = make_body_mesh();
    bare.objects[0].blockB.clear();
    write_file(f("nobones.5gd"), bytes_of(bare));
    std::filesystem::create_symlink(f("top.obj"), f("link.obj"));
    write_file(f("locked.5gd"), "old");
    std::filesystem::permissions(f("locked.5gd"), std::filesystem::perms::owner_read);
}

std::string line_of(const CliFiles& f, const std::vector<std::string>& args)
{
    std::string line;
    for (const std::string& a : args)
        line += " " + quote(a.find('.') != std::string::npos && a[0] != '/' && a[0] != '-' ? f(a) : a);
    return line;
}

TEST(CliSafety, RefusalsLeaveEveryFileAsItWas)
{
    const std::string ex = example_obj();
    const std::string longName = std::string(300, 'n') + ".simpe";
    const std::vector<Case> cases = {
        // an output that is one of the inputs, by another spelling or through a link
        {{"to-obj", "body.5gd", "-o", "./body.5gd"}, 2, "is the input"},
        {{"export-smd", "body.5gd", "--index", "1", "-o", "body.5gd"}, 2, "is the input"},
        {{"convert", "top.obj", "-o", "link.obj"}, 2, "is the input"},
        {{"new-object", "top.obj", "-o", "x.5gd", "--shape", "top.obj"}, 2, "is the input"},
        {{"merge", "top.obj", "body.5gd", "-o", "top.obj"}, 2, "is the input"},
        // two outputs: one file twice, a write-protected one, the second failing late
        {{"new-object", ex, "-o", "x.5gd", "--shape", "./x.5gd"}, 2, "the same file"},
        {{"new-object", ex, "-o", "x.5gd", "--shape", "locked.5gd"}, 1, "write-protected"},
        {{"new-object", ex, "-o", "body.5gd", "--shape", longName}, 1, "is as it was"},
        // success only when something happened
        {{"merge", "top.obj", "static.5gd", "-o", "x.5gd"}, 1, "model 1 \"body\", model 2 \"spout\""},
        {{"merge", "polewire.obj", "pole.5gd", "-o", "x.5gd"},
         1,
         "The closest to model 1 \"polewire\" is object 1 \"PoleWire\""},
        {{"replace", "top.obj", "body.5gd", "-o", "x.5gd"}, 2, "--assign"},
        {{"add", "top.obj", "body.5gd", "-o", "x.5gd"}, 2, "--assign"},
        {{"replace", "top.obj", "morph6.5gd", "-o", "x.5gd", "--assign", "1=1", "--bump-map"},
         1,
         "is not a bump-map normal list (0x89D92BA0) but a morph vertex deltas list"},
        // messages a user can act on
        {{"add", "top.obj", "nobones.5gd", "-o", "x.5gd", "--assign", "1=1"}, 1, "has no bone list"},
        {{"export-smd", "body.5gd", "--index", "0", "-o", "x.smd"}, 2, "start at 1"},
        {{"export-smd", "static.5gd", "--index", "1", "-o", "x.smd"}, 1, "meshwright-cli to-obj"},
    };
    for (const Case& c : cases) {
        CliFiles f;
        add_inputs(f);
        const auto before = f.snapshot();
        const std::string line = line_of(f, c.args);
        const CliRun r = cli(line);
        EXPECT_EQ(r.status, c.status) << line << "\n" << r.err;
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << line << "\n" << r.out << r.err;
        EXPECT_EQ(f.snapshot(), before) << line;
    }
}

TEST(CliSafety, TheGmdcItselfMayBeTheOutputOfTheCommandsThatEditIt)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"resave", "body.5gd", "body.5gd"},
          {"merge", "top.obj", "body.5gd", "-o", "body.5gd"},
          {"replace", "top.obj", "body.5gd", "-o", "body.5gd", "--assign", "1=1"},
          {"add", "top.obj", "body.5gd", "-o", "./body.5gd", "--assign", "1=1"}}) {
        CliFiles f;
        const std::string old = read_file(f("body.5gd"));
        const CliRun r = cli(line_of(f, args));
        EXPECT_EQ(r.status, 0) << args[0] << "\n" << r.err;
        EXPECT_NE(read_file(f("body.5gd")), old) << args[0];
    }
}

TEST(CliSafety, DashWritesTheTextFormatsToStandardOutput)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"to-obj", "body.5gd", "-o"},
                                                 {"convert", "top.obj", "--model", "2", "-o"},
                                                 {"export-smd", "body.5gd", "--index", "1", "-o"}}) {
        CliFiles f;
        std::vector<std::string> toFile = args;
        toFile.push_back("out.txt");
        ASSERT_EQ(cli(line_of(f, toFile)).status, 0) << args[0];
        const CliRun r = cli(line_of(f, args) + " -");
        EXPECT_EQ(r.status, 0) << args[0] << "\n" << r.err;
        EXPECT_EQ(r.out, read_file(f("out.txt"))) << args[0];
        EXPECT_FALSE(file_exists(f("-")));
    }
}

TEST(CliSafety, UnwritableDumpFilesAreReportedOnce)
{
    // The dump files go beside the program: a copy of it in a folder where the first dump
    // file's name is taken by a folder.
    CliFiles f;
    std::filesystem::create_directories(f("bin/dump_object_1.obj"));
    std::filesystem::copy_file(MESHWRIGHT_CLI_PATH, f("bin/meshwright-cli"));
    const CliRun r = run_program(f("bin/meshwright-cli"), "info --dump-files " + quote(f("top.obj")));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::size_t first = r.err.find("Cannot write the dump files");
    ASSERT_NE(first, std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Cannot write the dump files", first + 1), std::string::npos) << r.err;
}

} // namespace
} // namespace mw::test
