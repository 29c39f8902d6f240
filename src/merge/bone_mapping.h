// Mapping the bones of an SMD model onto a GMDC object's bone list (blockB): each
// vertex's bone-assignment value gets the blockB slots of its bones, and for a multi-bone
// model its three weights. Run by "Replace" after the model's lists are in place.
#pragma once

#include "merge/merge_options.h"
#include "state/state.h"

#include <string>

namespace mw {

// The system's own words for bones that do not fit the object's bone list.
inline constexpr const char* kTooManyBonesMessage = "Error: to many bones in smd for this gmdc file.";

// Rewrites entries 1..boneVertexCount of data list `boneAssignmentList` (1-based) from
// model `model`'s bones, looked up in object `object`'s blockB (the last matching slot
// wins). One-bone models (boneMode 1): value = slot - 256, weights untouched. Multi-bone
// models: byte 0, 1, 2 = the slots of bone1, bone2, bone3 (0xFF for none), byte 3 = 0xFF,
// and weights (weight1, weight2 or 0.0, weight3 or 0.0) into the list after the slot
// list; with "Using XSI Mod Tool" their bone numbers are one higher than blockB's. When the
// group's bone-assignment list has blockFormat 0, only vertices with a single bone are
// mapped and no weights are written. Runs the slot search on the object's group.
//
// Refuses, changing nothing, when a bone it looks up is not in blockB or blockB holds
// more than 255 bones (`tooManyBones` is then set: show kTooManyBonesMessage), when the
// lists are missing, too short, or the weight list does not hold three floats per
// element where weights are written.
bool map_bone_assignments(State& state, int model, int boneAssignmentList, int object, const ViewOptions& options,
                          std::string& error, bool& tooManyBones);

} // namespace mw
