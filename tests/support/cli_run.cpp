#include "support/cli_run.h"

#include "support/test_support.h"

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace mw::test {

#ifdef _WIN32
// cmd.exe runs the command: double quotes (the tests' paths hold none).
std::string quote(const std::string& s)
{
    return "\"" + s + "\"";
}
#else
std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}
#endif

CliRun run_program(const std::string& program, const std::string& args)
{
    TempDir dir;
    const std::string redirect = " 2>" + quote(dir.file("stderr"));
#ifdef _WIN32
    std::string native = program;
    for (char& c : native)
        if (c == '/')
            c = '\\';
    // The whole line quoted once more, which cmd /c strips.
    std::FILE* p = ::_popen(("\"" + quote(native) + " " + args + redirect + "\"").c_str(), "rb");
#else
    std::FILE* p = ::popen((quote(program) + " " + args + redirect).c_str(), "r");
#endif
    CliRun run;
    if (p == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        run.out.append(buffer, n);
#ifdef _WIN32
    run.status = ::_pclose(p);
#else
    const int status = ::pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.err = read_file(dir.file("stderr"));
#ifdef _WIN32
    // The console's line ends are CR LF here; the tests expect the program's own.
    for (std::string* text : {&run.out, &run.err})
        for (std::size_t at = text->find("\r\n"); at != std::string::npos; at = text->find("\r\n", at))
            text->erase(at, 1);
#endif
    return run;
}

CliRun cli(const std::string& args)
{
    return run_program(MESHWRIGHT_CLI_PATH, args);
}

CliRun cli(std::initializer_list<std::string> args)
{
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + quote(a);
    return cli(line);
}

} // namespace mw::test
