// meshwright-cli render on the example files: a PNG of the asked size, lit where the view
// draws, black with a note where it draws nothing.
#include "support/cli_run.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <stb_image.h>

namespace mw::test {
namespace {

struct RenderCase {
    std::vector<std::string> args; // after the input file and -o
    std::string input;             // in examples/
    int status;
    bool lit; // some pixel is not black
    std::string stderrHas;
};

class RenderCli : public ::testing::TestWithParam<RenderCase> {};

TEST_P(RenderCli, WritesThePicture)
{
    const RenderCase& c = GetParam();
    TempDir dir;
    std::string args =
        quote(std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/" + c.input) + " -o " + quote(dir.file("p.png"));
    for (const std::string& a : c.args)
        args += " " + quote(a);
    const CliRun run = cli("render " + args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.stderrHas), std::string::npos) << run.err;
    if (c.status != 0) {
        EXPECT_FALSE(file_exists(dir.file("p.png")));
        return;
    }
    int w = 0, h = 0, n = 0;
    unsigned char* p = stbi_load(dir.file("p.png").c_str(), &w, &h, &n, 3);
    ASSERT_NE(p, nullptr);
    const bool sized = c.args.size() > 1 && c.args[0] == "--size";
    EXPECT_EQ(w, sized ? 64 : 640);
    EXPECT_EQ(h, sized ? 48 : 480);
    bool lit = false;
    for (int i = 0; i < 3 * w * h; ++i)
        lit = lit || p[i] != 0;
    stbi_image_free(p);
    EXPECT_EQ(lit, c.lit);
}

// The example body's bone assignments stand at position 7 of its group. Triangle 1 starts
// at vertex 0 (0xFFFF0500: slots 0 and 5) and triangle 4 at vertex 3 (0xFFFF0803: slots
// 3 and 8), so sub-groups 1 and 4 show only with "Body Editing".
INSTANTIATE_TEST_SUITE_P(
    Examples, RenderCli,
    ::testing::Values(RenderCase{{"--subgroup", "4", "--body-editing"}, "body_mesh.5gd", 0, true, ""},
                      RenderCase{{"--subgroup", "4"}, "body_mesh.5gd", 0, false, "nothing was drawn"},
                      RenderCase{{}, "body_mesh.5gd", 0, false, "sub-group 1"},
                      RenderCase{
                          {"--size", "64x48", "--all-subgroups", "--rotate", "0,180,0"}, "body_mesh.5gd", 0, true, ""},
                      RenderCase{{"--all-models", "--fit", "--shaded"}, "example.obj", 0, true, ""},
                      RenderCase{{"--model", "9"}, "example.obj", 0, false, "no model 9"},
                      RenderCase{{"--object", "lid"}, "body_mesh.5gd", 1, false, "no object is named"},
                      RenderCase{{"--size", "0x5"}, "body_mesh.5gd", 2, false, "--size"},
                      RenderCase{{"--rotate", "1,2"}, "body_mesh.5gd", 2, false, "--rotate"}));

} // namespace
} // namespace mw::test
