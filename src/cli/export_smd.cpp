// meshwright-cli export-smd: one GMDC object with its skeleton as a Half-Life SMD file.
#include "cli/cli.h"
#include "cli/gmdc_source.h"
#include "gmdc/gmdc_reader.h"
#include "smd_export/smd_writer.h"
#include "state/state.h"

#include <memory>

namespace mw::cli {

namespace {

const char* const kExportSmdDescription =
    "Writes one object of GMDC, with a node per transform and its bone assignments, as a\n"
    "Half-Life SMD file. Choose the object with either --object NAME or --index N.";

struct ExportSmdOptions {
    GmdcSource gmdc;
    std::string out, object;
    int index = 0;
    bool singleBone = false;
    CLI::Option* objectOption = nullptr;
    CLI::Option* indexOption = nullptr;
};

int run_export_smd(const ExportSmdOptions& options)
{
    if ((options.objectOption->count() > 0) == (options.indexOption->count() > 0))
        usage_error("choose the object with either --object NAME or --index N");
    ConsoleSink sink;
    State state;
    GmdcSource source = options.gmdc;
    if (!load_gmdc(source, state.gmdc, sink))
        return kExitFailure;
    int number = options.index;
    if (options.objectOption->count() > 0) {
        for (std::size_t o = 0; o < state.gmdc.objects.size() && number == 0; ++o)
            if (state.gmdc.objects[o].name == options.object)
                number = static_cast<int>(o) + 1;
        if (number == 0) {
            std::string known;
            for (const GmdcObject& o : state.gmdc.objects)
                known += (known.empty() ? "" : ", ") + ("\"" + o.name + "\"");
            sink.error("The GMDC has no object named \"" + options.object + "\"; its objects are " +
                       (known.empty() ? "none" : known) + ".");
            return kExitFailure;
        }
    }
    const std::int16_t mode = options.singleBone ? kSmdSingleBone : kSmdMultipleBones;
    if (!write_smd(state, options.out, number, mode, sink))
        return kExitFailure;
    sink.info("Wrote object " + std::to_string(number) + " (\"" +
              state.gmdc.objects[static_cast<std::size_t>(number - 1)].name + "\") to " + options.out);
    return kExitOk;
}

} // namespace

void register_export_smd(CLI::App& app)
{
    auto options = std::make_shared<ExportSmdOptions>();
    CLI::App* command = add_command(app, "export-smd", "write one GMDC object with its skeleton as SMD",
                                    kExportSmdDescription, [options] { return run_export_smd(*options); });
    command->add_option("GMDC", options->gmdc.path, "the GMDC file or package")->required();
    add_resource_option(*command, options->gmdc);
    add_output(*command, options->out, "the SMD file to write");
    options->objectOption = command->add_option("--object", options->object, "the first object of that name");
    options->indexOption = command->add_option("--index", options->index, "object N, counted from 1 (0: no object)")
                               ->check(CLI::NonNegativeNumber);
    command->add_flag("--single-bone", options->singleBone,
                      "one bone per vertex instead of up to three weighted bones");
}

} // namespace mw::cli
