#include "cli/check_command.h"

#include "cli/cli.h"
#include "core/save_file.h"
#include "gmdc/gmdc_check.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"

#include <cstdio>

namespace mw::cli {

const char* const kCheckSummary = "report what makes a GMDC unsound for the game or other tools";

const char* const kCheckUsage =
    "Usage: meshwright-cli check GMDC [--json]\n\n"
    "Loads the GMDC file GMDC and reports, each with the object group, object or list it\n"
    "concerns, what makes it unsound. Faults: a per-vertex list with fewer records than its\n"
    "group's vertices, face indices beyond the group's vertices or not in threes, bone\n"
    "assignments beyond the object's bone list, bone-list entries beyond the transforms,\n"
    "numbers of lists or groups that do not exist, bounding-mesh or P5 faces beyond their\n"
    "vertices, values that are not finite numbers. Warnings: per-vertex lists of one group\n"
    "that disagree in length (beyond a save's three zero vertices), bone weights outside\n"
    "0..1. Lists with recordCount 0 are unused and not checked.\n"
    "Exit status 1 when there is a fault, else 0 (warnings are printed).\n\n"
    "  --json  one JSON object: file, faults, warnings and findings (severity, where, message)\n";

int check_gmdc_file(const std::string& path, bool json)
{
    ConsoleSink sink;
    GmdcFile g;
    if (!readGmdc(g, path, sink))
        return kExitFailure;
    const std::vector<CheckFinding> findings = check_gmdc(g);
    std::size_t faults = 0;
    for (const CheckFinding& f : findings)
        faults += f.fault ? 1 : 0;
    if (json) {
        JsonWriter j;
        j.beginObject();
        j.key("file").value(path);
        j.key("faults").value(faults);
        j.key("warnings").value(findings.size() - faults);
        j.key("findings").beginArray();
        for (const CheckFinding& f : findings) {
            j.beginObject();
            j.key("severity").value(f.fault ? "fault" : "warning");
            j.key("where").value(f.where);
            j.key("message").value(f.text);
            j.endObject();
        }
        j.endArray();
        j.endObject();
        std::printf("%s\n", j.str().c_str());
    } else {
        for (const CheckFinding& f : findings)
            std::printf("%s\n", finding_text(f).c_str());
        std::printf("%s: %zu fault%s, %zu warning%s\n", path.c_str(), faults, faults == 1 ? "" : "s",
                    findings.size() - faults, findings.size() - faults == 1 ? "" : "s");
    }
    return faults > 0 ? kExitFailure : kExitOk;
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

void write_gmdc_details(JsonWriter& j, const GmdcFile& g, std::int64_t trailing)
{
    j.key("morphNames").beginArray();
    for (const std::string& m : morph_names(g))
        j.value(m);
    j.endArray();
    j.key("boneLists").beginArray();
    for (const GmdcObject& o : g.objects) {
        j.beginArray();
        for (std::int16_t b : o.blockB)
            j.value(b);
        j.endArray();
    }
    j.endArray();
    j.key("bytesAfterGmdc").value(trailing);
}

} // namespace mw::cli
