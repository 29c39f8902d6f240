// Writing one imported model as a Wavefront OBJ file: positions, normals, texture
// coordinates and triangles, nothing else.
#pragma once

#include "core/message_sink.h"
#include "state/state.h"

#include <string>

namespace mw {

// Writes model `modelNumber` (1-based) of state.models to `fileName`, CR LF line ends:
// vertexCount "v" lines, vertexCount "vn" lines, vertexCount "vt" lines (u and v as
// stored) and one "f k/k/k k/k/k k/k/k" line per face. The file is saved atomically.
//
// Refused with a message, writing nothing: a model number outside 1..modelCount, a model
// with fewer normals or texture coordinates than vertices, a face naming a vertex outside
// 1..vertexCount, a save that fails (the message names the path and the reason).
bool write_obj(const State& state, const std::string& fileName, int modelNumber, MessageSink& sink);

// The text write_obj saves for `model`; the model must pass write_obj's checks.
std::string format_obj(const MeshModel& model);

} // namespace mw
