// meshwright-cli: the program's operations on files, without windows.
#include "cli/cli.h"
#include "cli/merge_commands.h"

#include <cstdio>
#include <cstring>

namespace mw::cli {

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"info", "show what a GMDC, OBJ or SMD file holds", kInfoUsage, run_info},
        {"resave", "load a GMDC and save it again", kResaveUsage, run_resave},
        {"convert", "write one model of an OBJ or SMD file as OBJ", kConvertUsage, run_convert},
        {"new-object", "build a new GMDC from the groups of an OBJ file", kNewObjectUsage, run_new_object},
        {"export-smd", "write one GMDC object with its skeleton as SMD", kExportSmdUsage, run_export_smd},
        {"to-obj", "write every GMDC object as a group of an OBJ file", kToObjUsage, run_to_obj},
        {"merge", "merge an OBJ or SMD mesh into the GMDC objects of the same name", kMergeUsage, run_merge},
        {"replace", "replace GMDC objects with assigned models, bones included", kReplaceUsage, run_replace},
        {"add", "append assigned models to GMDC objects, bones included", kAddUsage, run_add},
    };
    return table;
}

} // namespace mw::cli

namespace {

void print_help()
{
    std::printf("Usage: meshwright-cli COMMAND [ARGS...]\n\n"
                "Meshwright's operations on The Sims 2 mesh files (GMDC *.5gd / *.simpe, OBJ, SMD).\n\n"
                "Commands:\n");
    for (const mw::cli::Command& c : mw::cli::commands())
        std::printf("  %-12s %s\n", c.name, c.summary);
    std::printf("\n'meshwright-cli COMMAND --help' describes a command.\n"
                "Exit status: 0 success, 1 the operation failed, 2 usage error.\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        print_help();
        return mw::cli::kExitUsage;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0 || std::strcmp(name, "help") == 0) {
        print_help();
        return mw::cli::kExitOk;
    }
    std::vector<std::string> words(argv + 2, argv + argc);
    for (const mw::cli::Command& c : mw::cli::commands()) {
        if (std::strcmp(c.name, name) == 0) {
            if (mw::cli::wants_help(words)) {
                std::printf("%s", c.usage);
                return mw::cli::kExitOk;
            }
            return c.run(words);
        }
    }
    std::fprintf(stderr, "meshwright-cli: unknown command '%s'\n\n", name);
    print_help();
    return mw::cli::kExitUsage;
}
