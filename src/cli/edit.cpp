// meshwright-cli export-side and edit: the GMDC editing windows' side files and field
// edits, without windows.
#include "cli/cli.h"
#include "core/program_folder.h"
#include "core/save_file.h"
#include "gmdc/gmdc_edits.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "gmdc/side_files.h"
#include "wizard/default_area.h"
#include "wizard/wizard_construction.h"

#include <map>
#include <memory>

namespace mw::cli {

namespace {

std::vector<std::string> object_names(const GmdcFile& g)
{
    std::vector<std::string> names;
    for (const GmdcObject& o : g.objects)
        names.push_back(o.name);
    return names;
}

// Numbers of a list of `count` entries ("1" to "count"), for resolve_number_or_name.
std::vector<std::string> numbered(std::size_t count)
{
    return std::vector<std::string>(count);
}

// "KEY=VALUE" split at the first "="; false when either side is empty (VALUE may be empty
// for --name, where an empty name is a name).
bool split_pair(const std::string& text, std::string& key, std::string& value, bool valueMayBeEmpty)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0 || (!valueMayBeEmpty && eq + 1 == text.size()))
        return false;
    key = text.substr(0, eq);
    value = text.substr(eq + 1);
    return true;
}

// --- export-side ---------------------------------------------------------------------

const char* const kExportSideDescription =
    "Writes one side file of the GMDC editing windows (little-endian, 16-bit face indices):\n"
    "  faces --object N       i32 count, then the object's face indices as i16\n"
    "  datalist --list N      the data list as the GMDC lays it out\n"
    "  p4                     the P4 section (transforms, name pairs, bounding mesh)\n"
    "  p5 [--entry N]         the P5 section, or only entry N with the count 1\n"
    "Numbers count from 1; --object also takes an object's name.";

struct ExportSideOptions {
    std::string gmdc, out, object;
    int list = 0, entry = 0;
    CLI::App *faces = nullptr, *datalist = nullptr, *p4 = nullptr, *p5 = nullptr;
};

int run_export_side(const ExportSideOptions& options)
{
    ConsoleSink sink;
    GmdcFile g;
    if (!readGmdc(g, options.gmdc, sink))
        return kExitFailure;
    std::string bytes, error;
    if (options.faces->parsed()) {
        const int object = resolve_number_or_name(options.object, object_names(g), "object", error);
        if (object == 0) {
            sink.error("Cannot write the face file: " + error + ".");
            return kExitFailure;
        }
        for (std::int16_t f : g.objects[static_cast<std::size_t>(object - 1)].faces)
            if (f < 0) {
                sink.error("Object " + std::to_string(object) +
                           " has a face index above 32767, which a face file cannot hold.");
                return kExitFailure;
            }
        bytes = faceFileBytes(g.objects[static_cast<std::size_t>(object - 1)].faces);
    } else if (options.datalist->parsed()) {
        if (options.list < 1 || static_cast<std::size_t>(options.list) > g.dataLists.size()) {
            sink.error("There is no data list " + std::to_string(options.list) + " (1 to " +
                       std::to_string(g.dataLists.size()) + ").");
            return kExitFailure;
        }
        bytes = dataListFileBytes(g.dataLists[static_cast<std::size_t>(options.list - 1)]);
    } else if (options.p4->parsed()) {
        bytes = p4FileBytes(g);
    } else if (options.entry == 0) {
        bytes = p5FileBytes(g);
    } else {
        if (static_cast<std::size_t>(options.entry) > g.p5Entries.size()) {
            sink.error("There is no P5 entry " + std::to_string(options.entry) + " (the GMDC has " +
                       std::to_string(g.p5Entries.size()) + ").");
            return kExitFailure;
        }
        bytes = p5EntryFileBytes(g, static_cast<std::size_t>(options.entry - 1));
    }
    if (!save_file_atomically(options.out, bytes, error)) {
        sink.error(error);
        return kExitFailure;
    }
    sink.info("Wrote " + options.out);
    return kExitOk;
}

