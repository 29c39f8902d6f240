// Running meshwright-cli as a separate process, the way users run it.
#pragma once

#include <initializer_list>
#include <string>

namespace mw::test {

struct CliRun {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with `args`, already quoted for the shell.
CliRun run_program(const std::string& program, const std::string& args);

// Runs meshwright-cli with `args`, already quoted for the shell.
CliRun cli(const std::string& args);
// Runs meshwright-cli with each of `args` quoted for the shell.
CliRun cli(std::initializer_list<std::string> args);

// `s` in single quotes for the shell.
std::string quote(const std::string& s);

} // namespace mw::test
