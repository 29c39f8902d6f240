// meshwright-cli render on the example files: a PNG of the asked size, lit where the view
// draws, black with a note where it draws nothing.
#include "support/cli_run.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>

namespace mw::test {
namespace {

// The example body's bone assignments stand at position 7 of its group. Triangle 1 starts
// at vertex 0 (0xFFFF0500: slots 0 and 5) and triangle 4 at vertex 3 (0xFFFF0803: slots
// 3 and 8), so sub-groups 1 and 4 show only with "Body Editing".
TEST(RenderCli, WritesThePicture)
{
    const struct {
        std::string input, args; // input in examples/, arguments after -o
        int status;
        bool lit; // some pixel is not black
        std::string stderrHas;
    } cases[] = {{"body_mesh.5gd", "--subgroup 4 --body-editing", 0, true, ""},
                 {"body_mesh.5gd", "--subgroup 4", 0, false, "nothing was drawn"},
                 {"body_mesh.5gd", "", 0, false, "sub-group 1"},
                 {"body_mesh.5gd", "--size 64x48 --all-subgroups --rotate 0,180,0", 0, true, ""},
                 {"example.obj", "--all-models --fit --shaded", 0, true, ""},
                 {"example.obj", "--model 9", 0, false, "no model 9"},
                 {"body_mesh.5gd", "--object lid", 1, false, "no object is named"},
                 {"body_mesh.5gd", "--size 0x5", 2, false, "--size"},
                 {"body_mesh.5gd", "--rotate 1,2", 2, false, "--rotate"}};
    for (const auto& c : cases) {
        TempDir dir;
        const CliRun run = cli("render " + quote(std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/" + c.input) + " -o " +
                               quote(dir.file("p.png")) + " " + c.args);
        EXPECT_EQ(run.status, c.status) << c.args << run.err;
        EXPECT_NE(run.err.find(c.stderrHas), std::string::npos) << run.err;
        int w = 0, h = 0, n = 0;
        unsigned char* p = stbi_load(dir.file("p.png").c_str(), &w, &h, &n, 3);
        ASSERT_EQ(p != nullptr, c.status == 0) << c.args; // no picture after a failure
        if (!p)
            continue;
        const bool small = c.args.find("64x48") != std::string::npos;
        EXPECT_EQ(w, small ? 64 : 640);
        EXPECT_EQ(h, small ? 48 : 480);
        EXPECT_EQ(std::any_of(p, p + 3 * w * h, [](unsigned char v) { return v != 0; }), c.lit) << c.args;
        stbi_image_free(p);
    }
}

} // namespace
} // namespace mw::test
