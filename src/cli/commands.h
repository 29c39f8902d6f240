// Every command of meshwright-cli. A new command is a file with its register_* function,
// declared here and called from main() in the order --help lists the commands.
#pragma once

#include <CLI/CLI.hpp>

namespace mw::cli {

void register_info(CLI::App& app);
void register_resave(CLI::App& app);
void register_convert(CLI::App& app);
void register_new_object(CLI::App& app);
void register_export_smd(CLI::App& app);
void register_to_obj(CLI::App& app);
void register_merge(CLI::App& app);
void register_replace(CLI::App& app);
void register_add(CLI::App& app);
void register_check(CLI::App& app);
#ifdef MESHWRIGHT_HAVE_VIEW
void register_render(CLI::App& app);
#endif

inline void register_commands(CLI::App& app)
{
    register_info(app);
    register_resave(app);
    register_convert(app);
    register_new_object(app);
    register_export_smd(app);
    register_to_obj(app);
    register_merge(app);
    register_replace(app);
    register_add(app);
    register_check(app);
#ifdef MESHWRIGHT_HAVE_VIEW
    register_render(app);
#endif
}

} // namespace mw::cli
