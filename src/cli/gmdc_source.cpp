#include "cli/gmdc_source.h"

#include "core/save_file.h"
#include "gmdc/gmdc_reader.h"

namespace mw::cli {

namespace {

std::string gmdc_list(const Package& package)
{
    std::string list;
    for (std::size_t i : resourcesOfType(package, kTypeGmdc))
        list += (list.empty() ? "" : "; ") + describeResource(package, i);
    return list.empty() ? "none" : list;
}

// The position of the GMDC resource to load, or false after a message.
bool pick_resource(const GmdcSource& source, std::size_t& index, MessageSink& sink)
{
    const Package& package = source.package;
    const std::vector<std::size_t> gmdcs = resourcesOfType(package, kTypeGmdc);
    if (source.resource > 0) {
        const auto chosen = static_cast<std::size_t>(source.resource - 1);
        if (chosen < package.resources.size() && package.resources[chosen].type == kTypeGmdc) {
            index = chosen;
            return true;
        }
        sink.error(package.name + " has no GMDC resource " + std::to_string(source.resource) +
                   "; its GMDC resources: " + gmdc_list(package) + ".");
        return false;
    }
    if (gmdcs.size() == 1) {
        index = gmdcs.front();
        return true;
    }
    if (gmdcs.empty())
        sink.error(package.name + " holds no GMDC resource.");
    else
        sink.error(package.name + " holds " + std::to_string(gmdcs.size()) +
                   " GMDC resources; choose one with --resource N: " + gmdc_list(package) + ".");
    return false;
}

} // namespace

void add_resource_option(CLI::App& command, GmdcSource& source)
{
    command.add_option("--resource", source.resource, "(package) the GMDC resource numbered N in 'info'")
        ->check(CLI::PositiveNumber);
}

bool looks_like_package(const std::string& bytes)
{
    return bytes.compare(0, 4, "DBPF") == 0;
}

bool load_gmdc(GmdcSource& source, GmdcFile& gmdc, MessageSink& sink)
{
    std::string bytes, error;
    if (!read_whole_file(source.path, bytes, error)) {
        sink.error(error);
        return false;
    }
    source.isPackage = looks_like_package(bytes);
    if (!source.isPackage) {
        if (source.resource > 0) {
            sink.error(source.path + " is not a package: --resource picks a resource of a package.");
            return false;
        }
        GmdcFile loaded;
        if (!parseGmdc(bytes, loaded, error, source.path)) {
            sink.error(error);
            return false;
        }
        gmdc = std::move(loaded);
        return true;
    }
    std::string resourceData;
    GmdcFile loaded;
    if (!parsePackage(std::move(bytes), source.package, error, source.path) ||
        !pick_resource(source, source.resourceIndex, sink) ||
        !resourceBytes(source.package, source.resourceIndex, resourceData, error) ||
        !parseGmdc(resourceData, loaded, error,
                   source.path + ", " + describeResource(source.package, source.resourceIndex))) {
        if (!error.empty())
            sink.error(error);
        return false;
    }
    gmdc = std::move(loaded);
    return true;
}

bool save_gmdc(const GmdcSource& source, GmdcFile& gmdc, const std::string& out, MessageSink& sink,
               const GmdcWriteOptions& options)
{
    if (lower_extension(out) != ".package")
        return writeGmdc(gmdc, out, sink, options);
    if (!source.isPackage) {
        sink.error("Cannot save \"" + out + "\": a package is written as a copy of the package the GMDC was " +
                   "loaded from, and " + source.path + " is a GMDC file. Nothing was written.");
        return false;
    }
    if (!gmdc.holdsGmdc()) {
        sink.error("Cannot save \"" + out + "\": there is no GMDC to save.");
        return false;
    }
    const VertexPadding padding = applyVertexPadding(gmdc);
    std::string bytes, error, notice;
    const bool saved = serializeGmdc(gmdc, bytes, error, options) &&
                       writePackage(source.package, {{source.resourceIndex, std::move(bytes)}}, out, error, &notice);
    if (!saved) {
        undoVertexPadding(gmdc, padding); // a retry pads once, not twice
        sink.error("Cannot save \"" + out + "\": " + error);
        return false;
    }
    if (!notice.empty())
        sink.warning(notice);
    sink.info("Save Complete");
    return true;
}

} // namespace mw::cli