// --- edit ------------------------------------------------------------------------------

const char* const kEditDescription =
    "Applies the GMDC editing windows' actions to GMDC in the order given, all or nothing,\n"
    "and saves the result to OUT (which may be GMDC itself). Numbers count from 1; OBJECT is\n"
    "a number or an object's name.\n"
    "  --name OBJECT=NEW, --opacity OBJECT=VALUE   the group editor's commit (halves to even;\n"
    "                                              a text that is no number stores 0)\n"
    "  --vertex-count GROUP=VALUE                  refused beyond what the group's lists hold\n"
    "  --replace-faces OBJECT=FILE, --replace-datalist N=FILE, --clear-datalist N\n"
    "  --location TRANSFORM=X,Y,Z, --remove-p5     (the default area \"obj_pinfo.dat\" replaces\n"
    "                                              the bounding mesh)";

struct EditCommandOptions {
    std::string gmdc, out;
    std::vector<std::string> name, opacity, vertexCount, replaceFaces, replaceDatalist, location;
    std::vector<int> clearDatalist;
    bool removeP5 = false;
    CLI::App* command = nullptr;
};

class EditRun {
  public:
    EditRun(GmdcFile& g, MessageSink& sink) : g_(g), sink_(sink) {}

    bool object(const std::string& word, std::size_t& out)
    {
        std::string error;
        const int n = resolve_number_or_name(word, object_names(g_), "object", error);
        out = static_cast<std::size_t>(n - 1);
        return n != 0 || fail(error);
    }
    bool number(const std::string& word, std::size_t count, const char* kind, std::size_t& out)
    {
        std::string error;
        const int n = resolve_number_or_name(word, numbered(count), kind, error);
        out = static_cast<std::size_t>(n - 1);
        return n != 0 || fail(error);
    }
    bool read(const std::string& path, std::string& bytes)
    {
        std::string error;
        return read_whole_file(path, bytes, error) || fail(error);
    }
    bool fail(const std::string& error)
    {
        if (!error.empty())
            sink_.error("Cannot edit the GMDC: " + error + ".");
        return false;
    }

    GmdcFile& g_;
    MessageSink& sink_;
};

bool apply_edit(EditRun& run, const std::string& flag, const std::string& value)
{
    GmdcFile& g = run.g_;
    MessageSink& sink = run.sink_;
    std::string key, rest, bytes;
    std::size_t n = 0;
    if (flag == "--clear-datalist")
        return run.number(value, g.dataLists.size(), "data list", n) && clearDataList(g, n, sink);
    if (flag == "--remove-p5") {
        GmdcFile area;
        std::string error;
        if (!loadDefaultArea(area, join_path(program_folder(), kDefaultAreaFileName), error))
            return run.fail(error);
        removeP5(g, area.boundingVertices, area.boundingFaces);
        return true;
    }
    if (!split_pair(value, key, rest, flag == "--name"))
        return run.fail(flag + " takes KEY=VALUE, not \"" + value + "\"");
    if (flag == "--name")
        return run.object(key, n) && commitObject(g, n, rest, std::to_string(g.objects[n].opacity), sink);
    if (flag == "--opacity")
        return run.object(key, n) && commitObject(g, n, g.objects[n].name, rest, sink);
    if (flag == "--vertex-count")
        return run.number(key, g.objectGroups.size(), "object group", n) && setVertexCount(g, n, rest, sink);
    if (flag == "--replace-faces")
        return run.object(key, n) && run.read(rest, bytes) && replaceFaces(g, n, bytes, rest, sink);
    if (flag == "--replace-datalist")
        return run.number(key, g.dataLists.size(), "data list", n) && run.read(rest, bytes) &&
               replaceDataList(g, n, bytes, rest, sink);
    // --location TRANSFORM=X,Y,Z
    const std::size_t c1 = rest.find(','), c2 = c1 == std::string::npos ? c1 : rest.find(',', c1 + 1);
    if (c2 == std::string::npos)
        return run.fail("--location takes TRANSFORM=X,Y,Z, not \"" + value + "\"");
    return run.number(key, g.transforms.size(), "transform", n) &&
           setLocation(g, n, rest.substr(0, c1), rest.substr(c1 + 1, c2 - c1 - 1), rest.substr(c2 + 1), sink);
}

