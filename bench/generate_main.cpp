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
    auto save = [&](const std::string& fileName, const std::string& text, const std::string& description) {
        const std::string path = mw::join_path(argv[1], fileName);
        std::string error;
        if (!mw::save_file_atomically(path, text, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        std::printf("%-40s %8.1f MB  %s\n", path.c_str(), static_cast<double>(text.size()) / 1e6, description.c_str());
        return true;
    };
    namespace b = mw::bench;
    for (const b::ObjBenchFile& f : b::obj_bench_files())
        if (!save(f.fileName, b::obj_bench_text(f.key), f.description))
            return 1;
    const b::ObjBenchFile& d = b::materials_bench_file();
    return save(d.fileName, b::materials_obj_text(), d.description) &&
                   save(b::materials_mtl_file_name(), b::materials_mtl_text(), "its MTL file")
               ? 0
               : 1;
}
