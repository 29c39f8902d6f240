// `meshwright-cli render (MESH | GMDC) -o PREVIEW.png`: the 3D view's picture drawn off
// screen, without a display: a mesh's model view, or a GMDC object's sub-group.
#include "cli/cli.h"
#include "cli/mesh_input.h"
#include "core/program_folder.h"
#include "view/preview.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace mw::cli {

namespace {

const char* const kRenderDescription =
    "Draws what the 3D view shows and saves it as a PNG picture, without a display.\n"
    "MESH (.obj, .smd): model N (--model, default 1) with its texture, or every model\n"
    "(--all-models). GMDC (any other file): the triangles of object --object (a number from\n"
    "1 or a name, default 1) whose first corner belongs to sub-group --subgroup (from 1, as\n"
    "the window's \"Sub Group#:\" box counts; default 1): the vertex on that one bone alone,\n"
    "or with --body-editing the vertex's first bone. A view that draws nothing still writes\n"
    "its black picture, says why and exits 0.";

struct RenderOptions {
    std::string input, out, object = "1", rotate = "0,0,0", size = "640x480";
    int subgroup = 1, model = 1;
    float distance = kFixedCameraDistance;
    bool bodyEditing = false, allModels = false, allSubgroups = false, shaded = false, wireframe = false, fit = false;
};

// The object numbered `word` (from 1) or named `word`; 0 with `error`.
int object_number(const GmdcFile& gmdc, const std::string& word, std::string& error)
{
    const int count = static_cast<int>(gmdc.objects.size());
    if (!word.empty() && word.find_first_not_of("0123456789") == std::string::npos) {
        const long n = word.size() > 6 ? 0 : std::stol(word);
        if (n >= 1 && n <= count)
            return static_cast<int>(n);
        error = "there is no object " + word + " (1 to " + std::to_string(count) + ")";
        return 0;
    }
    int found = 0;
    for (int o = 1; o <= count; ++o) {
        if (gmdc.objects[static_cast<std::size_t>(o - 1)].name != word)
            continue;
        if (found) {
            error = "several objects are named \"" + word + "\"; give the number instead";
            return 0;
        }
        found = o;
    }
    if (!found)
        error = "no object is named \"" + word + "\"";
    return found;
}

int run_render(const RenderOptions& options)
{
    PreviewRequest request;
    char separator = 0;
    if (std::sscanf(options.size.c_str(), "%dx%d%c", &request.width, &request.height, &separator) != 2 ||
        request.width < 1 || request.height < 1 || request.width > 8192 || request.height > 8192)
        usage_error("--size " + options.size + " is not WIDTHxHEIGHT within 1x1 to 8192x8192");
    ViewState& view = request.view;
    if (std::sscanf(options.rotate.c_str(), "%d,%d,%d%c", &view.rot_x, &view.rot_y, &view.rot_z, &separator) != 3)
        usage_error("--rotate " + options.rotate + " is not three whole degrees X,Y,Z");
    view.camera_distance = options.distance;
    request.options.shaded = options.shaded;
    request.options.wireframe = options.wireframe;
    request.programFolder = program_folder();
    request.fit = options.fit;

    ConsoleSink sink;
    State state;
    if (is_mesh_file(options.input)) {
        if (!read_mesh(state, options.input, MeshInput(), sink))
            return kExitFailure;
        view.current_model = options.model;
        request.options.allObjects = options.allModels;
        request.meshFolder = std::filesystem::path(options.input).parent_path().string();
    } else {
        if (!readGmdc(state.gmdc, options.input, sink))
            return kExitFailure;
        std::string error;
        view.selected_object = object_number(state.gmdc, options.object, error);
        if (view.selected_object == 0) {
            sink.error("Cannot render --object " + options.object + ": " + error + ".");
            return kExitFailure;
        }
        view.selected_subgroup = options.subgroup - 1;
        request.options.gmdcView = true;
        request.options.bodyEditing = options.bodyEditing;
        request.options.allSubgroups = options.allSubgroups;
    }
    std::string note, error;
    if (!render_preview(state, request, options.out, note, error)) {
        sink.error(error);
        return kExitFailure;
    }
    if (!note.empty())
        std::fprintf(stderr, "Note: nothing was drawn: %s.\n", note.c_str());
    std::printf("Wrote %s (%dx%d)\n", options.out.c_str(), request.width, request.height);
    return kExitOk;
}

} // namespace

void register_render(CLI::App& app)
{
    auto options = std::make_shared<RenderOptions>();
    CLI::App* command = add_command(app, "render", "draw the 3D view of a mesh or GMDC into a PNG file",
                                    kRenderDescription, [options] { return run_render(*options); });
    command->add_option("INPUT", options->input, "an OBJ or SMD mesh, or a GMDC file")->required();
    add_output(*command, options->out, "the PNG file to write (replaced atomically)");
    command->add_option("--object", options->object, "GMDC: the object, a number from 1 or a name (default 1)");
    command->add_option("--subgroup", options->subgroup, "GMDC: the sub-group, counted from 1 (default 1)");
    command->add_flag("--body-editing", options->bodyEditing, "GMDC: a vertex belongs to its first bone's sub-group");
    command->add_flag("--all-subgroups", options->allSubgroups, "GMDC: every face of the object");
    command->add_option("--model", options->model, "mesh: the model to draw, 1-based (default 1)");
    command->add_flag("--all-models", options->allModels, "mesh: every model, each with its texture");
    command->add_option("--rotate", options->rotate, "turn the scene X,Y,Z whole degrees (default 0,0,0)");
    command->add_option("--distance", options->distance, "camera offset along z (default -3.5)");
    command->add_flag("--fit", options->fit, "place what is drawn in view (in place of --distance)");
    command->add_option("--size", options->size, "picture size WIDTHxHEIGHT (default 640x480)");
    command->add_flag("--shaded", options->shaded, "light the scene from the eye");
    command->add_flag("--wireframe", options->wireframe, "draw the triangles' edges over them");
}

} // namespace mw::cli
