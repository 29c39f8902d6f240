// Pixels of the 3D view drawn off screen at 640 x 480. From the fixed camera (z = -3.5,
// 45 degrees) the plane z = 0 shows x within +-1.93 and y within +-1.45, so world point
// (x, y) lands near pixel (320 + 166 x, 240 - 166 y), counted from the top left.
#include "core/program_folder.h"
#include "support/test_support.h"
#include "view/offscreen.h"
#include "view/scene.h"
#include "view/view_scenes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace mw {
namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};

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

    void draw(const DisplayOptions& options) { display_screen(state_, view_, options, textures_); }
    void draw_camera() { draw_pic1(state_.models, view_, {}); }
    void snapshot() { pixels_ = context_.read_rgb(); }
    // Pixel (x, y), y counted from the top.
    Rgb at(int x, int y) const
    {
        const std::size_t i = 3 * (static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x));
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }

    OffscreenContext context_;
    State state_;
    ViewState view_;
    TextureTable textures_;
    std::vector<unsigned char> pixels_;
};

struct SubgroupCase {
    int subgroup;
    bool bodyEditing;
    bool leftLit, rightLit;
};

class RenderSubgroups : public Render, public ::testing::WithParamInterface<SubgroupCase> {};

// Triangle centres: left (-0.7, -0.17) at pixel (204, 268), right (0.7, -0.17) at (436, 268).
TEST_P(RenderSubgroups, OnlyTheSelectedSubgroupIsLit)
{
    const SubgroupCase& c = GetParam();
    state_.gmdc = test::two_triangle_gmdc();
    view_.selected_object = 1;
    view_.selected_subgroup = c.subgroup;
    DisplayOptions options;
    options.gmdcView = true;
    options.bodyEditing = c.bodyEditing;
    draw(options);
    snapshot();
    EXPECT_EQ(at(204, 268), c.leftLit ? kWhite : kBlack);
    EXPECT_EQ(at(436, 268), c.rightLit ? kWhite : kBlack);
    EXPECT_EQ(at(320, 268), kBlack); // between the two
}

INSTANTIATE_TEST_SUITE_P(Rules, RenderSubgroups,
                         ::testing::Values(SubgroupCase{0, false, false, false}, SubgroupCase{0, true, true, false},
                                           SubgroupCase{1, false, false, true}, SubgroupCase{1, true, false, true}));

TEST_F(Render, TexturedModelShowsItsTextureAndOthersTextureZero)
{
    // A 5 x 5 red picture: rows of 15 bytes, which a 4-byte unpack alignment would skew.
    test::TempDir dir;
    std::string error;
    std::vector<unsigned char> red(75, 0);
    for (std::size_t i = 0; i < 75; i += 3)
        red[i] = 255;
    ASSERT_TRUE(write_png(dir.file("red.png"), 5, 5, red, error));
    state_.models.models = {test::centre_triangle("textured"), test::centre_triangle("plain")};
    for (Vec3f& v : state_.models.models[1].vertices)
        v.y -= 1.2f; // below the first, overlapping its lower half
    state_.models.materials = {{"red", "red.png", true, false}, {"none", "", false, false}};
    // The default checkerboard is beside the program, yet a model without texture is untextured.
    ASSERT_TRUE(textures_.load(state_.models, dir.path(), program_folder()));
    EXPECT_NE(textures_.default_texture(), 0u);
    EXPECT_EQ(textures_.model_texture(2), 0u);
    EXPECT_EQ(textures_.model_texture(3), 0u);
    DisplayOptions options;
    draw(options); // model 1 alone, with its texture bound
    snapshot();
    EXPECT_EQ(at(320, 200), (Rgb{255, 0, 0}));
    options.allObjects = true;
    draw(options);
    snapshot();
    EXPECT_EQ(at(320, 200), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(320, 420), kWhite); // (0, -1.1): only the second model
    view_.current_model = 3;         // no such model: nothing, no fault
    draw({});
    snapshot();
    EXPECT_EQ(at(320, 240), kBlack);
}

TEST_F(Render, CameraPictureLandsInItsFixedRectangle)
{
    MeshModel wall = test::scattered_model("wall", 0, 1);
    wall.vertices = {{-9, -9, 0}, {9, -9, 0}, {9, 9, 0}, {-9, 9, 0}};
    wall.uvs.assign(4, {});
    wall.faces = {{1, 2, 3}, {1, 3, 4}};
    state_.models.models = {wall};
    draw_camera();
    snapshot();
    // The rectangle spans x 10..369 and, from the bottom, 210..669 (to the top here).
    const int top = 479;
    EXPECT_EQ(at(10, top - 210), kWhite);
    EXPECT_EQ(at(369, 0), kWhite);
    EXPECT_EQ(at(9, top - 300), kBlack);
    EXPECT_EQ(at(370, top - 300), kBlack);
    EXPECT_EQ(at(100, top - 209), kBlack);
    view_.camera_model = 2; // out of range: draws nothing
    draw_camera();
    snapshot();
    EXPECT_EQ(at(100, top - 300), kBlack);
}

// Vertex arrays must give the very pixels of one call per corner.
TEST_F(Render, FastPathMatchesImmediateMode)
{
    state_.models.models = {test::scattered_model("a", 300, 7), test::scattered_model("b", 300, 8)};
    state_.gmdc = test::two_triangle_gmdc();
    test::TempDir dir;
    std::string error;
    std::vector<unsigned char> stripes(3 * 7 * 3);
    for (std::size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = static_cast<unsigned char>(37 * i);
    ASSERT_TRUE(write_png(dir.file("s.png"), 7, 3, stripes, error));
    state_.models.materials = {{"s", "s.png", true, false}};
    textures_.load(state_.models, dir.path(), "");
    view_.rot_x = 20;
    view_.rot_y = -35;
    view_.selected_object = 1;
    view_.selected_subgroup = 1;
    struct Scene {
        bool allObjects, shaded, wireframe, gmdc;
    } scenes[] = {{false, false, false, false}, {true, false, false, false}, {true, true, false, false},
                  {true, false, true, false},   {false, false, false, true}, {false, true, true, true}};
    for (const Scene& s : scenes) {
        DisplayOptions options;
        options.allObjects = s.allObjects;
        options.shaded = s.shaded;
        options.wireframe = s.wireframe;
        options.gmdcView = s.gmdc;
        options.fastPath = false;
        draw(options);
        snapshot();
        const std::vector<unsigned char> immediate = pixels_;
        options.fastPath = true;
        draw(options);
        snapshot();
        EXPECT_TRUE(immediate == pixels_) << s.allObjects << s.shaded << s.wireframe << s.gmdc;
        EXPECT_NE(std::count(pixels_.begin(), pixels_.end(), 0), static_cast<long>(pixels_.size()));
    }
}

} // namespace
} // namespace mw
