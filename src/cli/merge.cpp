// `meshwright-cli merge MESH GMDC -o OUT`: the main window's steps 1, 2 and 4 — read the
// mesh, load the GMDC, put every model into the object of the same name, save.
#include "cli/cli.h"
#include "cli/edit_options.h"
#include "cli/mesh_input.h"
#include "gmdc/gmdc_writer.h"
#include "merge/merge_pass.h"

#include <memory>

namespace mw::cli {

namespace {

const char* const kMergeDescription =
    "Reads MESH (an OBJ or SMD file, by its extension), loads the GMDC file GMDC and puts\n"
    "every model into the GMDC object of the same name (exact and case-sensitive, or the\n"
    "name to-obj writes for it; the k-th model of a name into the k-th object of it): the\n"
    "first model of an object group replaces its vertices, normals, texture coordinates\n"
    "and its object's faces, later ones are appended. Models that match no object are\n"
    "named and left out. A group's other per-vertex lists (bones, morphs) follow its new\n"
    "vertices when their number changes. Then saves the GMDC to OUT (with the usual vertex padding).\n"
    "When any model cannot be merged nothing is saved.";

struct MergeOptions {
    std::string mesh, out;
    GmdcSource gmdc;
    bool noVertices = false, noNormals = false, noUVs = false, noPolygons = false, studio3dsSmd = false;
    EditOptions edit;
};

int run_merge(const MergeOptions& options)
{
    if (!is_mesh_file(options.mesh))
        usage_error("MESH must be an .obj or .smd file");
    ImportOptions import;
    import.importVertices = !options.noVertices;
    import.importNormals = !options.noNormals;
    import.importUVs = !options.noUVs;
    import.importPolygons = !options.noPolygons;
    import.keepLists = options.edit.keepLists;

    ConsoleSink sink;
    State state;
    GmdcSource source = options.gmdc;
    if (!load_mesh_and_gmdc(state, options.mesh, source, options.studio3dsSmd, sink))
        return kExitFailure;
    if (!merge_models_into_gmdc(state, import, sink) || !apply_area_update(state.gmdc, options.edit, sink) ||
        !save_gmdc(source, state.gmdc, options.out, sink))
        return kExitFailure;
    return kExitOk;
}

} // namespace

void register_merge(CLI::App& app)
{
    auto options = std::make_shared<MergeOptions>();
    CLI::App* command = add_command(app, "merge", "merge an OBJ or SMD mesh into the GMDC objects of the same name",
                                    kMergeDescription, [options] { return run_merge(*options); });
    command->add_option("MESH", options->mesh, "an OBJ or SMD file")->required();
    command->add_option("GMDC", options->gmdc.path, "the GMDC file or package to merge into")->required();
    add_resource_option(*command, options->gmdc);
    add_output(*command, options->out, "the GMDC file to save (.package: a copy of the package GMDC with it)");
    command->add_flag("--no-vertices", options->noVertices, "untick \"Import Vertices\"");
    command->add_flag("--no-normals", options->noNormals, "untick \"Import Normals\"");
    command->add_flag("--no-uvs", options->noUVs, "untick \"Import UVs\"");
    command->add_flag("--no-polygons", options->noPolygons, "untick \"Import Polygons\"");
    command->add_flag("--3ds-smd", options->studio3dsSmd,
                      "(SMD) read the file as a 3ds studio SMD file (weighted bones)");
    add_edit_flags(*command, options->edit);
}

} // namespace mw::cli
