// The main window's merge pass: every imported model goes into the GMDC object of the
// same name. The first model that reaches an object group replaces its vertex, normal and
// texture-coordinate lists (and, with "Import Polygons", its object's faces); every
// further model of the same group in the same pass is appended behind them.
//
// Each operation checks everything it will touch before it writes: on failure it returns
// false with `error` and leaves the record as it was. Numbers of models, objects, object
// groups and data lists are 1-based.
#pragma once

#include "core/message_sink.h"
#include "merge/merge_options.h"
#include "state/state.h"

#include <string>

namespace mw {

// The merge pass. A model goes into the object of its name (exact, case-sensitive, or the
// name "Convert to OBJ" gives the object's group); the k-th model of a name into the k-th
// object of that name, further models appended to the last of them with a warning, and
// fewer models than objects of a name refused. Models whose name matches no object are
// left out and named in a warning. Per-vertex lists of a group whose vertex count changed
// follow the new vertices (see follow_new_vertices). All or nothing:
// when any model cannot be merged, the message names it and its object and the GMDC stays
// as it was. Warns about objects that keep old faces in a replaced object group.
bool merge_models_into_gmdc(State& state, const ImportOptions& options, MessageSink& sink);

// Replaces the contents of data lists `vertexList`, `normalList` and `uvList` with
// model `model`'s vertices, first vertexCount normals and first vertexCount texture
// coordinates; each only when its import option is ticked (an unticked list's number is
// not looked at).
bool replace_object_lists(State& state, int model, int vertexList, int normalList, int uvList,
                          const ImportOptions& options, std::string& error);

// Replaces object `object`'s faces with the model's and sets its object group's
// vertexCount to the model's vertex count.
bool replace_object_faces(State& state, int model, int object, std::string& error);

// Appends the model behind object group `objectGroup`'s vertex, normal and
// texture-coordinate lists (those whose option is ticked) and its faces behind object
// `object`'s, shifted by the element count of the last list appended (0 when none is).
// The lists being appended must line up: trailing all-zero padding vertices of the vertex
// list are dropped first, any other difference is refused.
bool merge_object(State& state, int model, int objectGroup, int object, const ImportOptions& options,
                  std::string& error);

// Appends the model's faces behind object `object`'s faces, each vertex number - 1 +
// `offset`.
bool merge_model_faces_2_Gmdc(State& state, int model, int object, int offset, std::string& error);

} // namespace mw
