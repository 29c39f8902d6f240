#include "support/cli_run.h"

#include "support/test_support.h"

#include <cstdio>
#include <sys/wait.h>

namespace mw::test {

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

CliRun cli(const std::string& args, bool stderrIntoOut)
{
    return run_program(MESHWRIGHT_CLI_PATH, args, stderrIntoOut);
}

CliRun run_program(const std::string& program, const std::string& args, bool stderrIntoOut)
{
    TempDir dir;
    const std::string redirect = stderrIntoOut ? " 2>&1" : " 2>" + quote(dir.file("stderr"));
    const std::string command = quote(program) + " " + args + redirect;
    CliRun run;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!stderrIntoOut)
        run.err = read_file(dir.file("stderr"));
    return run;
}

CliRun cli(std::initializer_list<std::string> args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + quote(a);
    return cli(line);
}

} // namespace mw::test
