// `meshwright-cli replace|add MESH GMDC -o OUT --assign MODEL=OBJECT[:SUBGROUP] ...`: the
// 3D view's "Replace" and "add model" with the models assigned on the command line,
// saved with the body-mesh save under --body-editing, else with the ordinary save.
#include "cli/cli.h"
#include "cli/edit_options.h"
#include "cli/mesh_input.h"
#include "gmdc/gmdc_writer.h"
#include "merge/body_save.h"
#include "merge/view_commands.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace mw::cli {

namespace {

// The body-mesh save (layout check, 15-list variant) to a GMDC file or into the package.
bool save_body(const GmdcSource& source, State& state, const std::string& out, MessageSink& sink)
{
    if (lower_extension(out) != ".package")
        return save_body_gmdc(state, out, sink);
    std::string error;
    if (!check_body_mesh_layout(state.gmdc, error)) {
        sink.error("Cannot save " + out + " as a body mesh: " + error + ". Nothing was written.");
        return false;
    }
    GmdcWriteOptions options;
    options.bodyMesh = true;
    return save_gmdc(source, state.gmdc, out, sink, options);
}

bool all_digits(const std::string& s)
{
    return !s.empty() && s.size() <= 5 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// A 1-based number among `names`, or the one name that equals `word`; 0 with `error`.
int resolve(const std::string& word, const std::vector<std::string>& names, const char* kind, std::string& error)
{
    if (all_digits(word)) {
        const int n = std::stoi(word);
        if (n >= 1 && n <= static_cast<int>(names.size()))
            return n;
        error = "there is no " + std::string(kind) + " " + word + " (1 to " + std::to_string(names.size()) + ")";
        return 0;
    }
    int found = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != word)
            continue;
        if (found != 0) {
            error = std::string("several ") + kind + "s are named \"" + word + "\"; give the number instead";
            return 0;
        }
        found = static_cast<int>(i) + 1;
    }
    if (found == 0)
        error = std::string("no ") + kind + " is named \"" + word + "\"";
    return found;
}

struct Assignment {
    std::string model, object;
    int subGroup = 1;
};

// MODEL=OBJECT[:SUBGROUP]; a trailing ":digits" is the sub-group.
bool parse_assignment(const std::string& text, Assignment& a)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == text.size())
        return false;
    a.model = text.substr(0, eq);
    a.object = text.substr(eq + 1);
    const std::size_t colon = a.object.rfind(':');
    if (colon != std::string::npos && all_digits(a.object.substr(colon + 1))) {
        a.subGroup = std::stoi(a.object.substr(colon + 1));
        a.object.resize(colon);
    }
    return !a.object.empty() && a.subGroup >= 1 && a.subGroup <= 32767;
}

struct AssignOptions {
    std::string mesh, out;
    GmdcSource gmdc;
    std::vector<std::string> assign;
    bool bodyEditing = false, threeWeights = false, bumpMap = false, xsi = false, threeDsMax = false;
    EditOptions edit;
};

int run_assigned(const AssignOptions& args, bool add)
{
    if (lower_extension(args.mesh) != ".obj" && lower_extension(args.mesh) != ".smd")
        usage_error("MESH must be an .obj or .smd file");
    std::vector<Assignment> assignments;
    for (const std::string& text : args.assign) {
        Assignment a;
        if (!parse_assignment(text, a))
            usage_error("--assign " + text + " is not MODEL=OBJECT[:SUBGROUP]");
        assignments.push_back(a);
    }

    ViewOptions options;
    options.bodyEditing = args.bodyEditing;
    options.threeWeights = args.threeWeights;
    options.bumpMap = args.bumpMap;
    options.usingXsiModTool = args.xsi;
    options.usingThreeDsMax = args.threeDsMax;
    options.keepLists = args.edit.keepLists;

    ConsoleSink sink;
    State state;
    GmdcSource source = args.gmdc;
    if (!load_mesh_and_gmdc(state, args.mesh, source, options.usingThreeDsMax, sink))
        return kExitFailure;

    std::vector<std::string> modelNames, objectNames;
    for (const MeshModel& m : state.models.models)
        modelNames.push_back(m.name);
    for (const GmdcObject& o : state.gmdc.objects)
        objectNames.push_back(o.name);
    std::string error;
    for (const Assignment& a : assignments) {
        const int model = resolve(a.model, modelNames, "model", error);
        const int object = model ? resolve(a.object, objectNames, "object", error) : 0;
        if (object == 0) {
            sink.error("Cannot assign " + a.model + "=" + a.object + ": " + error + ".");
            return kExitFailure;
        }
        MeshModel& m = state.models.models[static_cast<std::size_t>(model - 1)];
        m.targetObject = static_cast<std::int16_t>(object);
        m.subGroup = static_cast<std::int16_t>(a.subGroup);
    }

    if (!(add ? add_models(state, options, sink) : replace_models(state, options, sink)) ||
        !apply_area_update(state.gmdc, args.edit, sink))
        return kExitFailure;
    const bool saved =
        options.bodyEditing ? save_body(source, state, args.out, sink) : save_gmdc(source, state.gmdc, args.out, sink);
    return saved ? kExitOk : kExitFailure;
}

