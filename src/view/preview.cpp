#include "view/preview.h"

#include "view/gl_setup.h"
#include "view/offscreen.h"
#include "view/scene.h"

namespace mw {

bool render_preview(const State& state, const PreviewRequest& request, const std::string& pngPath, std::string& note,
                    std::string& error)
{
    OffscreenContext context;
    if (!context.create(request.width, request.height, error))
        return false;
    resize_gl_scene(request.width, request.height);
    set_render_state();
    TextureTable textures;
    textures.load(state.models, request.meshFolder, request.programFolder);
    ViewState view = request.view;
    if (request.fit)
        fit_camera(shown_bounds(state, view, request.options), view,
                   static_cast<double>(request.width) / static_cast<double>(request.height));
    SceneCache cache;
    display_screen(state, view, request.options, textures, cache);
    note = empty_view_reason(state, view, request.options);
    const std::vector<unsigned char> rgb = context.read_rgb();
    textures.release();
    return write_png(pngPath, request.width, request.height, rgb, error);
}

} // namespace mw
