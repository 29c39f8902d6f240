// Shared pieces of meshwright-cli: exit statuses, the console message sink and the way a
// command joins the program. Each command lives in a file of its own and adds itself with
// a register_* function (listed in commands.h).
#pragma once

#include "core/message_sink.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace mw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Prints information to stdout and warnings and errors to stderr.
class ConsoleSink final : public MessageSink {
  public:
    void report(MessageKind kind, std::string_view text) override
    {
        std::FILE* out = kind == MessageKind::Info ? stdout : stderr;
        std::fwrite(text.data(), 1, text.size(), out);
        std::fputc('\n', out);
        if (kind == MessageKind::Error)
            failed = true;
    }
    bool failed = false;
};

// Adds the subcommand `name` to `app`. `summary` is its line in the program's help,
// `description` the text of its own --help. `run` is called after a successful parse and
// returns the exit status; it reports usage errors it finds itself with usage_error.
CLI::App* add_command(CLI::App& app, const char* name, const char* summary, const char* description,
                      std::function<int()> run);

// Stops the command with a usage error (exit status 2): main prints `message` and the
// command's help on stderr.
[[noreturn]] void usage_error(const std::string& message);

// Adds the required output option "-o FILE" (never empty).
CLI::Option* add_output(CLI::App& command, std::string& out, const char* description);

// Lower-cased file extension with its dot (".obj"), or "" when there is none.
std::string lower_extension(const std::string& path);

} // namespace mw::cli