const char* const kReplaceDescription =
    "The 3D view's \"Replace\": reads MESH (an OBJ or SMD file), loads the GMDC file GMDC,\n"
    "assigns models to objects and puts each into its object's group. The first model of a\n"
    "group replaces its positions, normals, texture coordinates, bone assignments (all on\n"
    "SUBGROUP) and bone weights, and its object's faces; later OBJ models are appended.\n"
    "SMD models then get their own bones mapped onto the object's bone list. Saves to OUT;\n"
    "nothing is saved when a model cannot be put in.";

const char* const kAddDescription =
    "The 3D view's \"add model\": reads MESH (an OBJ or SMD file), loads the GMDC file GMDC,\n"
    "assigns models to objects and appends each behind its object's group: positions,\n"
    "normals, texture coordinates, bone assignments (all on SUBGROUP), bone weights, and\n"
    "its faces behind the object's. SMD bones are not mapped. Saves to OUT; nothing is\n"
    "saved when a model cannot be put in.";

void register_assigned(CLI::App& app, bool add)
{
    auto options = std::make_shared<AssignOptions>();
    CLI::App* command = add ? add_command(app, "add", "append assigned models to GMDC objects, bones included",
                                          kAddDescription, [options] { return run_assigned(*options, true); })
                            : add_command(app, "replace", "replace GMDC objects with assigned models, bones included",
                                          kReplaceDescription, [options] { return run_assigned(*options, false); });
    command->add_option("MESH", options->mesh, "an OBJ or SMD file")->required();
    command->add_option("GMDC", options->gmdc.path, "the GMDC file or package to change")->required();
    add_resource_option(*command, options->gmdc);
    add_output(*command, options->out, "the GMDC file to save");
    command
        ->add_option("--assign", options->assign,
                     "MODEL=OBJECT[:SUBGROUP]: MODEL and OBJECT by 1-based number or by name; SUBGROUP is the "
                     "1-based slot of the object's bone list (default 1). Repeat per model.")
        ->allow_extra_args(false);
    command->add_flag("--body-editing", options->bodyEditing,
                      "\"Body Editing\": save as a body mesh (15 data lists, 10 to 14)");
    command->add_flag("--three-weights", options->threeWeights,
                      "\"3 weights\": an empty bone-weight list gets three floats a vertex");
    command->add_flag(
        "--bump-map", options->bumpMap,
        add ? "\"Bump map\": object group 1's entry 6 grows to its normal count"
            : "\"Bump map\": object group 1's entry 6 grows to its normal count (not with --body-editing)");
    command->add_flag("--xsi", options->xsi,
                      add ? "\"Using XSI Mod Tool\" (no effect: add maps no bones)"
                          : "\"Using XSI Mod Tool\": multi-bone SMD bone numbers are one higher");
    command->add_flag("--3dsmax", options->threeDsMax, "\"Using 3DS MAX\": read every SMD vertex's weighted bones");
    add_edit_flags(*command, options->edit);
}

} // namespace

void register_replace(CLI::App& app)
{
    register_assigned(app, false);
}

void register_add(CLI::App& app)
{
    register_assigned(app, true);
}

} // namespace mw::cli
