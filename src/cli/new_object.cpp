// meshwright-cli new-object: the "Simple object import" wizard without its window.
#include "cli/cli.h"
#include "gmdc/gmdc_writer.h"
#include "mesh/obj_reader.h"
#include "state/state.h"
#include "wizard/shape_writer.h"
#include "wizard/wizard_construction.h"

#include <memory>

namespace mw::cli {

namespace {

const char* const kNewObjectDescription =
    "Builds a brand-new GMDC from the 1 to 10 groups of OBJ (one object per group, named like\n"
    "the group) and saves it to OUT.5gd.";

struct NewObjectOptions {
    std::string obj, out, shapeFile, names;
    bool shapeArea = false;
};

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

int run_new_object(const NewObjectOptions& options)
{
    ConsoleSink sink;
    State state;
    if (!read_obj(state, options.obj, sink))
        return kExitFailure;
    const std::size_t objects = state.models.models.size();
    std::vector<std::string> subsetNames;
    if (!options.names.empty()) {
        subsetNames = split_names(options.names);
        if (subsetNames.size() != objects)
            usage_error("--names gives " + std::to_string(subsetNames.size()) + " names, but the OBJ file holds " +
                        std::to_string(objects) + " objects");
    } else {
        for (const MeshModel& m : state.models.models)
            subsetNames.push_back(m.name);
    }

    // The shape is checked before anything is written, so a refused name writes no GMDC.
    const bool withShape = !options.shapeFile.empty();
    ShpeFile shape;
    initShape(shape);
    setShapeParts(shape, subsetNames);
    std::string shapeBytes, error;
    if (withShape && !serializeShape(shape, shapeBytes, error)) {
        sink.error(error);
        return kExitFailure;
    }

    WizardOptions wizard;
    wizard.shapeArea = options.shapeArea;
    if (!build_new_object(state, wizard, sink) || !writeGmdc(state.gmdc, options.out, sink))
        return kExitFailure;
    if (withShape) {
        if (!writeShape(shape, options.shapeFile, sink))
            return kExitFailure;
        sink.info("Wrote the shape resource " + options.shapeFile);
    }
    return kExitOk;
}

} // namespace

void register_new_object(CLI::App& app)
{
    auto options = std::make_shared<NewObjectOptions>();
    CLI::App* command = add_command(app, "new-object", "build a new GMDC from the groups of an OBJ file",
                                    kNewObjectDescription, [options] { return run_new_object(*options); });
    command->add_option("OBJ", options->obj, "the OBJ file")->required();
    add_output(*command, options->out, "the new GMDC file");
    command->add_flag("--shape-area", options->shapeArea,
                      "make the clickable area from the objects' own shapes instead of the large box "
                      "obj_pinfo.dat beside the program");
    CLI::Option* shape = command->add_option("--shape", options->shapeFile,
                                             "also write the shape resource (cShape) naming one part per object");
    command
        ->add_option("--names", options->names,
                     "the parts' subset names A,B,C, one per object (default: the objects' names)")
        ->needs(shape);
}

} // namespace mw::cli
