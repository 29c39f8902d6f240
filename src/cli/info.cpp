#include "cli/cli.h"

namespace mw::cli {

int run_info_gmdc(const std::vector<std::string>& words);
int run_info_mesh(const std::vector<std::string>& words);

const char* const kInfoUsage =
    "Usage: meshwright-cli info FILE [--json] [--dump-files] [--3ds-smd]\n\n"
    "Shows what FILE holds. A GMDC file (*.5gd, *.simpe or any other name): headers, data\n"
    "lists, object groups, objects, P4 and P5. An OBJ or SMD file (by its extension, in any\n"
    "letter case): the reader's messages and every imported model.\n\n"
    "  --json        print the same facts as one JSON object\n"
    "  --dump-files  (OBJ) also write the dump_object_N.obj files beside the program\n"
    "  --3ds-smd     (SMD) read the file as a 3ds studio SMD file (weighted bones)\n";

int run_info(const std::vector<std::string>& words)
{
    for (const std::string& w : words) {
        if (!w.empty() && w[0] == '-')
            continue;
        const std::string ext = lower_extension(w);
        if (ext == ".obj" || ext == ".smd")
            return run_info_mesh(words);
        break;
    }
    return run_info_gmdc(words);
}

} // namespace mw::cli
