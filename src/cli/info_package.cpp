// `meshwright-cli info PKG [--json]` for Sims 2 packages: one line per resource, then
// what info prints for a GMDC file, for each GMDC resource.
#include "cli/cli.h"
#include "cli/info.h"
#include "gmdc/gmdc_reader.h"
#include "package/package.h"

#include <cstdio>

namespace mw::cli {

namespace {

std::string hex_text(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

void print_resources(const Package& p)
{
    std::printf("Package %s: %zu resources, %s index entries\n", p.name.c_str(), p.resources.size(),
                p.hasInstanceHigh ? "24-byte (with instance-high)" : "20-byte");
    std::printf("  %-3s %-15s %-10s %-10s %-13s %10s %12s  %s\n", "#", "type", "group", "instance", "instance-high",
                "stored", "uncompressed", "compressed");
    for (std::size_t i = 0; i < p.resources.size(); ++i) {
        const PackageResource& r = p.resources[i];
        const std::string type = std::string(resourceTypeName(r.type)) + " " + hex_text(r.type);
        std::printf("  %-3zu %-15s %-10s %-10s %-13s %10u %12u  %s\n", i + 1, type.c_str(), hex_text(r.group).c_str(),
                    hex_text(r.instance).c_str(), hex_text(r.instanceHigh).c_str(), r.storedSize, r.uncompressedSize,
                    r.compressed ? "yes" : "no");
    }
}

} // namespace

int run_info_package(const InfoOptions& options, std::string bytes)
{
    ConsoleSink sink;
    Package p;
    std::string error;
    if (!parsePackage(std::move(bytes), p, error, options.path)) {
        sink.error(error);
        return kExitFailure;
    }
    nlohmann::ordered_json j;
    if (options.json) {
        j["file"] = json_text(options.path);
        j["instanceHigh"] = p.hasInstanceHigh;
        nlohmann::ordered_json& list = j["resources"] = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < p.resources.size(); ++i) {
            const PackageResource& r = p.resources[i];
            list.push_back({{"number", i + 1},
                            {"type", r.type},
                            {"typeHex", hex_text(r.type)},
                            {"typeName", resourceTypeName(r.type)},
                            {"group", r.group},
                            {"instance", r.instance},
                            {"instanceHigh", r.instanceHigh},
                            {"storedSize", r.storedSize},
                            {"uncompressedSize", r.uncompressedSize},
                            {"compressed", r.compressed}});
        }
        j["gmdcResources"] = nlohmann::ordered_json::array();
    } else {
        print_resources(p);
    }
    bool allRead = true;
    for (std::size_t i : resourcesOfType(p, kTypeGmdc)) {
        const std::string label = options.path + ", " + describeResource(p, i);
        std::string data;
        GmdcFile g;
        if (!resourceBytes(p, i, data, error) || !parseGmdc(data, g, error, label)) {
            sink.error(error);
            allRead = false;
            continue;
        }
        if (options.json) {
            j["gmdcResources"].push_back({{"number", i + 1}, {"gmdc", gmdc_json(g, label)}});
        } else {
            std::printf("\n");
            print_gmdc_text(g, label);
        }
    }
    if (options.json)
        std::printf("%s\n", j.dump().c_str());
    return allRead ? kExitOk : kExitFailure;
}

} // namespace mw::cli
