// Sub-group transfer: putting a model into an object group together with its bone
// assignments and bone weights, so that every vertex hangs on one bone of the target
// object's bone list (the model's subGroup, a 1-based slot of blockB). Used by the 3D
// view's "Replace" and "add model".
//
// Each operation checks every list, model and object it will touch first; on failure it
// returns false with `error` and changes nothing (the bone-assignment slot included).
#pragma once

#include "merge/merge_options.h"
#include "state/state.h"

#include <string>

namespace mw {

// Replaces the contents of the five data lists (1-based numbers) with model `model`:
// its vertexCount V vertices, first V normals and texture coordinates, V bone
// assignments of its subGroup alone and V weights (1.0, 0.0, 0.0) or 1.0, as the
// bone-weight list's own layout says. The object group of the model's targetObject gets
// vertexCount V.
bool replace_subgroup(State& state, int model, int vertexList, int normalList, int uvList, int boneAssignmentList,
                      int boneWeightList, const ViewOptions& options, std::string& error);

// Appends the model behind object group `objectGroup`'s five lists and its faces behind
// object `object`'s, shifted by the bone-weight list's element count before the append.
// The bone lists are those of `objectGroup` with "Body Editing", else those of the
// model's target object's group. All five lists must hold the same number of elements
// (trailing all-zero padding vertices of the vertex list are dropped first).
bool append_subgroup(State& state, int model, int objectGroup, int object, const ViewOptions& options,
                     std::string& error);

// Appends the model's faces behind object `object`'s, each vertex number - 1 + `offset`.
bool append_subgroup_faces(State& state, int model, int object, int offset, std::string& error);

// The target object of model `model` when it names an object whose bone list holds the
// model's subGroup (1..blockBCount, at most 255 since a slot must fit a byte below 0xFF).
GmdcObject* checked_target(State& state, const MeshModel& model, std::string& error);

} // namespace mw
