// meshwright-cli to-obj: "Convert to OBJ", every GMDC object as one OBJ group.
#include "cli/cli.h"
#include "cli/gmdc_source.h"
#include "gmdc/gmdc_reader.h"
#include "mesh/gmdc_to_obj.h"
#include "state/state.h"

#include <cmath>
#include <memory>

namespace mw::cli {

namespace {

const char* const kToObjDescription =
    "Writes every object of GMDC as one group (\"g NAME\") of a Wavefront OBJ file, with its\n"
    "positions, texture coordinates, normals and triangles, numbers written losslessly.";

struct ToObjOptions {
    GmdcSource gmdc;
    std::string out;
    double scale = 100;
};

int run_to_obj(const ToObjOptions& options)
{
    ConsoleSink sink;
    State state;
    GmdcSource source = options.gmdc;
    if (!load_gmdc(source, state.gmdc, sink) || !write_gmdc_as_obj(state.gmdc, options.out, options.scale, sink))
        return kExitFailure;
    const std::size_t objects = state.gmdc.objects.size();
    sink.info("Wrote " + std::to_string(objects) + (objects == 1 ? " object to " : " objects to ") + options.out);
    return kExitOk;
}

} // namespace

void register_to_obj(CLI::App& app)
{
    auto options = std::make_shared<ToObjOptions>();
    CLI::App* command = add_command(app, "to-obj", "write every GMDC object as a group of an OBJ file",
                                    kToObjDescription, [options] { return run_to_obj(*options); });
    command->add_option("GMDC", options->gmdc.path, "the GMDC file or package")->required();
    add_resource_option(*command, options->gmdc);
    add_output(*command, options->out, "the OBJ file to write");
    const CLI::Validator percent(
        [](const std::string& text) {
            double v = 0;
            return CLI::detail::lexical_cast(text, v) && std::isfinite(v) && v > 0
                       ? std::string()
                       : "--scale needs a number of percent above 0, not '" + text + "'";
        },
        "", "PERCENT");
    command->add_option("--scale", options->scale, "multiply the positions by PERCENT / 100 (default 100: unchanged)")
        ->check(percent);
}

} // namespace mw::cli
