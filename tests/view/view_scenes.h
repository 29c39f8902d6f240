// Small scenes for the 3D view's tests, placed so that the picture at 640 x 480 from the
// fixed camera (z = -3.5, 45 degrees) is known in advance: world point (x, y) on the
// plane z = 0 lands near pixel (320 + 166 x, 240 - 166 y), counted from the top left.
#pragma once

#include "state/state.h"

namespace mw::test {

// Object "body": two triangles facing the camera at z = 0, the left one (vertices 0-2, x
// -1.2 to -0.2, centre pixel (204, 268)) and the right one (vertices 3-5, x 0.2 to 1.2,
// centre (436, 268)). Its group lists positions, normals, texture coordinates, a morph
// list, then the bone assignments at position 5, where fixed positions miss them.
// Vertex 0 hangs on bones 0 and 2 (0xFFFF0200), vertex 3 on bone 1 alone (0xFFFFFF01).
GmdcFile two_triangle_gmdc();

// A square of two triangles facing the camera, x and y within +-half, at depth z.
MeshModel square(const std::string& name, float half, float z = 0);

// `triangles` scattered triangles filling most of the view, values from `seed`.
MeshModel scattered_model(const std::string& name, std::int32_t triangles, std::uint32_t seed);

} // namespace mw::test
