// Reading an OBJ or SMD file for a command, by its extension in any letter case.
#pragma once

#include "cli/cli.h"
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

} // namespace mw::cli
