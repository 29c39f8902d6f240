// OBJ import figures: read_obj against tinyobjloader on the generated files, and the
// scaling of the distinct-corner numbering.
#include "bench_suites.h"
#include "core/program_folder.h"
#include "mesh/obj_reader.h"
#include "obj_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

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
    corner_scaling(table, runs);
}

} // namespace mw::bench
