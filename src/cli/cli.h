// Shared pieces of meshwright-cli: the command table, argument handling and the console
// message sink. Each command lives in a file of its own.
#pragma once

#include "core/message_sink.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Command-line arguments after the command name: positional words, and options that are
// either flags ("--json") or take the next word as their value ("-o OUT").
class Args {
  public:
    // `valueOptions` lists the options that take a value; any other word starting with
    // "-" is a flag. Returns false, with `error` set, on an option missing its value.
    bool parse(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions, std::string& error);

    bool flag(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;
    std::vector<std::string> values(std::string_view name) const; // every occurrence, in order
    const std::vector<std::string>& positional() const { return positional_; }
    // Options given that are not in `known`; a command reports them as a usage error.
    std::vector<std::string> unknown(const std::vector<std::string>& known) const;

  private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
};

// Reports a usage error on stderr, with the command's usage text, and returns kExitUsage.
int usage_error(const std::string& message, const char* usage);

// True when `word` is "--help" or "-h".
bool wants_help(const std::vector<std::string>& words);

// Lower-cased file extension with its dot (".obj"), or "" when there is none.
std::string lower_extension(const std::string& path);

struct Command {
    const char* name;
    const char* summary;
    const char* usage;
    int (*run)(const std::vector<std::string>& words);
};

// Every command of the tool, in the order --help lists them.
const std::vector<Command>& commands();

int run_info(const std::vector<std::string>& words);
int run_resave(const std::vector<std::string>& words);
int run_convert(const std::vector<std::string>& words);
int run_new_object(const std::vector<std::string>& words);
int run_export_smd(const std::vector<std::string>& words);
int run_to_obj(const std::vector<std::string>& words);

extern const char* const kInfoUsage;
extern const char* const kResaveUsage;
extern const char* const kConvertUsage;
extern const char* const kNewObjectUsage;
extern const char* const kExportSmdUsage;
extern const char* const kToObjUsage;

} // namespace mw::cli
