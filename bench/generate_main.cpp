// meshwright-bench-generate FOLDER: writes the benchmark's input files into FOLDER.
#include "core/program_folder.h"
#include "core/save_file.h"
#include "obj_files.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: meshwright-bench-generate FOLDER\n");
        return 2;
    }
    for (const mw::bench::ObjBenchFile& f : mw::bench::obj_bench_files()) {
        const std::string text = mw::bench::obj_bench_text(f.key);
        const std::string path = mw::join_path(argv[1], f.fileName);
        std::string error;
        if (!mw::save_file_atomically(path, text, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("%-40s %8.1f MB  %s\n", path.c_str(), static_cast<double>(text.size()) / 1e6,
                    f.description.c_str());
    }
    return 0;
}
