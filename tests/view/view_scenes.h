// Small scenes for the 3D view's tests. From the fixed camera (z = -3.5, 45 degrees) at
// 640 x 480, point (x, y, 0) lands near pixel (320 + 166 x, 240 - 166 y) from the top left.
#pragma once

#include "state/state.h"

namespace mw::test {

// Object "body": two triangles facing the camera at z = 0, left (vertices 0-2, centre
// pixel (204, 268)) and right (3-5, centre (436, 268)); its group lists the bone
// assignments at position 5, behind a morph list, where fixed positions miss them.
// Vertex 0 hangs on bones 0 and 2 (0xFFFF0200), vertex 3 on bone 1 alone (0xFFFFFF01).
GmdcFile two_triangle_gmdc();

// A square of two triangles facing the camera, x and y within +-half, at depth z.
MeshModel square(const std::string& name, float half, float z = 0);

// `triangles` scattered triangles filling most of the view, values from `seed`.
MeshModel scattered_model(const std::string& name, std::int32_t triangles, std::uint32_t seed);

} // namespace mw::test
