// meshwright-cli: the program's operations on files, without windows.
#include "cli/cli.h"
#include "cli/commands.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string_view>
#include <utility>

namespace mw::cli {

CLI::App* add_command(CLI::App& app, const char* name, const char* summary, const char* description,
                      std::function<int()> run)
{
    CLI::App* command = app.add_subcommand(name, summary);
    command->footer(description);
    command->callback([run = std::move(run)] {
        if (const int status = run(); status != kExitOk)
            throw CLI::RuntimeError(status);
    });
    return command;
}

void usage_error(const std::string& message)
{
    throw CLI::ValidationError(message);
}

CLI::Option* add_output(CLI::App& command, std::string& out, const char* description)
{
    const CLI::Validator notEmpty([](const std::string& s) { return s.empty() ? "the file name is empty" : ""; }, "",
                                  "NOT_EMPTY");
    return command.add_option("-o", out, description)->required()->check(notEmpty);
}

bool all_digits(const std::string& s)
{
    return !s.empty() && s.size() <= 5 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

int resolve_number_or_name(const std::string& word, const std::vector<std::string>& names, const char* kind,
                           std::string& error)
{
    if (all_digits(word)) {
        const int n = std::stoi(word);
        if (n >= 1 && n <= static_cast<int>(names.size()))
            return n;
        error = "there is no " + std::string(kind) + " " + word + " (1 to " + std::to_string(names.size()) + ")";
        return 0;
    }
    int found = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != word)
            continue;
        if (found != 0) {
            error = std::string("several ") + kind + "s are named \"" + word + "\"; give the number instead";
            return 0;
        }
        found = static_cast<int>(i) + 1;
    }
    if (found == 0)
        error = std::string("no ") + kind + " is named \"" + word + "\"";
    return found;
}

std::string lower_extension(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace mw::cli

int main(int argc, char** argv)
{
    using namespace mw::cli;
    CLI::App app("Meshwright's operations on The Sims 2 mesh files (GMDC *.5gd / *.simpe, OBJ, SMD).",
                 "meshwright-cli");
    app.footer("'meshwright-cli COMMAND --help' describes a command.\n"
               "Exit status: 0 success, 1 the operation failed, 2 usage error.");
    app.require_subcommand(1);
    // Options start with dashes everywhere: on Windows "/meshes/body.5gd" is a file on the
    // current drive, not an option. Commands take this from the program when added.
    app.allow_windows_style_options(false);
    register_commands(app);

    if (argc < 2) {
        std::cout << app.help();
        return kExitUsage;
    }
    const std::string_view first = argv[1];
    if (first == "help") {
        std::cout << app.help();
        return kExitOk;
    }
    const std::function<bool(const CLI::App*)> named = [&](const CLI::App* c) { return c->get_name() == first; };
    if (!first.starts_with('-') && std::as_const(app).get_subcommands(named).empty()) {
        std::cerr << "meshwright-cli: unknown command '" << first << "'\n\n" << app.help();
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& e) {
        return e.get_exit_code(); // the command failed and has said why
    } catch (const CLI::Success& e) {
        return app.exit(e); // --help
    } catch (const CLI::ParseError& e) {
        // The program's help shows the chosen command's help once one is chosen.
        std::cerr << "meshwright-cli: " << e.what() << "\n\n" << app.help();
        return kExitUsage;
    }
    return kExitOk;
}
