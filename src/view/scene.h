// The drawing operations of the 3D view and the camera window. Everything drawn comes in
// as arguments, so the same code draws in a window and off screen. Each call needs a
// current context with the projection and render state of gl_setup.h; none swaps
// buffers (the window system does). Models are drawn from arrays kept in a SceneCache.
#pragma once

#include "state/state.h"
#include "view/gl_setup.h"
#include "view/triangle_pick.h"
#include "view/view_state.h"

#include <string>

namespace mw {

// What the drawing of one model reads besides its positions and normals: its corners
// (model_corners) and its texture coordinates as drawn, (u, -v) per vertex.
struct ModelArrays {
    std::vector<std::uint32_t> corners;
    std::vector<float> uvs;
    std::size_t vertexCount = 0, faceCount = 0; // of the model they were built from
    bool built = false;
};

// The models' arrays, built when first drawn and kept for every later frame until the
// records change (invalidate). Arrays whose model's vertex or face count no longer
// matches are rebuilt, so a missed invalidate never reads outside a model's lists.
class SceneCache {
  public:
    void invalidate() { models_.clear(); }
    // The arrays of `model`, the model numbered `number` (1-based).
    const ModelArrays& arrays(const MeshModel& model, std::int32_t number);

  private:
    std::vector<ModelArrays> models_;
};

// The whole view: clears, places the camera (camera_distance, rotations, centre) and
// draws the first that applies: the GMDC view, the test cloud, the current model with its
// texture, or every model with its own texture.
void display_screen(const State& state, const ViewState& view, const DisplayOptions& options,
                    const TextureTable& textures, SceneCache& cache);

// The triangles of object view.selected_object that belong to sub-group
// view.selected_subgroup (see pick_gmdc_triangles), untextured.
void display_gmdc_obj(const GmdcFile& gmdc, const ViewState& view, const DisplayOptions& options);

// The test point cloud, with its own camera at view_distance.
void draw_test(const ViewState& view);

// The faces of model `model` (1-based), with the bound texture; nothing outside 1..modelCount.
void display_object(const ModelSet& models, std::int32_t model, const DisplayOptions& options, SceneCache& cache);

// Every model with its own texture (texture 0 when it has none).
void display_objects(const ModelSet& models, const TextureTable& textures, const DisplayOptions& options,
                     SceneCache& cache);

// The camera window: model view.camera_model, untextured and unturned, into the viewport
// rectangle at (10, 210) of 360 x 460 pixels.
void draw_pic1(const ModelSet& models, const ViewState& view, const DisplayOptions& options, SceneCache& cache);

// Bounds of what display_screen draws for these choices (the GMDC view's picked
// triangles, the current model or every model); empty for the test cloud.
Bounds shown_bounds(const State& state, const ViewState& view, const DisplayOptions& options);

// Why display_screen draws nothing for these choices, or "" when it draws something.
std::string empty_view_reason(const State& state, const ViewState& view, const DisplayOptions& options);

} // namespace mw
