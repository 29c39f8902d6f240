// Keeping an object group's per-vertex lists in step when an edit changes its vertex
// count. Bone assignments, weights, morph deltas and the like are stored one record per
// vertex beside the positions; a command that writes new positions but not those lists
// would leave every later vertex carrying another vertex's bones and morphs. Each new
// vertex takes the record of the nearest old vertex of its group instead.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <cstdint>
#include <vector>

namespace mw {

// Vertex attributes the nearest-vertex search compares: positions x, y, z; normals
// x, y, z and texture coordinates u, v per vertex, either of them empty when missing.
struct VertexSet {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> uvs;

    std::size_t size() const { return positions.size() / 3; }
};

// For every vertex of `to`, the 0-based number of the nearest vertex of `from` by
// position; among vertices of `from` at the same position (within 1e-4, the precision
// of the text formats), the one with the nearest normal, then texture coordinate.
// Uses a uniform grid, so large groups take milliseconds. `from` must not be empty.
std::vector<std::int32_t> nearest_vertices(const VertexSet& from, const VertexSet& to);

// The group's vertices as `gmdc` holds them: the first vertexCount records of its
// position, normal and texture-coordinate lists (a list that is missing or too short
// leaves its part empty).
VertexSet group_vertices(const GmdcFile& gmdc, std::size_t group);

// Called by a command after it changed `after`, with `before` the record it started
// from. For every object group whose vertexCount changed, the lists of the group that
// still hold the old count (dense lists of one record per vertex, and indexed lists whose
// items name vertices) are rebuilt for the new vertices; the message names each list.
// With `keepLists` they stay as they were and a warning names each list left out of step.
void follow_new_vertices(const GmdcFile& before, GmdcFile& after, bool keepLists, MessageSink& sink);

} // namespace mw
