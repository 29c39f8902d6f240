// GMDC records shaped like real files, built in code for the tests.
#pragma once

#include "gmdc/gmdc_file.h"

namespace mw::test {

// A new, empty version-4 GMDC: the container and resource headers every file carries and
// no list in any section.
GmdcFile make_empty_gmdc(const std::string& fileName = "Custom_object");

// A float data list of `records` records of `perRecord` values each, filled with values
// derived from `seed` so that lists differ.
DataList make_float_list(std::uint32_t identity, std::int32_t records, int perRecord, float seed,
                         std::int32_t repetition = 0);

// A list of bone assignments (identity 0xFBD70111): one packed 32-bit value per record.
DataList make_bone_assignment_list(std::int32_t records);

// Shaped like a Sims 2 body mesh: one object group whose 14 data lists are, by position,
//   1 positions, 2 normals, 3 texture coordinates, 4 texture-coordinate deltas,
//   5 morph vertex deltas, 6 bump-map normals, 7 bone assignments (0xFBD70111),
//   8 bone weights (0x3BD70105, three floats per vertex), 9 morph target indices,
//   10 morph normal deltas, 11 morph vertex map, 12-14 further morph vertex deltas;
// one object "body" using it with `triangles` triangles and a bone list of 40 bones;
// 65 transforms, 3 name pairs, a small bounding mesh and two P5 entries (one empty).
GmdcFile make_body_mesh(std::int32_t vertices = 12, std::int32_t triangles = 6);

// Shaped like a static object: one object group with 4 data lists (positions, normals,
// texture coordinates, bump-map normals), one object "teapot", no bones, no transforms.
GmdcFile make_static_mesh(std::int32_t vertices = 6, std::int32_t triangles = 2);

} // namespace mw::test
