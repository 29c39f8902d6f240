// `meshwright-cli replace|add MESH GMDC -o OUT --assign MODEL=OBJECT[:SUBGROUP] ...`: the
// 3D view's "Replace" and "add model" with the models assigned on the command line,
// saved with the body-mesh save under --body-editing, else with the ordinary save.
#include "cli/cli.h"
#include "cli/merge_commands.h"
#include "gmdc/gmdc_writer.h"
#include "merge/body_save.h"
#include "merge/view_commands.h"

#include <algorithm>
#include <cctype>

namespace mw::cli {

namespace {

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

int run_assigned(const std::vector<std::string>& words, bool add, const char* usage)
{
    Args args;
    std::string error;
    if (!args.parse(words, {"-o", "--assign"}, error))
        return usage_error(error, usage);
    const std::vector<std::string> unknown =
        args.unknown({"-o", "--assign", "--body-editing", "--three-weights", "--bump-map", "--xsi", "--3dsmax"});
    if (!unknown.empty())
        return usage_error("unknown option " + unknown.front(), usage);
    if (args.positional().size() != 2)
        return usage_error(std::string(add ? "add" : "replace") + " needs MESH and GMDC", usage);
    const std::optional<std::string> out = args.value("-o");
    if (!out || out->empty())
        return usage_error(std::string(add ? "add" : "replace") + " needs -o OUT", usage);
    const std::string& mesh = args.positional()[0];
    if (lower_extension(mesh) != ".obj" && lower_extension(mesh) != ".smd")
        return usage_error("MESH must be an .obj or .smd file", usage);
    std::vector<Assignment> assignments;
    for (const std::string& text : args.values("--assign")) {
        Assignment a;
        if (!parse_assignment(text, a))
            return usage_error("--assign " + text + " is not MODEL=OBJECT[:SUBGROUP]", usage);
        assignments.push_back(a);
    }

    ViewOptions options;
    options.bodyEditing = args.flag("--body-editing");
    options.threeWeights = args.flag("--three-weights");
    options.bumpMap = args.flag("--bump-map");
    options.usingXsiModTool = args.flag("--xsi");
    options.usingThreeDsMax = args.flag("--3dsmax");

    ConsoleSink sink;
    State state;
    if (!load_mesh_and_gmdc(state, mesh, args.positional()[1], options.usingThreeDsMax, sink))
        return kExitFailure;

    std::vector<std::string> modelNames, objectNames;
    for (const MeshModel& m : state.models.models)
        modelNames.push_back(m.name);
    for (const GmdcObject& o : state.gmdc.objects)
        objectNames.push_back(o.name);
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

    if (!(add ? add_models(state, options, sink) : replace_models(state, options, sink)))
        return kExitFailure;
    const bool saved = options.bodyEditing ? save_body_gmdc(state, *out, sink) : writeGmdc(state.gmdc, *out, sink);
    return saved ? kExitOk : kExitFailure;
}

} // namespace

const char* const kReplaceUsage =
    "Usage: meshwright-cli replace MESH GMDC -o OUT --assign MODEL=OBJECT[:SUBGROUP] ...\n"
    "         [--body-editing] [--three-weights] [--bump-map] [--xsi] [--3dsmax]\n\n"
    "The 3D view's \"Replace\": reads MESH (an OBJ or SMD file), loads the GMDC file GMDC,\n"
    "assigns models to objects and puts each into its object's group. The first model of a\n"
    "group replaces its positions, normals, texture coordinates, bone assignments (all on\n"
    "SUBGROUP) and bone weights, and its object's faces; later OBJ models are appended.\n"
    "SMD models then get their own bones mapped onto the object's bone list. Saves to OUT;\n"
    "nothing is saved when a model cannot be put in.\n\n"
    "  --assign MODEL=OBJECT[:SUBGROUP]\n"
    "                   MODEL and OBJECT by 1-based number or by name; SUBGROUP is the\n"
    "                   1-based slot of the object's bone list (default 1). Repeat per model.\n"
    "  --body-editing   \"Body Editing\": save as a body mesh (15 data lists, 10 to 14)\n"
    "  --three-weights  \"3 weights\": an empty bone-weight list gets three floats a vertex\n"
    "  --bump-map       \"Bump map\": object group 1's entry 6 grows to its normal count\n"
    "                   (not with --body-editing)\n"
    "  --xsi            \"Using XSI Mod Tool\": multi-bone SMD bone numbers are one higher\n"
    "  --3dsmax         \"Using 3DS MAX\": read every SMD vertex's weighted bones\n";

const char* const kAddUsage =
    "Usage: meshwright-cli add MESH GMDC -o OUT --assign MODEL=OBJECT[:SUBGROUP] ...\n"
    "         [--body-editing] [--three-weights] [--bump-map] [--xsi] [--3dsmax]\n\n"
    "The 3D view's \"add model\": reads MESH (an OBJ or SMD file), loads the GMDC file GMDC,\n"
    "assigns models to objects and appends each behind its object's group: positions,\n"
    "normals, texture coordinates, bone assignments (all on SUBGROUP), bone weights, and\n"
    "its faces behind the object's. SMD bones are not mapped. Saves to OUT; nothing is\n"
    "saved when a model cannot be put in.\n\n"
    "  --assign MODEL=OBJECT[:SUBGROUP]\n"
    "                   MODEL and OBJECT by 1-based number or by name; SUBGROUP is the\n"
    "                   1-based slot of the object's bone list (default 1). Repeat per model.\n"
    "  --body-editing   \"Body Editing\": save as a body mesh (15 data lists, 10 to 14)\n"
    "  --three-weights  \"3 weights\": an empty bone-weight list gets three floats a vertex\n"
    "  --bump-map       \"Bump map\": object group 1's entry 6 grows to its normal count\n"
    "  --xsi            \"Using XSI Mod Tool\" (no effect: add maps no bones)\n"
    "  --3dsmax         \"Using 3DS MAX\": read every SMD vertex's weighted bones\n";

int run_replace(const std::vector<std::string>& words)
{
    return run_assigned(words, false, kReplaceUsage);
}

int run_add(const std::vector<std::string>& words)
{
    return run_assigned(words, true, kAddUsage);
}

} // namespace mw::cli
