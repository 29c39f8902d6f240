// Each benchmark suite adds its rows to the one table; bench_main.cpp runs them in turn.
#pragma once

#include "bench_table.h"

#include <string>

namespace mw::bench {

// OBJ import on the files meshwright-bench-generate wrote into `folder`. Sets `lastLine`
// to "ratio tinyobjloader/meshwright: X.XX" for file (b), dump files off.
void run_obj_suite(BenchTable& table, const std::string& folder, int runs, std::string& lastLine);

// GMDC load and save of a generated body mesh at its largest against one fread / fwrite
// of the same bytes; writes its files into `folder`.
void run_gmdc_suite(BenchTable& table, const std::string& folder, int runs);

// QFS compression and decompression of the fixture body mesh (skipped when absent).
void run_package_suite(BenchTable& table, int runs);

// The 3D view's all-models redraw of four models at the format's largest, off screen,
// immediate mode against vertex arrays.
void run_view_suite(BenchTable& table, int runs);

} // namespace mw::bench
