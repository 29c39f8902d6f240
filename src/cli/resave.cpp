// `meshwright-cli resave IN OUT`: loads a GMDC and saves it again with the writer, vertex
// padding included, as the program's own save does.
#include "cli/cli.h"
#include "cli/gmdc_source.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"

#include <memory>

namespace mw::cli {

namespace {

const char* const kResaveDescription =
    "Loads the GMDC file IN and saves it to OUT in the same block version, with the vertex\n"
    "padding every save adds (three zero vertices behind object group 1's positions).\n"
    "IN may be a Sims 2 package: OUT then is a GMDC file, or, when it ends in .package, a\n"
    "copy of the package with that GMDC resource saved again.\n"
    "OUT is replaced atomically; a failed save leaves an existing OUT untouched.\n"
    "Prints \"Save Complete\" on success.";

struct ResaveOptions {
    GmdcSource in;
    std::string out;
};

int run_resave(const ResaveOptions& options)
{
    ConsoleSink sink;
    GmdcFile g;
    GmdcSource in = options.in;
    if (!load_gmdc(in, g, sink) || !save_gmdc(in, g, options.out, sink))
        return kExitFailure;
    return kExitOk;
}

} // namespace

void register_resave(CLI::App& app)
{
    auto options = std::make_shared<ResaveOptions>();
    CLI::App* command = add_command(app, "resave", "load a GMDC and save it again", kResaveDescription,
                                    [options] { return run_resave(*options); });
    command->add_option("IN", options->in.path, "the GMDC file or package to load")->required();
    add_resource_option(*command, options->in);
    command->add_option("OUT", options->out, "the file to save")->required();
}

} // namespace mw::cli
