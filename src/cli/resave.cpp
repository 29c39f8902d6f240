// `meshwright-cli resave IN OUT`: loads a GMDC and saves it again with the writer, vertex
// padding included, as the program's own save does.
#include "cli/cli.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"

namespace mw::cli {

const char* const kResaveUsage =
    "Usage: meshwright-cli resave IN OUT\n\n"
    "Loads the GMDC file IN and saves it to OUT in the same block version, with the vertex\n"
    "padding every save adds (three zero vertices behind object group 1's positions).\n"
    "OUT is replaced atomically; a failed save leaves an existing OUT untouched.\n"
    "Prints \"Save Complete\" on success.\n";

int run_resave(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {}, error))
        return usage_error(error, kResaveUsage);
    const std::vector<std::string> unknown = args.unknown({});
    if (!unknown.empty())
        return usage_error("unknown option " + unknown.front(), kResaveUsage);
    if (args.positional().size() != 2)
        return usage_error("resave needs IN and OUT", kResaveUsage);

    ConsoleSink sink;
    GmdcFile g;
    if (!readGmdc(g, args.positional()[0], sink) || !writeGmdc(g, args.positional()[1], sink))
        return kExitFailure;
    return kExitOk;
}

} // namespace mw::cli
