// The body-mesh save used with "Body Editing": the GMDC written with exactly 15 data
// lists (the morph and bump-map lists left out) and every object group pointing at the
// last five of them. The game's body meshes are laid out so; any other GMDC would be
// corrupted by the fixed numbers, so it is checked first.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_writer.h"
#include "state/state.h"

#include <string>

namespace mw {

// True when leaving out the lists of identity 0x7C4DEE82, 0x5CF2CFE1, 0xCB6F3A6A,
// 0xDCF2CFDC and 0x89D92BA0 leaves exactly 15 data lists and every object group's lists,
// renumbered after that removal, are 10 to 14: vertex positions, normals, texture
// coordinates, bone assignments, bone weights. Otherwise false with `error`.
bool check_body_mesh_layout(const GmdcFile& gmdc, std::string& error);

// Checks the layout, then writes the GMDC in the body-mesh variant (padding, atomic save
// and "Save Complete" as every save). The record in memory keeps its own index lists and
// counts. On a refusal reports why and writes nothing. `save` as for writeGmdc.
bool save_body_gmdc(State& state, const std::string& path, MessageSink& sink, const GmdcBytesSaver& save = {});

} // namespace mw
