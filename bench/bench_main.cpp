// meshwright-bench FOLDER [RUNS [SUITE]]: times the readers on the files generated into
// FOLDER (best of RUNS runs, default 3) and prints one table; SUITE (obj, gmdc or view)
// runs one suite alone.
#include "bench_suites.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "Usage: meshwright-bench FOLDER [RUNS [obj|gmdc|view]]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string only = argc == 4 ? argv[3] : "";
    const auto wanted = [&only](const char* suite) { return only.empty() || only == suite; };

    mw::bench::BenchTable table;
    std::string lastLine = "ratio tinyobjloader/meshwright: n/a";
    if (wanted("obj"))
        mw::bench::run_obj_suite(table, folder, runs, lastLine);
    if (wanted("gmdc"))
        mw::bench::run_gmdc_suite(table, folder, runs);
    if (wanted("package"))
        mw::bench::run_package_suite(table, runs);
#ifdef MESHWRIGHT_HAVE_VIEW
    if (wanted("view"))
        mw::bench::run_view_suite(table, runs);
#endif
    table.print("Meshwright benchmarks (best of " + std::to_string(runs) + " runs)", lastLine);
    return 0;
}
