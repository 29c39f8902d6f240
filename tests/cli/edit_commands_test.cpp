// meshwright-cli export-side and edit: side files make the round trip through edit, edits
// run in the order given, and a refused edit saves nothing.
#include "gmdc/gmdc_reader.h"
#include "gmdc/side_files.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "support/gmdc_builders.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

GmdcFile load(const std::string& path)
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, path, sink)) << sink.last();
    return g;
}

TEST(EditCommands, ExportedSideFilesWriteTheSectionsAndReplaceThemUnchanged)
{
    const test::CliFiles files;
    const GmdcFile body = load(files("body.5gd"));
    const struct {
        std::vector<std::string> what;
        std::string expected;
    } cases[] = {
        {{"faces", "--object", "body"}, faceFileBytes(body.objects[0].faces)},
        {{"datalist", "--list", "7"}, dataListFileBytes(body.dataLists[6])},
        {{"p4"}, p4FileBytes(body)},
        {{"p5"}, p5FileBytes(body)},
        {{"p5", "--entry", "2"}, p5EntryFileBytes(body, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what[0]);
        std::string args = "export-side " + test::quote(files("body.5gd")) + " -o " + test::quote(files("side"));
        for (const std::string& w : c.what)
            args += " " + w;
        const test::CliRun run = test::cli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(test::read_file(files("side")), c.expected);
    }

    // Faces and data list 7 back through edit, into a copy: the record comes back the same.
    ASSERT_EQ(test::cli({"export-side", files("body.5gd"), "-o", files("faces"), "faces", "--object", "1"}).status, 0);
    ASSERT_EQ(test::cli({"export-side", files("body.5gd"), "-o", files("list7"), "datalist", "--list", "7"}).status, 0);
    const test::CliRun edit = test::cli({"edit", files("body.5gd"), "-o", files("copy.5gd"), "--replace-faces",
                                         "body=" + files("faces"), "--replace-datalist", "7=" + files("list7")});
    ASSERT_EQ(edit.status, 0) << edit.err;
    const test::CliRun resave = test::cli({"resave", files("body.5gd"), files("resaved.5gd")});
    ASSERT_EQ(resave.status, 0);
    EXPECT_EQ(test::read_file(files("copy.5gd")), test::read_file(files("resaved.5gd")));
}

TEST(EditCommands, EditsRunInTheOrderGiven)
{
    const test::CliFiles files;
    const test::CliRun run =
        test::cli({"edit", files("body.5gd"), "-o", files("out.5gd"), "--name", "1=first", "--opacity", "first=2.5",
                   "--name", "first=second", "--clear-datalist", "8", "--location", "2=1.5,-2,.25"});
    ASSERT_EQ(run.status, 0) << run.err;
    const GmdcFile g = load(files("out.5gd"));
    EXPECT_EQ(g.objects[0].name, "second");
    EXPECT_EQ(g.objects[0].opacity, 2);
    EXPECT_EQ(g.dataLists[7].floatValues, std::vector<float>(g.dataLists[7].floatValues.size(), 0.0f));
    EXPECT_EQ(g.transforms[1].location[1], -2.0f);
}

TEST(EditCommands, ARefusedEditSavesNothing)
{
    const test::CliFiles files;
    test::write_file(files("short"), "\x05\x00\x00\x00\x01\x00");
    const std::vector<std::vector<std::string>> cases = {
        {"--vertex-count", "1=100000"},
        {"--vertex-count", "1=abc"},
        {"--opacity", "nosuch=1"},
        {"--replace-faces", "1=" + files("short")},
        {"--replace-datalist", "99=" + files("short")},
        {"--location", "1=1,2"},
        {"--name", "1=ok", "--clear-datalist", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0] + " " + c[1]);
        const auto before = files.snapshot();
        std::string args = "edit " + test::quote(files("body.5gd")) + " -o " + test::quote(files("body.5gd"));
        for (const std::string& w : c)
            args += " " + test::quote(w);
        const test::CliRun run = test::cli(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("Nothing was saved"), std::string::npos) << run.err;
        EXPECT_EQ(files.snapshot(), before);
    }
}

} // namespace
} // namespace mw
