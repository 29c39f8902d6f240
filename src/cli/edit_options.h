// The options `merge`, `replace` and `add` share for keeping a GMDC sound after an edit.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"
#include "merge/area_update.h"

#include <CLI/CLI.hpp>

#include <string>

namespace mw::cli {

struct EditOptions {
    bool keepLists = false;
    bool updateArea = false;
};

inline void add_edit_flags(CLI::App& command, EditOptions& options)
{
    command.add_flag("--keep-lists", options.keepLists,
                     "leave a group's other per-vertex lists (bones, morphs) as they are when its vertex count "
                     "changes, instead of rebuilding them from the nearest old vertices (a warning names them)");
    command.add_flag("--update-area", options.updateArea,
                     "rebuild the clickable area (P4's bounding mesh) from the objects' own triangles");
}

// Rebuilds the clickable area when asked; false after an error message when it cannot.
inline bool apply_area_update(GmdcFile& gmdc, const EditOptions& options, MessageSink& sink)
{
    std::string error;
    if (!options.updateArea || rebuild_area_from_objects(gmdc, error))
        return true;
    sink.error("Cannot rebuild the clickable area: " + error + ". Nothing was saved.");
    return false;
}

} // namespace mw::cli
