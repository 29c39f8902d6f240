// meshwright-cli export-side and edit: side files make the round trip through edit, edits
// run in the order given, and a refused edit saves nothing.
#include "gmdc/gmdc_reader.h"
#include "gmdc/side_files.h"
#include "support/cli_files.h"
#include "support/cli_run.h"

#include <gtest/gtest.h>

namespace mw::test {
namespace {

GmdcFile load(const std::string& path)
{
    GmdcFile g;
    RecordingSink sink;
    EXPECT_TRUE(readGmdc(g, path, sink)) << sink.last();
    return g;
}

TEST(EditCommands, ExportedSideFilesReplaceThemUnchangedAndEditsRunInOrder)
{
    const CliFiles f;
    ASSERT_EQ(cli({"export-side", f("body.5gd"), "-o", f("faces"), "faces", "--object", "1"}).status, 0);
    ASSERT_EQ(cli({"export-side", f("body.5gd"), "-o", f("list7"), "datalist", "--list", "7"}).status, 0);
    EXPECT_EQ(read_file(f("faces")), faceFileBytes(load(f("body.5gd")).objects[0].faces));
    const CliRun edit = cli({"edit", f("body.5gd"), "-o", f("copy.5gd"), "--replace-faces", "body=" + f("faces"),
                             "--replace-datalist", "7=" + f("list7")});
    ASSERT_EQ(edit.status, 0) << edit.err;
    ASSERT_EQ(cli({"resave", f("body.5gd"), f("resaved.5gd")}).status, 0);
    EXPECT_EQ(read_file(f("copy.5gd")), read_file(f("resaved.5gd")));

    // Edits run in the order given.
    ASSERT_EQ(cli({"edit", f("body.5gd"), "-o", f("out.5gd"), "--name", "1=first", "--name", "first=second"}).status,
              0);
    EXPECT_EQ(load(f("out.5gd")).objects[0].name, "second");
}

TEST(EditCommands, ARefusedEditSavesNothing)
{
    const CliFiles f;
    for (const char* edit : {"--vertex-count 1=abc", "--opacity nosuch=1", "--name 1=ok --clear-datalist 0"}) {
        const auto before = f.snapshot();
        const CliRun run =
            cli("edit " + quote(f("body.5gd")) + " -o " + quote(f("body.5gd")) + " " + std::string(edit));
        EXPECT_EQ(run.status, 1) << edit << run.err;
        EXPECT_NE(run.err.find("Nothing was saved"), std::string::npos) << run.err;
        EXPECT_EQ(f.snapshot(), before);
    }
}

} // namespace
} // namespace mw::test
