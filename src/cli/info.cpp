#include "cli/info.h"
#include "cli/cli.h"

#include <memory>

namespace mw::cli {

namespace {

const char* const kInfoDescription =
    "Shows what FILE holds. A GMDC file (*.5gd, *.simpe or any other name): headers, data\n"
    "lists, object groups, objects, P4 and P5. A Sims 2 package (*.package, or any file\n"
    "starting with DBPF): its resources, then the same for each GMDC resource. An OBJ or SMD file (by its extension, "
    "in any\n"
    "letter case): the reader's messages and every imported model.";

} // namespace

std::string json_text(const std::string& bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

void register_info(CLI::App& app)
{
    auto options = std::make_shared<InfoOptions>();
    CLI::App* command =
        add_command(app, "info", "show what a GMDC, package, OBJ or SMD file holds", kInfoDescription, [options] {
            const std::string ext = lower_extension(options->path);
            if (ext == ".obj" || ext == ".smd")
                return run_info_mesh(*options);
            if (options->dumpFiles || options->studio3dsSmd)
                usage_error(std::string("unknown option ") + (options->dumpFiles ? "--dump-files" : "--3ds-smd") +
                            " for a GMDC file");
            return run_info_gmdc(*options);
        });
    command->add_option("FILE", options->path, "a GMDC, package, OBJ or SMD file")->required();
    command->add_flag("--json", options->json, "print the same facts as one JSON object");
    command->add_flag("--dump-files", options->dumpFiles,
                      "(OBJ) also write the dump_object_N.obj files beside the program");
    command->add_flag("--3ds-smd", options->studio3dsSmd,
                      "(SMD) read the file as a 3ds studio SMD file (weighted bones)");
}

} // namespace mw::cli
