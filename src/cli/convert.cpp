// `meshwright-cli convert MESH -o OUT.obj`: one model of an OBJ or SMD file written as OBJ.
#include "cli/cli.h"
#include "cli/mesh_input.h"
#include "mesh/obj_writer.h"

#include <charconv>
#include <cstdio>

namespace mw::cli {

const char* const kConvertUsage =
    "Usage: meshwright-cli convert MESH -o OUT.obj [--model N]\n\n"
    "Reads MESH (an OBJ or SMD file, by its extension in any letter case) and writes model N\n"
    "(default 1) as an OBJ file: positions, normals, texture coordinates and triangles, with\n"
    "one number per corner for all three.\n\n"
    "  -o OUT.obj    the file to write (replaced atomically)\n"
    "  --model N     the model to write, 1-based\n";

int run_convert(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {"-o", "--model"}, error))
        return usage_error(error, kConvertUsage);
    const std::vector<std::string> bad = args.unknown({"-o", "--model"});
    if (!bad.empty())
        return usage_error("unknown option " + bad.front(), kConvertUsage);
    if (args.positional().size() != 1)
        return usage_error("convert takes exactly one mesh file", kConvertUsage);
    const std::string& path = args.positional().front();
    if (!is_mesh_file(path))
        return usage_error("convert reads OBJ and SMD files (.obj, .smd); " + path + " is neither", kConvertUsage);
    const std::optional<std::string> out = args.value("-o");
    if (!out || out->empty())
        return usage_error("convert needs the output file: -o OUT.obj", kConvertUsage);
    int model = 1;
    if (const std::optional<std::string> n = args.value("--model")) {
        const auto r = std::from_chars(n->data(), n->data() + n->size(), model);
        if (r.ec != std::errc() || r.ptr != n->data() + n->size())
            return usage_error("--model needs a whole number, not \"" + *n + "\"", kConvertUsage);
    }

    State state;
    ConsoleSink console;
    if (!read_mesh(state, path, MeshInput(), console))
        return kExitFailure;
    if (!write_obj(state, *out, model, console))
        return kExitFailure;
    const MeshModel& written = state.models.models[static_cast<std::size_t>(model - 1)];
    std::printf("Wrote model %d (%s) to %s: %d vertices, %d faces\n", model, written.name.c_str(), out->c_str(),
                written.vertexCount(), written.faceCount());
    return kExitOk;
}

} // namespace mw::cli
