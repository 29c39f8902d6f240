// meshwright-bench FOLDER [RUNS]: times the readers on the files generated into FOLDER
// (best of RUNS runs, default 3) and prints one table.
#include "bench_suites.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "Usage: meshwright-bench FOLDER [RUNS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 3;

    mw::bench::BenchTable table;
    std::string lastLine = "ratio tinyobjloader/meshwright: n/a";
    mw::bench::run_obj_suite(table, folder, runs, lastLine);
    mw::bench::run_gmdc_suite(table, folder, runs);
#ifdef MESHWRIGHT_HAVE_VIEW
    mw::bench::run_view_suite(table, runs);
#endif
    table.print("Meshwright benchmarks (best of " + std::to_string(runs) + " runs)", lastLine);
    return 0;
}
