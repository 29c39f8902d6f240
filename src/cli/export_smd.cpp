// meshwright-cli export-smd: one GMDC object with its skeleton as a Half-Life SMD file.
#include "cli/cli.h"
#include "core/state.h"
#include "gmdc/gmdc_reader.h"
#include "smd_export/smd_writer.h"

#include <charconv>

namespace mw::cli {

const char* const kExportSmdUsage =
    "Usage: meshwright-cli export-smd GMDC (--object NAME | --index N) -o OUT.smd [--single-bone]\n\n"
    "Writes one object of GMDC, with a node per transform and its bone assignments, as a\n"
    "Half-Life SMD file.\n\n"
    "  --object NAME  the first object of that name\n"
    "  --index N      object N, counted from 1 (0: no object)\n"
    "  --single-bone  one bone per vertex instead of up to three weighted bones\n";

int run_export_smd(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {"-o", "--object", "--index"}, error))
        return usage_error(error, kExportSmdUsage);
    if (const auto bad = args.unknown({"-o", "--object", "--index", "--single-bone"}); !bad.empty())
        return usage_error("unknown option " + bad.front(), kExportSmdUsage);
    if (args.positional().size() != 1)
        return usage_error("give exactly one GMDC file", kExportSmdUsage);
    const auto out = args.value("-o");
    if (!out || out->empty())
        return usage_error("name the SMD file with -o OUT.smd", kExportSmdUsage);
    const auto name = args.value("--object");
    const auto index = args.value("--index");
    if (name.has_value() == index.has_value())
        return usage_error("choose the object with either --object NAME or --index N", kExportSmdUsage);
    int number = 0;
    if (index) {
        const char* end = index->data() + index->size();
        const auto r = std::from_chars(index->data(), end, number);
        if (r.ec != std::errc() || r.ptr != end || number < 0)
            return usage_error("--index needs a whole number 0 or above, not '" + *index + "'", kExportSmdUsage);
    }

    ConsoleSink sink;
    State state;
    if (!readGmdc(state.gmdc, args.positional()[0], sink))
        return kExitFailure;
    if (name) {
        for (std::size_t o = 0; o < state.gmdc.objects.size() && number == 0; ++o)
            if (state.gmdc.objects[o].name == *name)
                number = static_cast<int>(o) + 1;
        if (number == 0) {
            std::string known;
            for (const GmdcObject& o : state.gmdc.objects)
                known += (known.empty() ? "" : ", ") + ("\"" + o.name + "\"");
            sink.error("The GMDC has no object named \"" + *name + "\"; its objects are " +
                       (known.empty() ? "none" : known) + ".");
            return kExitFailure;
        }
    }
    const std::int16_t mode = args.flag("--single-bone") ? kSmdSingleBone : kSmdMultipleBones;
    if (!write_smd(state, *out, number, mode, sink))
        return kExitFailure;
    sink.info("Wrote object " + std::to_string(number) + " (\"" +
              state.gmdc.objects[static_cast<std::size_t>(number - 1)].name + "\") to " + *out);
    return kExitOk;
}

} // namespace mw::cli
