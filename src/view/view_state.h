// What the 3D view draws besides the records: the camera, the selections and the
// check boxes, as plain values the window (or the command line) fills at call time.
#pragma once

#include <cstdint>
#include <vector>

namespace mw {

inline constexpr float kFixedCameraDistance = -3.5f;

struct ViewState {
    std::int32_t rot_x = 0, rot_y = 0, rot_z = 0; // degrees, not wrapped
    float view_distance = kFixedCameraDistance;   // camera offset of the test view
    std::int32_t current_model = 1;               // 1-based model of the single-model view
    std::int32_t selected_subgroup = 0;           // 0-based bone slot of the GMDC view
    std::int32_t selected_object = 0;             // 1-based GMDC object, 0 = none selected
    std::int32_t camera_model = 1;                // model of the camera window
    std::vector<float> test_points;               // the "Load" point cloud, x y z per point
    std::int32_t test_point_bytes = 0;            // its length in bytes as the file claims

    // Beyond the fixed camera: the distance the scene is drawn at and the point the
    // rotation turns about. -3.5 and the origin give the fixed picture.
    float camera_distance = kFixedCameraDistance;
    float center_x = 0, center_y = 0, center_z = 0;
};

// The window's check boxes that choose and style the picture.
struct DisplayOptions {
    bool gmdcView = false;     // "GMDC VIEW"
    bool testArray = false;    // "Test array"
    bool allObjects = false;   // "All Objects"
    bool bodyEditing = false;  // "Body Editing": byte 0 of the bone assignment picks the sub-group
    bool allSubgroups = false; // "All sub-groups": every face of the object
    bool shaded = false;       // "Shaded": one light at the eye
    bool wireframe = false;    // "Wireframe" overlay
    bool fastPath = true;      // vertex arrays in place of one call per corner (same pixels)
};

} // namespace mw
