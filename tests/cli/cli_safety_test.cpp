// meshwright-cli's outputs never destroy what they should not, a result is reported as
// success only when something was done, and messages say what to do; each run as a
// separate process, each refusal leaving every file of its folder byte-identical.
#include "merge/merge_test_util.h"
#include "support/cli_files.h"
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace mw::test {
namespace {

namespace fs = std::filesystem;

TEST(CliSafety, RefusalsLeaveEveryFileAsItWas)
{
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message; // expected in standard output or error
    } cases[] = {
        // an output that is one of the inputs, by another spelling or name, or through a link
        {{"to-obj", "body.5gd", "-o", "./body.5gd"}, 2, "is the input"},
        {{"convert", "top.obj", "-o", "hard.obj"}, 2, "is the input"},
        {{"export-smd", "body.5gd", "--index", "1", "-o", "body.5gd"}, 2, "is the input"},
        {{"convert", "top.obj", "-o", "link.obj"}, 2, "is the input"},
        {{"new-object", "top.obj", "-o", "x.5gd", "--shape", "top.obj"}, 2, "is the input"},
        {{"merge", "top.obj", "body.5gd", "-o", "top.obj"}, 2, "is the input"},
        // two outputs: one file twice, a write-protected one, the second failing late
        {{"new-object", example_obj(), "-o", "x.5gd", "--shape", "./x.5gd"}, 2, "the same file"},
        {{"new-object", example_obj(), "-o", "x.5gd", "--shape", "locked.5gd"}, 1, "write-protected"},
        {{"new-object", example_obj(), "-o", "body.5gd", "--shape", std::string(300, 'n') + ".simpe"}, 1, "as it was"},
        // success only when something happened, with messages a user can act on
        {{"merge", "top.obj", "static.5gd", "-o", "x.5gd"}, 1, "model 1 \"body\", model 2 \"spout\""},
        {{"merge", "polewire.obj", "pole.5gd", "-o", "x.5gd"},
         1,
         "closest to model 1 \"polewire\" is object 1 \"PoleWire\""},
        {{"replace", "top.obj", "body.5gd", "-o", "x.5gd"}, 2, "--assign"},
        {{"add", "top.obj", "body.5gd", "-o", "x.5gd"}, 2, "--assign"},
        {{"replace", "top.obj", "morph6.5gd", "-o", "x.5gd", "--assign", "1=1", "--bump-map"},
         1,
         "is not a bump-map normal list (0x89D92BA0) but a morph vertex deltas list"},
        {{"add", "top.obj", "nobones.5gd", "-o", "x.5gd", "--assign", "1=1"}, 1, "has no bone list"},
        {{"export-smd", "body.5gd", "--index", "0", "-o", "x.smd"}, 2, "start at 1"},
        {{"export-smd", "static.5gd", "--index", "1", "-o", "x.smd"}, 1, "meshwright-cli to-obj"},
    };
    for (const auto& c : cases) {
        // More inputs: "pole.5gd" holds an object "PoleWire", "polewire.obj" a group "polewire";
        // "morph6.5gd" has a morph list at entry 6 of its group, "nobones.5gd" an object
        // without bones; "hard.obj" and "link.obj" are top.obj, "locked.5gd" is write-protected.
        CliFiles f;
        GmdcFile pole = make_static_mesh(), morph = make_body_mesh(), bare = make_body_mesh();
        pole.objects[0].name = "PoleWire";
        morph.objectGroups[0].dataListIndices[5] = 4;
        bare.objects[0].blockB.clear();
        write_file(f("pole.5gd"), bytes_of(pole));
        write_file(f("morph6.5gd"), bytes_of(morph));
        write_file(f("nobones.5gd"), bytes_of(bare));
        write_file(f("polewire.obj"), "g polewire\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n");
        write_file(f("locked.5gd"), "old");
        fs::permissions(f("locked.5gd"), fs::perms::owner_read);
        fs::create_hard_link(f("top.obj"), f("hard.obj"));
        std::error_code noLinks;
        fs::create_symlink(f("top.obj"), f("link.obj"), noLinks);
        if (noLinks && std::ranges::count(c.args, "link.obj"))
            continue; // symbolic links need a privilege on Windows that users rarely have
        const auto before = f.snapshot();
        std::string line; // a word with a dot names a file of the folder
        for (const std::string& a : c.args)
            line += " " + quote(a.find('.') == std::string::npos || fs::path(a).has_root_directory() ? a : f(a));
        const CliRun r = cli(line);
        EXPECT_EQ(r.status, c.status) << line << "\n" << r.err;
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << line << "\n" << r.out << r.err;
        EXPECT_EQ(f.snapshot(), before) << line;
    }
}

TEST(CliSafety, UnwritableDumpFilesAreReportedOnce)
{
    // The dump files go beside the program: a copy of it in a folder where the first dump
    // file's name is taken by a folder.
    CliFiles f;
    fs::create_directories(f("bin/dump_object_1.obj"));
    const std::string program = f("bin/" + fs::path(MESHWRIGHT_CLI_PATH).filename().string());
    fs::copy_file(MESHWRIGHT_CLI_PATH, program);
    const CliRun r = run_program(program, "info --dump-files " + quote(f("top.obj")));
    const std::string said = "Cannot write the dump files";
    EXPECT_TRUE(r.status == 0 && r.err.find(said) != std::string::npos && r.err.find(said) == r.err.rfind(said))
        << r.err;
}

} // namespace
} // namespace mw::test
