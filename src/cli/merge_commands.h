// meshwright-cli merge, replace and add: the main window's save flow and the 3D view's
// "Replace" and "add model", each ending in a save.
#pragma once

#include "core/message_sink.h"
#include "core/state.h"

#include <string>
#include <vector>

namespace mw::cli {

int run_merge(const std::vector<std::string>& words);
int run_replace(const std::vector<std::string>& words);
int run_add(const std::vector<std::string>& words);

extern const char* const kMergeUsage;
extern const char* const kReplaceUsage;
extern const char* const kAddUsage;

// Resets `state`, reads `mesh` (an OBJ or SMD file, by its extension) into the model set
// and loads the GMDC file `gmdc`. The OBJ reader writes no dump files here. False after
// the readers' messages when either file is refused.
bool load_mesh_and_gmdc(State& state, const std::string& mesh, const std::string& gmdc, bool weightedSmd,
                        MessageSink& sink);

} // namespace mw::cli
