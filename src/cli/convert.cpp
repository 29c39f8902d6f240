// `meshwright-cli convert MESH -o OUT.obj`: one model of an OBJ or SMD file written as OBJ.
#include "cli/cli.h"
#include "cli/mesh_input.h"
#include "mesh/obj_writer.h"

#include <cstdio>
#include <memory>

namespace mw::cli {

namespace {

const char* const kConvertDescription =
    "Reads MESH (an OBJ or SMD file, by its extension in any letter case) and writes model N\n"
    "(default 1) as an OBJ file: positions, normals, texture coordinates and triangles, with\n"
    "one number per corner for all three.";

struct ConvertOptions {
    std::string mesh, out;
    int model = 1;
};

int run_convert(const ConvertOptions& options)
{
    if (!is_mesh_file(options.mesh))
        usage_error("convert reads OBJ and SMD files (.obj, .smd); " + options.mesh + " is neither");
    State state;
    ConsoleSink console;
    if (!read_mesh(state, options.mesh, MeshInput(), console))
        return kExitFailure;
    if (!write_obj(state, options.out, options.model, console))
        return kExitFailure;
    const MeshModel& written = state.models.models[static_cast<std::size_t>(options.model - 1)];
    std::printf("Wrote model %d (%s) to %s: %d vertices, %d faces\n", options.model, written.name.c_str(),
                options.out.c_str(), written.vertexCount(), written.faceCount());
    return kExitOk;
}

} // namespace

void register_convert(CLI::App& app)
{
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* command = add_command(app, "convert", "write one model of an OBJ or SMD file as OBJ", kConvertDescription,
                                    [options] { return run_convert(*options); });
    command->add_option("MESH", options->mesh, "an OBJ or SMD file")->required();
    add_output(*command, options->out, "the OBJ file to write (replaced atomically)");
    command->add_option("--model", options->model, "the model to write, 1-based");
}

} // namespace mw::cli
