// Imported models built in code for the tests, shaped like what the OBJ reader produces.
#pragma once

#include "mesh/mesh_model.h"

namespace mw::test {

// A model named `name` with `vertices` vertices (a normal and a texture coordinate each,
// all values derived from `seed` and exact binary fractions) and `triangles` triangles
// whose corners walk through the vertices.
MeshModel make_obj_model(const std::string& name, std::int32_t vertices, std::int32_t triangles, float seed = 0.0f);

} // namespace mw::test