int run_edit(const EditCommandOptions& options)
{
    ConsoleSink sink;
    GmdcFile g;
    if (!readGmdc(g, options.gmdc, sink))
        return kExitFailure;
    // Each option's values in the order they were given, walked in the command line's order.
    const std::map<std::string, std::vector<std::string>> values = {
        {"--name", options.name},
        {"--opacity", options.opacity},
        {"--vertex-count", options.vertexCount},
        {"--replace-faces", options.replaceFaces},
        {"--replace-datalist", options.replaceDatalist},
        {"--location", options.location},
    };
    std::map<std::string, std::size_t> used;
    std::size_t clears = 0;
    EditRun run(g, sink);
    for (const CLI::Option* option : options.command->parse_order()) {
        const std::string flag = option->get_name();
        const bool valued = values.contains(flag);
        if (!valued && flag != "--clear-datalist" && flag != "--remove-p5")
            continue; // GMDC and -o
        std::string value;
        if (flag == "--clear-datalist")
            value = std::to_string(options.clearDatalist.at(clears++));
        else if (const auto it = values.find(flag); it != values.end())
            value = it->second.at(used[flag]++);
        else if (flag != "--remove-p5")
            continue; // the input and the output, not edits
        if (!apply_edit(run, flag, value)) {
            sink.error("Nothing was saved.");
            return kExitFailure;
        }
    }
    return writeGmdc(g, options.out, sink) ? kExitOk : kExitFailure;
}

} // namespace

void register_export_side(CLI::App& app)
{
    auto options = std::make_shared<ExportSideOptions>();
    CLI::App* command = add_command(app, "export-side", "write a side file of the GMDC editing windows",
                                    kExportSideDescription, [options] { return run_export_side(*options); });
    command->add_option("GMDC", options->gmdc, "the GMDC file")->required();
    add_output(*command, options->out, "the side file to write");
    command->require_subcommand(1);
    options->faces = command->add_subcommand("faces", "the face file of one object");
    options->faces->add_option("--object", options->object, "the object, by number or name")->required();
    options->datalist = command->add_subcommand("datalist", "the file of one data list");
    options->datalist->add_option("--list", options->list, "the data list, counted from 1")->required();
    options->p4 = command->add_subcommand("p4", "the P4 section");
    options->p5 = command->add_subcommand("p5", "the P5 section");
    options->p5->add_option("--entry", options->entry, "only this entry, counted from 1")->check(CLI::PositiveNumber);
}

void register_edit(CLI::App& app)
{
    auto options = std::make_shared<EditCommandOptions>();
    CLI::App* command = add_command(app, "edit", "change single fields of a GMDC and save it", kEditDescription,
                                    [options] { return run_edit(*options); });
    options->command = command;
    command->add_option("GMDC", options->gmdc, "the GMDC file")->required();
    add_output(*command, options->out, "the file to save (may be GMDC itself)");
    command->add_option("--name", options->name, "OBJECT=NEW")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--opacity", options->opacity, "OBJECT=VALUE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--vertex-count", options->vertexCount, "GROUP=VALUE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--replace-faces", options->replaceFaces, "OBJECT=FILE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--replace-datalist", options->replaceDatalist, "N=FILE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--clear-datalist", options->clearDatalist, "N")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--location", options->location, "TRANSFORM=X,Y,Z")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_flag("--remove-p5", options->removeP5,
                      "remove the P5 entries; the default area becomes the bounding mesh");
}

} // namespace mw::cli
