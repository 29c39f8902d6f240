// Small scenes for the 3D view's tests, with positions chosen so that the picture at
// 640 x 480 from the fixed camera (z = -3.5, 45 degrees) is known in advance.
#pragma once

#include "state/state.h"

#include <cstdint>

namespace mw::test {

// One object "body" of two triangles side by side at z = 0: the left one (vertices 0-2,
// x from -1.2 to -0.2) and the right one (vertices 3-5, x from 0.2 to 1.2), both facing
// the camera. The group's lists: positions, normals, texture coordinates, a float list,
// then the bone assignments at position 5, where fixed positions would not find them.
// Vertex 0 hangs on bones 0 and 2 (0xFFFF0200), vertex 3 on bone 1 alone (0xFFFFFF01).
GmdcFile two_triangle_gmdc();

// A model of `triangles` scattered triangles filling most of the view, values from `seed`.
MeshModel scattered_model(const std::string& name, std::int32_t triangles, std::uint32_t seed);

// A model of one triangle covering the centre of the view, uv (0.5, 0.5) everywhere.
MeshModel centre_triangle(const std::string& name);

} // namespace mw::test
