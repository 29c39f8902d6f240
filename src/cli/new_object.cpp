// meshwright-cli new-object: the "Simple object import" wizard without its window.
#include "cli/cli.h"
#include "core/state.h"
#include "gmdc/gmdc_writer.h"
#include "mesh/obj_reader.h"
#include "wizard/shape_writer.h"
#include "wizard/wizard_construction.h"

namespace mw::cli {

const char* const kNewObjectUsage =
    "Usage: meshwright-cli new-object OBJ -o OUT.5gd [--shape-area] [--shape FILE [--names A,B,C]]\n\n"
    "Builds a brand-new GMDC from the 1 to 10 groups of OBJ (one object per group, named like\n"
    "the group) and saves it to OUT.5gd.\n\n"
    "  --shape-area   make the clickable area from the objects' own shapes instead of the\n"
    "                 large box obj_pinfo.dat beside the program\n"
    "  --shape FILE   also write the shape resource (cShape) naming one part per object\n"
    "  --names A,B,C  the parts' subset names, one per object (default: the objects' names)\n";

namespace {

std::vector<std::string> split_names(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        names.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return names;
        start = comma + 1;
    }
}

} // namespace

int run_new_object(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {"-o", "--shape", "--names"}, error))
        return usage_error(error, kNewObjectUsage);
    if (const auto bad = args.unknown({"-o", "--shape", "--names", "--shape-area"}); !bad.empty())
        return usage_error("unknown option " + bad.front(), kNewObjectUsage);
    if (args.positional().size() != 1)
        return usage_error("give exactly one OBJ file", kNewObjectUsage);
    const auto out = args.value("-o");
    if (!out || out->empty())
        return usage_error("name the new GMDC file with -o OUT.5gd", kNewObjectUsage);
    const auto shapeFile = args.value("--shape");
    const auto names = args.value("--names");
    if (names && !shapeFile)
        return usage_error("--names goes with --shape", kNewObjectUsage);

    ConsoleSink sink;
    State state;
    if (!read_obj(state, args.positional()[0], sink))
        return kExitFailure;
    const std::size_t objects = state.models.models.size();
    std::vector<std::string> subsetNames;
    if (names) {
        subsetNames = split_names(*names);
        if (subsetNames.size() != objects)
            return usage_error("--names gives " + std::to_string(subsetNames.size()) +
                                   " names, but the OBJ file holds " + std::to_string(objects) + " objects",
                               kNewObjectUsage);
    } else {
        for (const MeshModel& m : state.models.models)
            subsetNames.push_back(m.name);
    }

    // The shape is checked before anything is written, so a refused name writes no GMDC.
    ShpeFile shape;
    initShape(shape);
    setShapeParts(shape, subsetNames);
    std::string shapeBytes;
    if (shapeFile && !serializeShape(shape, shapeBytes, error)) {
        sink.error(error);
        return kExitFailure;
    }

    WizardOptions options;
    options.shapeArea = args.flag("--shape-area");
    if (!build_new_object(state, options, sink) || !writeGmdc(state.gmdc, *out, sink))
        return kExitFailure;
    if (shapeFile) {
        if (!writeShape(shape, *shapeFile, sink))
            return kExitFailure;
        sink.info("Wrote the shape resource " + *shapeFile);
    }
    return kExitOk;
}

} // namespace mw::cli
