// Pixels of the 3D view drawn off screen at 640 x 480 (view_scenes.h says where a point
// lands), and meshwright-cli render: a PNG lit where the view draws, else black and a note.
#include "core/program_folder.h"
#include "support/cli_run.h"
#include "support/test_support.h"
#include "view/offscreen.h"
#include "view/scene.h"
#include "view/view_scenes.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>

namespace mw {
namespace {

using Rgb = std::array<int, 3>;
const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};

class Render : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::string error;
        if (!context_.create(640, 480, error))
            GTEST_SKIP() << error;
        resize_gl_scene(640, 480);
        set_render_state();
    }
    void TearDown() override { textures_.release(); }

    // Draws one call per corner from arrays built afresh, then with vertex arrays from the
    // kept arrays: the pictures must be identical.
    void draw(DisplayOptions options)
    {
        SceneCache fresh;
        options.fastPath = false;
        display_screen(state_, view_, options, textures_, fresh);
        const std::vector<unsigned char> immediate = context_.read_rgb();
        options.fastPath = true;
        display_screen(state_, view_, options, textures_, cache_);
        pixels_ = context_.read_rgb();
        EXPECT_TRUE(pixels_ == immediate);
    }
    Rgb at(int x, int y) const // y counted from the top
    {
        const auto i = 3 * (static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x));
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }
    // A w x h PNG of `rgb` in the test's folder, named by the models' material table.
    void texture(const char* name, int w, int h, const std::vector<unsigned char>& rgb)
    {
        std::string error;
        ASSERT_TRUE(write_png(dir_.file(name), w, h, rgb, error));
        state_.models.materials = {{"m", name, true, false}, {"none", "", false, false}};
        textures_.load(state_.models, dir_.path(), program_folder());
    }

    OffscreenContext context_;
    test::TempDir dir_;
    State state_;
    ViewState view_;
    TextureTable textures_;
    SceneCache cache_;
    std::vector<unsigned char> pixels_;
};

// The first corner decides: vertex 0 hangs on bones 0 and 2, vertex 3 on bone 1 alone.
TEST_F(Render, GmdcViewLightsOnlyTheSelectedSubgroup)
{
    state_.gmdc = test::two_triangle_gmdc();
    view_.selected_object = 1;
    const struct {
        int subgroup;
        bool bodyEditing, left, right;
    } cases[] = {{0, false, false, false}, {0, true, true, false}, {1, false, false, true}, {1, true, false, true}};
    for (const auto& c : cases) {
        view_.selected_subgroup = c.subgroup;
        draw({true, false, false, c.bodyEditing, false, false, false, true});
        EXPECT_EQ(at(204, 268), c.left ? kWhite : kBlack) << c.subgroup << c.bodyEditing;
        EXPECT_EQ(at(436, 268), c.right ? kWhite : kBlack) << c.subgroup << c.bodyEditing;
        EXPECT_EQ(at(320, 268), kBlack);
    }
}

TEST_F(Render, ModelsDrawWithTheirOwnTextureOrTextureZero)
{
    state_.models.models = {test::square("red", 1), test::square("plain", 1)};
    for (Vec3f& v : state_.models.models[1].vertices)
        v.y -= 1.2f; // below the first, over its lower part
    // 5 x 5 pixels: rows of 15 bytes, which a 4-byte unpack alignment would skew.
    std::vector<unsigned char> red(75, 0);
    for (std::size_t i = 0; i < 75; i += 3)
        red[i] = 255;
    texture("red.png", 5, 5, red);
    EXPECT_NE(textures_.default_texture(), 0u); // the checkerboard beside the program
    EXPECT_EQ(textures_.model_texture(2), 0u);  // is not what a model without texture gets
    draw({});                                   // model 1 alone
    EXPECT_EQ(at(320, 200), kRed);
    EXPECT_EQ(at(320, 420), kBlack);
    draw({false, false, true, false, false, false, false, true}); // all models
    EXPECT_EQ(at(320, 200), kRed);
    EXPECT_EQ(at(320, 420), kWhite); // (0, -1.1): only the untextured model
    view_.current_model = 3;         // no such model: nothing, no fault
    draw({});
    EXPECT_EQ(at(320, 200), kBlack);
}

// Turned, shaded and wireframe scenes, and the kept arrays after the records change.
TEST_F(Render, VertexArraysMatchOneCallPerCorner)
{
    state_.models.models = {test::scattered_model("a", 300, 7), test::scattered_model("b", 300, 8)};
    state_.gmdc = test::two_triangle_gmdc();
    std::vector<unsigned char> stripes(3 * 7 * 3);
    for (std::size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = static_cast<unsigned char>(37 * i);
    texture("s.png", 7, 3, stripes);
    view_.rot_x = 20;
    view_.rot_y = -35;
    view_.selected_object = 1;
    MeshModel& a = state_.models.models[0];
    for (int scene = 0; scene < 4; ++scene) {
        if (scene == 2)
            a.faces.resize(150); // the counts differ: the kept arrays are rebuilt
        if (scene == 3) {
            std::reverse(a.uvs.begin(), a.uvs.end()); // the counts agree: invalidate says so
            cache_.invalidate();
        }
        draw({scene == 0, false, scene > 0, scene == 0, false, scene < 2, scene < 2, true});
        EXPECT_LT(std::count(pixels_.begin(), pixels_.end(), 0), std::ssize(pixels_) - 1000) << scene;
    }
}

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
                 {"body_mesh.5gd", "--size 0x5", 2, false, "--size"}};
    for (const auto& c : cases) {
        test::TempDir dir;
        const test::CliRun run =
            test::cli("render " + test::quote(std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/" + c.input) + " -o " +
                      test::quote(dir.file("p.png")) + " " + c.args);
        EXPECT_EQ(run.status, c.status) << c.args << run.err;
        EXPECT_NE(run.err.find(c.stderrHas), std::string::npos) << run.err;
        int w = 0, h = 0, n = 0;
        unsigned char* p = stbi_load(dir.file("p.png").c_str(), &w, &h, &n, 3);
        ASSERT_EQ(p != nullptr, c.status == 0) << c.args; // no picture after a failure
        if (!p)
            continue;
        const bool small = c.args.find("64x48") != std::string::npos;
        EXPECT_EQ(std::pair(w, h), small ? std::pair(64, 48) : std::pair(640, 480));
        EXPECT_EQ(std::any_of(p, p + 3 * w * h, [](unsigned char v) { return v != 0; }), c.lit) << c.args;
        stbi_image_free(p);
    }
}

} // namespace
} // namespace mw
