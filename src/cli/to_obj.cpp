// meshwright-cli to-obj: "Convert to OBJ", every GMDC object as one OBJ group.
#include "cli/cli.h"
#include "core/state.h"
#include "gmdc/gmdc_reader.h"
#include "mesh/gmdc_to_obj.h"

#include <charconv>
#include <cmath>

namespace mw::cli {

const char* const kToObjUsage =
    "Usage: meshwright-cli to-obj GMDC -o OUT.obj [--scale PERCENT]\n\n"
    "Writes every object of GMDC as one group (\"g NAME\") of a Wavefront OBJ file, with its\n"
    "positions, texture coordinates, normals and triangles, numbers written losslessly.\n\n"
    "  --scale PERCENT  multiply the positions by PERCENT / 100 (default 100: unchanged)\n";

int run_to_obj(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {"-o", "--scale"}, error))
        return usage_error(error, kToObjUsage);
    if (const auto bad = args.unknown({"-o", "--scale"}); !bad.empty())
        return usage_error("unknown option " + bad.front(), kToObjUsage);
    if (args.positional().size() != 1)
        return usage_error("give exactly one GMDC file", kToObjUsage);
    const auto out = args.value("-o");
    if (!out || out->empty())
        return usage_error("name the OBJ file with -o OUT.obj", kToObjUsage);
    double scale = 100;
    if (const auto text = args.value("--scale")) {
        const char* end = text->data() + text->size();
        const auto r = std::from_chars(text->data(), end, scale);
        if (r.ec != std::errc() || r.ptr != end || !std::isfinite(scale) || scale <= 0)
            return usage_error("--scale needs a number of percent above 0, not '" + *text + "'", kToObjUsage);
    }

    ConsoleSink sink;
    State state;
    if (!readGmdc(state.gmdc, args.positional()[0], sink) || !write_gmdc_as_obj(state.gmdc, *out, scale, sink))
        return kExitFailure;
    const std::size_t objects = state.gmdc.objects.size();
    sink.info("Wrote " + std::to_string(objects) + (objects == 1 ? " object to " : " objects to ") + *out);
    return kExitOk;
}

} // namespace mw::cli
