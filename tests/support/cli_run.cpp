#include "support/cli_run.h"

#include "support/test_support.h"

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace mw::test {

#ifdef _WIN32

// cmd.exe runs the command: double quotes (the tests' paths hold none), and the whole
// line quoted once more, which cmd /c strips.
std::string quote(const std::string& s)
{
    return "\"" + s + "\"";
}

CliRun run_program(const std::string& path, const std::string& args, bool stderrIntoOut)
{
    TempDir dir;
    std::string program = path;
    for (char& c : program)
        if (c == '/')
            c = '\\';
    const std::string redirect = stderrIntoOut ? " 2>&1" : " 2>" + quote(dir.file("stderr"));
    const std::string command = "\"" + quote(program) + " " + args + redirect + "\"";
    CliRun run;
    std::FILE* p = ::_popen(command.c_str(), "rb");
    if (p == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        run.out.append(buffer, n);
    run.status = ::_pclose(p);
    // The console's line ends are CR LF here; the tests expect the program's own.
    auto plain_line_ends = [](std::string text) {
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                plain += text[i];
        return plain;
    };
    run.out = plain_line_ends(run.out);
    if (!stderrIntoOut)
        run.err = plain_line_ends(read_file(dir.file("stderr")));
    return run;
}

#else

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

#endif

CliRun cli(const std::string& args, bool stderrIntoOut)
{
    return run_program(MESHWRIGHT_CLI_PATH, args, stderrIntoOut);
}

CliRun cli(std::initializer_list<std::string> args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + quote(a);
    return cli(line);
}

} // namespace mw::test
