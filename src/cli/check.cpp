// `meshwright-cli check GMDC [--json]`: what makes a GMDC unsound for the game or for
// other tools, with the object group, object or list each finding concerns.
#include "cli/check_command.h"
#include "cli/cli.h"
#include "cli/info.h"
#include "core/save_file.h"
#include "gmdc/gmdc_check.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"

#include <cstdio>
#include <memory>

namespace mw::cli {

namespace {

const char* const kCheckDescription =
    "Loads the GMDC file GMDC and reports, each with the object group, object or list it\n"
    "concerns, what makes it unsound. Faults: a per-vertex list with fewer records than its\n"
    "group's vertices, face indices beyond the group's vertices or not in threes, bone\n"
    "assignments beyond the object's bone list, bone-list entries beyond the transforms,\n"
    "numbers of lists or groups that do not exist, bounding-mesh or P5 faces beyond their\n"
    "vertices, values that are not finite numbers. Warnings: per-vertex lists of one group\n"
    "that disagree in length (beyond a save's three zero vertices), bone weights outside\n"
    "0..1. Lists with recordCount 0 are unused and not checked.\n"
    "Exit status 1 when there is a fault, else 0 (warnings are printed).";

struct CheckOptions {
    std::string path;
    bool json = false;
};

int run_check(const CheckOptions& options)
{
    ConsoleSink sink;
    GmdcFile g;
    if (!readGmdc(g, options.path, sink))
        return kExitFailure;
    const std::vector<CheckFinding> findings = check_gmdc(g);
    std::size_t faults = 0;
    for (const CheckFinding& f : findings)
        faults += f.fault ? 1 : 0;
    const std::size_t warnings = findings.size() - faults;
    if (options.json) {
        nlohmann::ordered_json j;
        j["file"] = json_text(options.path);
        j["faults"] = faults;
        j["warnings"] = warnings;
        j["findings"] = nlohmann::ordered_json::array();
        for (const CheckFinding& f : findings)
            j["findings"].push_back({{"severity", f.fault ? "fault" : "warning"},
                                     {"where", json_text(f.where)},
                                     {"message", json_text(f.text)}});
        std::printf("%s\n", j.dump().c_str());
    } else {
        for (const CheckFinding& f : findings)
            std::printf("%s\n", finding_text(f).c_str());
        std::printf("%s: %zu fault%s, %zu warning%s\n", options.path.c_str(), faults, faults == 1 ? "" : "s", warnings,
                    warnings == 1 ? "" : "s");
    }
    return faults > 0 ? kExitFailure : kExitOk;
}

} // namespace

void register_check(CLI::App& app)
{
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = add_command(app, "check", "report what makes a GMDC unsound for the game or other tools",
                                    kCheckDescription, [options] { return run_check(*options); });
    command->add_option("GMDC", options->path, "the GMDC file to check")->required();
    command->add_flag("--json", options->json, "one JSON object: file, faults, warnings and findings");
}

std::int64_t bytes_after_gmdc(const GmdcFile& g, const std::string& path)
{
    // The writer stores exactly what the reader took in, so the difference is what the
    // reader left unread.
    std::string file, bytes, error;
    if (!read_whole_file(path, file, error) || !serializeGmdc(g, bytes, error))
        return 0;
    return static_cast<std::int64_t>(file.size()) - static_cast<std::int64_t>(bytes.size());
}

void print_gmdc_details(const GmdcFile& g, std::int64_t trailing)
{
    const std::vector<std::string> morphs = morph_names(g);
    std::printf("\nMorphs: %zu\n", morphs.size());
    for (const std::string& m : morphs)
        std::printf("  %s\n", m.c_str());
    std::printf("\nBone lists:\n");
    for (std::size_t k = 0; k < g.objects.size(); ++k) {
        std::string bones;
        for (std::int16_t b : g.objects[k].blockB)
            bones += (bones.empty() ? "" : " ") + std::to_string(b);
        std::printf("  Object #%zu: [%s]\n", k + 1, bones.c_str());
    }
    if (trailing > 0)
        std::printf("\nNote: %lld bytes follow the end of the GMDC; they are not read and a save drops them.\n",
                    static_cast<long long>(trailing));
}

void add_gmdc_details(nlohmann::ordered_json& j, const GmdcFile& g, std::int64_t trailing)
{
    j["morphNames"] = nlohmann::ordered_json::array();
    for (const std::string& m : morph_names(g))
        j["morphNames"].push_back(json_text(m));
    j["boneLists"] = nlohmann::ordered_json::array();
    for (const GmdcObject& o : g.objects)
        j["boneLists"].push_back(o.blockB);
    j["bytesAfterGmdc"] = trailing;
}

} // namespace mw::cli
