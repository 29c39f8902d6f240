// The 3D view's "Replace" and "add model": every model with a target object goes into
// that object's group, with bone assignments of its sub-group; SMD models then get their
// own bones mapped. Both stop before the save step, which the caller performs
// (save_body_gmdc with "Body Editing", else writeGmdc).
//
// All or nothing: when any model cannot be put in, the message names the model and its
// object and the GMDC (and the bone-assignment slot) stays as it was.
#pragma once

#include "core/message_sink.h"
#include "merge/merge_options.h"
#include "state/state.h"

#include <string>

namespace mw {

// "Replace". OBJ models (modelSource 1): the first model of an object group replaces its
// five lists and its target object's faces, later ones are appended. SMD models: each
// replaces its group's lists and its object's faces, then its bones are mapped. After
// each model the bump-map patch when "Bump map" is ticked and "Body Editing" is not.
// Refuses when an object that shares a replaced group keeps faces reaching past the
// group's vertices; warns about every object whose old faces were kept.
bool replace_models(State& state, const ViewOptions& options, MessageSink& sink);

// "add model": every model with a target object is appended to its object's group
// (bones are never mapped), then the bump-map patch when "Bump map" is ticked.
bool add_models(State& state, const ViewOptions& options, MessageSink& sink);

// The bump-map patch on object group 1: the list at its entry 6 gets as many elements,
// of three floats, as its normal list (entry 2), contents kept. Refused when entry 6 is
// missing, a bone-assignment list, or the group's bone-assignment or bone-weight list.
bool apply_bump_map_patch(State& state, std::string& error);

} // namespace mw
