// Reading an OBJ or SMD file for a command, by its extension in any letter case.
#pragma once

#include "cli/cli.h"
#include "cli/gmdc_source.h"
#include "gmdc/gmdc_reader.h"
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"

namespace mw::cli {

struct MeshInput {
    ObjReadOptions obj; // dump files off unless asked for
    SmdReadOptions smd;
};

// True for the extensions read_mesh reads (".obj", ".smd", any letter case).
inline bool is_mesh_file(const std::string& path)
{
    const std::string ext = lower_extension(path);
    return ext == ".obj" || ext == ".smd";
}

// Reads `path` with the OBJ or SMD reader; the caller has checked is_mesh_file.
inline bool read_mesh(State& state, const std::string& path, const MeshInput& input, MessageSink& sink)
{
    if (lower_extension(path) == ".smd")
        return read_smd(state, path, sink, input.smd);
    return read_obj(state, path, sink, input.obj);
}

// Resets `state`, reads `mesh` (an OBJ or SMD file, by its extension) into the model set
// and loads the GMDC from `gmdc` (a GMDC file or package). False after the readers' messages when either is refused.
inline bool load_mesh_and_gmdc(State& state, const std::string& mesh, GmdcSource& gmdc, bool weightedSmd,
                               MessageSink& sink)
{
    state.cleanUp();
    MeshInput input;
    input.smd.studio3dsSmd = weightedSmd;
    return read_mesh(state, mesh, input, sink) && load_gmdc(gmdc, state.gmdc, sink);
}

} // namespace mw::cli
