// The small list edits the merging operations share, made once their checks
// (merge_checks.h) have passed: appending vertices, normals, texture coordinates and
// faces, dropping padding vertices, emptying a list.
#pragma once

#include "state/state.h"

#include <cstdint>
#include <vector>

namespace mw {

// A saved GMDC carries three all-zero padding vertices at the end of object group 1's
// vertex list, which its normal and texture-coordinate lists lack. Returns how many
// trailing vertices to drop before appending so that all lists line up again: the excess
// of `positions` over `otherCount` when those vertices are all zero, else 0.
std::int32_t padding_vertices(const DataList& positions, std::int32_t otherCount);
void drop_vertices(DataList& positions, std::int32_t count);

// Appends the first `count` entries of `values` (3 or 2 floats each) behind a list that
// holds 3 or 2 floats per record, adding `count` records.
void append_vec3(DataList& list, const std::vector<Vec3f>& values, std::size_t count);
void append_vec2(DataList& list, const std::vector<Vec2f>& values, std::size_t count);
// Drops a list's values and records (its other fields stay).
void clear_list(DataList& list);

// The value of a vertex that hangs on bone-list slot `subGroup` (1-based) alone:
// byte 0 = subGroup - 1, bytes 1 to 3 = 0xFF, that is (subGroup - 1) - 256.
std::int32_t single_bone_value(std::int32_t subGroup);

// Appends the model's faces, as 0-based indices shifted by `offset`, behind `faces`
// (check_shifted_faces has checked that they fit).
void append_model_faces(std::vector<std::int16_t>& faces, const MeshModel& model, std::int32_t offset);

} // namespace mw
