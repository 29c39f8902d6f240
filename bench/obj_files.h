// The generated OBJ files the benchmarks read: grids of triangles, every grid vertex
// with its own position, texture coordinate and normal (faces written "i/i/i"), numbers
// with six decimals as exporters write them. Deterministic: the same bytes on every run.
#pragma once

#include "mesh/corner_table.h"

#include <string>
#include <vector>

namespace mw::bench {

struct ObjBenchFile {
    std::string key; // "a", "b", "c"
    std::string fileName;
    std::string description;
};

// (a) one model at the 32767-corner limit; (b) 40 models of about 16000 corners, about
// 130 MB; (c) the same as (b) with CR LF line ends.
const std::vector<ObjBenchFile>& obj_bench_files();

// The text of file `key`.
std::string obj_bench_text(const std::string& key);

// (d) 32000 groups, each with a triangle and a material of its own, and the MTL file of
// 256000 lines they name: the material lookup's case.
constexpr int kMaterialGroups = 32000;
const ObjBenchFile& materials_bench_file();
std::string materials_obj_text();
std::string materials_mtl_text(); // saved as materials_mtl_file_name()
std::string materials_mtl_file_name();

// The corners (three per face, file numbers) of one rows x cols grid model.
std::vector<Corner> grid_corners(int rows, int cols);

} // namespace mw::bench
