// Building a brand-new GMDC from the imported models: the "Simple object import" wizard's
// construction. The GMDC is made entirely of fixed values and the models; no template
// file is read. For n objects (1..10) it holds 8 empty base lists, then three lists per
// object (positions, normals, texture coordinates), one object group and one object per
// model, and a clickable area.
#pragma once

#include "core/message_sink.h"
#include "state/state.h"
#include "wizard/default_area.h"

#include <string>

namespace mw {

inline constexpr int kWizardMaxObjects = 10;

// The steps, in the order the wizard runs them. Object, list and group numbers are
// 1-based as the wizard counts them. The steps trust their input: build_new_object checks
// the models and the area before it runs them.

// Sets the headers, the 8 base lists, object group 1 and object 1 (primitiveType 2,
// objectGroupIndex 0, opacity -1); P5 empty.
void buildSkeleton(GmdcFile& gmdc);
// Extends the data lists to 3n + 8 (keeping lists 1..8), sets identity and formats of the
// three lists of every object 1..n, and fills object groups and objects 1..n.
void addObjectLists(GmdcFile& gmdc, int n);
// The clickable area made of the models themselves: every model's positions, and its
// faces with vertex numbers raised by the vertices of the models before it. Refuses,
// leaving `gmdc` as it was, an area whose face indices would pass 32767.
bool buildShapeArea(GmdcFile& gmdc, const ModelSet& models, std::string& error);
// The area read from the file at `path` (the layout of "obj_pinfo.dat"). Refuses a missing
// or malformed file, leaving `gmdc` as it was.
bool loadDefaultArea(GmdcFile& gmdc, const std::string& path, std::string& error);
// Copies model k's positions, normals and texture coordinates into data lists v, n and t.
// Model k has at least as many normals and texture coordinates as vertices.
void copyObjectGeometry(GmdcFile& gmdc, const ModelSet& models, int k, int v, int n, int t);
// Sets object j's faces to model k's faces, vertex numbers minus 1. Every face names a
// vertex 1..32768 of its model.
void copyObjectFaces(GmdcFile& gmdc, const ModelSet& models, int k, int j);

// Whether the models can become a new GMDC: 1..10 of them, each with a normal and a
// texture coordinate per vertex, at most 32767 vertices, faces naming only its own
// vertices and a name that fits its length byte. Sets `error` on the first problem.
bool checkModelsForNewObject(const ModelSet& models, std::string& error);

struct WizardOptions {
    bool shapeArea = false; // clickable area from the objects' shapes instead of the default box
    std::string areaFile;   // the default box; empty means "obj_pinfo.dat" in the program's folder
};

// The wizard's conversion: builds a new GMDC from every model of state.models and makes it
// the current GMDC (starting from a reset record; the model set is kept). On any problem
// reports it to `sink` and leaves state.gmdc exactly as it was.
bool build_new_object(State& state, const WizardOptions& options, MessageSink& sink);

} // namespace mw
