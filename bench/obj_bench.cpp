// OBJ import figures: read_obj against tinyobjloader on the generated files, and the
// scaling of the distinct-corner numbering.
#include "bench_suites.h"
#include "core/program_folder.h"
#include "mesh/obj_reader.h"
#include "obj_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#ifdef MESHWRIGHT_HAVE_TINYOBJLOADER
#include <tiny_obj_loader.h>
#endif

namespace mw::bench {

namespace {

double file_megabytes(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_size) / 1e6 : 0;
}

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "meshwright-bench: %s\n", what.c_str());
    std::exit(1);
}

double time_read_obj(const std::string& path, const ObjReadOptions& options, int runs, std::int32_t models)
{
    return best_time(runs, [&] {
        State state;
        NullSink sink;
        if (!read_obj(state, path, sink, options) || state.models.modelCount() != models)
            fail("read_obj did not read " + path);
    });
}

#ifdef MESHWRIGHT_HAVE_TINYOBJLOADER
double time_tinyobjloader(const std::string& path, const std::string& folder, int runs, std::size_t shapes)
{
    return best_time(runs, [&] {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapeList;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
        const bool ok =
            tinyobj::LoadObj(&attrib, &shapeList, &materials, &warn, &err, path.c_str(), folder.c_str(), true);
        if (!ok || shapeList.size() != shapes)
            fail("tinyobjloader did not read " + path + ": " + err);
    });
}
#endif

void corner_scaling(BenchTable& table, int runs)
{
    // Both grids stay below the 32767-corner limit; the second has exactly twice the faces.
    // Each figure is the time of 100 numberings, long enough to time steadily.
    constexpr int kRepeats = 100;
    const std::vector<Corner> single = grid_corners(126, 90);
    const std::vector<Corner> twice = grid_corners(126, 179);
    CornerTable corners;
    auto number_all = [&](const std::vector<Corner>& list) {
        return best_time(1, [&] {
            std::int64_t sum = 0;
            for (int repeat = 0; repeat < kRepeats; ++repeat) {
                corners.reset();
                for (const Corner& c : list)
                    sum += corners.number(c);
            }
            if (sum == 0)
                fail("corner numbering gave nothing");
        });
    };
    // F and 2F in turn, so that a change in the machine's load touches both alike.
    double f = 1e300, f2 = 1e300;
    for (int i = 0; i < std::max(runs, 5); ++i) {
        f = std::min(f, number_all(single));
        f2 = std::min(f2, number_all(twice));
    }
    const std::string times = " faces, x" + std::to_string(kRepeats);
    table.add({"corner numbering", "F = " + std::to_string(single.size() / 3) + times, 0, f, ""});
    table.add({"corner numbering", "2F = " + std::to_string(twice.size() / 3) + times, 0, f2,
               "ratio 2F/F " + fixed(f2 / f, 2)});
    table.addLine("scaling of the corner numbering, time 2F / time F: " + fixed(f2 / f, 2));
}

// (d): the OBJ reader with its MTL file beside it; every group's material gets its texture.
void materials_case(BenchTable& table, const std::string& folder, int runs)
{
    const ObjBenchFile& file = materials_bench_file();
    const std::string path = join_path(folder, file.fileName);
    const double seconds = best_time(runs, [&] {
        State state;
        NullSink sink;
        if (!read_obj(state, path, sink) || state.models.modelCount() != kMaterialGroups ||
            state.models.materials.back().textureFile != "texture" + std::to_string(kMaterialGroups) + ".bmp")
            fail("read_obj did not read " + path + " with its materials");
    });
    table.add({"read_obj", file.description,
               file_megabytes(path) + file_megabytes(join_path(folder, materials_mtl_file_name())), seconds,
               "OBJ + MTL"});
}

// Rows of whole processes that scripts/bench timed with /usr/bin/time -v: one line each,
// "task<TAB>input<TAB>MB<TAB>CPU seconds<TAB>peak KiB<TAB>note". Returns the CPU seconds
// of the two processes compared, when both are there.
void process_rows(BenchTable& table, const std::string& folder)
{
    std::FILE* f = std::fopen(join_path(folder, "processes.tsv").c_str(), "r");
    if (!f)
        return;
    double ours = 0, peer = 0;
    char line[1024];
    while (std::fgets(line, sizeof line, f)) {
        std::vector<std::string> cells(1);
        for (const char* p = line; *p && *p != '\n'; ++p) {
            if (*p == '\t')
                cells.emplace_back();
            else
                cells.back() += *p;
        }
        if (cells.size() != 6)
            continue;
        BenchRow row{cells[0],
                     cells[1],
                     std::atof(cells[2].c_str()),
                     std::atof(cells[3].c_str()),
                     cells[5],
                     std::atof(cells[4].c_str()) / 1024};
        (row.task.rfind("meshwright-cli", 0) == 0 ? ours : peer) = row.seconds;
        table.add(row);
    }
    std::fclose(f);
    if (ours > 0 && peer > 0)
        table.addLine("ratio tinyobjloader/meshwright-cli info, whole processes on file (b): " + fixed(peer / ours, 2));
}

} // namespace

void run_obj_suite(BenchTable& table, const std::string& folder, int runs, std::string& lastLine)
{
    const std::string dumps = join_path(folder, "dumps");
    ::mkdir(dumps.c_str(), 0755);
    for (const ObjBenchFile& file : obj_bench_files()) {
        const std::string path = join_path(folder, file.fileName);
        const double mb = file_megabytes(path);
        if (mb == 0)
            fail(path + " is missing: run meshwright-bench-generate " + folder + " first");
        const std::int32_t models = file.key == "a" ? 1 : 40;

        const double ours = time_read_obj(path, ObjReadOptions(), runs, models);
        table.add({"read_obj", file.description, mb, ours, "dump files off"});
        ObjReadOptions withDumps;
        withDumps.dumpFiles = true;
        withDumps.dumpFolder = dumps;
        table.add({"read_obj", file.description, mb, time_read_obj(path, withDumps, runs, models), "dump files on"});
#ifdef MESHWRIGHT_HAVE_TINYOBJLOADER
        const double peer = time_tinyobjloader(path, folder, runs, static_cast<std::size_t>(models));
        table.add({"tinyobjloader LoadObj", file.description, mb, peer, "triangulate"});
        const std::string ratio = "ratio tinyobjloader/meshwright: " + fixed(peer / ours, 2);
        if (file.key == "b")
            lastLine = ratio;
        else
            table.addLine(ratio + " (file " + file.key + ")");
#else
        (void)lastLine;
#endif
    }
    materials_case(table, folder, runs);
    process_rows(table, folder);
    corner_scaling(table, runs);
}

} // namespace mw::bench
