// Redraw of the 3D view's all-models picture at the format's largest: four models of
// 32767 vertices, 240,000 triangles in all, 640 x 480, drawn off screen and timed up to
// glFinish (wall time: the software renderer draws on several threads).
#include "bench_suites.h"
#include "view/gl_setup.h"
#include "view/offscreen.h"
#include "view/scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace mw::bench {

namespace {

constexpr int kSide = 181; // 181 x 181 = 32761 vertices, within 32767
constexpr int kTrianglesPerModel = 60000;

// A rippled sheet, like a body part: small triangles covering much of the view.
MeshModel sheet(int index)
{
    MeshModel m;
    m.name = "sheet" + std::to_string(index);
    const float shift = 0.15f * static_cast<float>(index);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const float u = static_cast<float>(x) / (kSide - 1), v = static_cast<float>(y) / (kSide - 1);
            m.vertices.push_back({2.4f * u - 1.2f + shift, 2.0f * v - 1.0f, 0.1f * std::sin(12.0f * u) - shift});
            m.normals.push_back({0, 0, 1});
            m.uvs.push_back({u, v});
        }
    for (int y = 0; y + 1 < kSide && m.faceCount() < kTrianglesPerModel; ++y)
        for (int x = 0; x + 1 < kSide && m.faceCount() < kTrianglesPerModel; x += 1) {
            const int a = y * kSide + x + 1, b = a + 1, c = a + kSide, d = c + 1;
            m.faces.push_back({a, b, d});
            if (m.faceCount() < kTrianglesPerModel)
                m.faces.push_back({a, d, c});
        }
    return m;
}

double best_wall_time(int runs, const std::function<void()>& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

} // namespace

void run_view_suite(BenchTable& table, int runs)
{
    OffscreenContext context;
    std::string error;
    if (!context.create(640, 480, error)) {
        std::fprintf(stderr, "meshwright-bench: view suite skipped: %s\n", error.c_str());
        return;
    }
    resize_gl_scene(640, 480);
    set_render_state();
    State state;
    for (int i = 0; i < 4; ++i)
        state.models.models.push_back(sheet(i));
    TextureTable textures;
    textures.load(state.models, "", "");
    ViewState view;
    view.rot_x = 15;
    view.rot_y = 20;
    const std::string input = "4 x 32761 vertices, 240000 triangles, 640x480";
    // llvmpipe draws on LP_NUM_THREADS threads besides the caller's, by default one per core.
    const char* threads = std::getenv("LP_NUM_THREADS");
    const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    SceneCache cache; // built by the warm-up frame, as a window builds it once per change
    for (const bool fast : {false, true}) {
        DisplayOptions options;
        options.allObjects = true;
        options.fastPath = fast;
        const auto frame = [&] {
            display_screen(state, view, options, textures, cache);
            glFinish();
        };
        frame(); // warm-up: the first frame compiles shaders
        const double wall = best_wall_time(std::max(runs, 5), frame);
        const double cpu = best_time(std::max(runs, 5), frame);
        table.add({fast ? "display_screen, vertex arrays" : "display_screen, immediate mode", input, 0, wall,
                   "wall time to glFinish (target < 0.016); CPU of all threads " + fixed(cpu, 4) + "; " + renderer +
                       ", LP_NUM_THREADS=" + (threads ? threads : "unset")});
    }
}

} // namespace mw::bench
