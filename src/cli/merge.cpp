// `meshwright-cli merge MESH GMDC -o OUT`: the main window's steps 1, 2 and 4 — read the
// mesh, load the GMDC, put every model into the object of the same name, save.
#include "cli/cli.h"
#include "cli/merge_commands.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/merge_pass.h"
#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"

namespace mw::cli {

const char* const kMergeUsage =
    "Usage: meshwright-cli merge MESH GMDC -o OUT [--no-vertices] [--no-normals] [--no-uvs]\n"
    "                            [--no-polygons] [--3ds-smd]\n\n"
    "Reads MESH (an OBJ or SMD file, by its extension), loads the GMDC file GMDC and puts\n"
    "every model into the GMDC object of the same name (exact and case-sensitive): the\n"
    "first model of an object group replaces its vertices, normals, texture coordinates\n"
    "and its object's faces, later ones are appended. Models that match no object are\n"
    "named and left out. Then saves the GMDC to OUT (with the usual vertex padding).\n"
    "When any model cannot be merged nothing is saved.\n\n"
    "  --no-vertices  --no-normals  --no-uvs  --no-polygons\n"
    "                 untick \"Import Vertices\", \"Import Normals\", \"Import UVs\" or\n"
    "                 \"Import Polygons\"\n"
    "  --3ds-smd      (SMD) read the file as a 3ds studio SMD file (weighted bones)\n";

bool load_mesh_and_gmdc(State& state, const std::string& mesh, const std::string& gmdc, bool weightedSmd,
                        MessageSink& sink)
{
    state.cleanUp();
    const std::string ext = lower_extension(mesh);
    bool ok = false;
    if (ext == ".smd") {
        SmdReadOptions options;
        options.studio3dsSmd = weightedSmd;
        ok = read_smd(state, mesh, sink, options);
    } else {
        ok = read_obj(state, mesh, sink);
    }
    return ok && readGmdc(state.gmdc, gmdc, sink);
}

int run_merge(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {"-o"}, error))
        return usage_error(error, kMergeUsage);
    const std::vector<std::string> unknown =
        args.unknown({"-o", "--no-vertices", "--no-normals", "--no-uvs", "--no-polygons", "--3ds-smd"});
    if (!unknown.empty())
        return usage_error("unknown option " + unknown.front(), kMergeUsage);
    if (args.positional().size() != 2)
        return usage_error("merge needs MESH and GMDC", kMergeUsage);
    const std::optional<std::string> out = args.value("-o");
    if (!out || out->empty())
        return usage_error("merge needs -o OUT", kMergeUsage);
    const std::string& mesh = args.positional()[0];
    if (lower_extension(mesh) != ".obj" && lower_extension(mesh) != ".smd")
        return usage_error("MESH must be an .obj or .smd file", kMergeUsage);

    ImportOptions options;
    options.importVertices = !args.flag("--no-vertices");
    options.importNormals = !args.flag("--no-normals");
    options.importUVs = !args.flag("--no-uvs");
    options.importPolygons = !args.flag("--no-polygons");

    ConsoleSink sink;
    State state;
    if (!load_mesh_and_gmdc(state, mesh, args.positional()[1], args.flag("--3ds-smd"), sink))
        return kExitFailure;
    // The input-file box holds MESH's path, so the pass runs.
    if (!merge_models_into_gmdc(state, options, false, sink) || !writeGmdc(state.gmdc, *out, sink))
        return kExitFailure;
    return kExitOk;
}

} // namespace mw::cli
