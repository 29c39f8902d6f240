// A picture of the 3D view without a display: the scene drawn off screen and saved as
// PNG, for thumbnails and for checking what the view shows.
#pragma once

#include "state/state.h"
#include "view/view_state.h"

#include <cstdint>
#include <string>

namespace mw {

struct PreviewRequest {
    ViewState view;
    DisplayOptions options;
    std::int32_t width = 640;
    std::int32_t height = 480;
    std::string meshFolder;    // where relative texture names are looked for first
    std::string programFolder; // where the default texture is
    bool fit = false;          // place what is drawn in view (fit_camera) before drawing
};

// Draws display_screen as the window would at that size and saves it to `pngPath`. A
// view that draws nothing still writes its (black) picture and sets `note` to the reason.
// False with `error` when no off-screen context can be had or the file cannot be saved.
bool render_preview(const State& state, const PreviewRequest& request, const std::string& pngPath, std::string& note,
                    std::string& error);

} // namespace mw
