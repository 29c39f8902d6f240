#include "support/cli_files.h"

#include "merge/merge_test_util.h"

#include <filesystem>

namespace mw::test {

CliFiles::CliFiles()
{
    write_file(dir_.file("body.5gd"), bytes_of(make_body_mesh()));
    write_file(dir_.file("body30.5gd"), bytes_of(make_body_mesh_30()));
    write_file(dir_.file("static.5gd"), bytes_of(make_static_mesh()));
    write_file(dir_.file("top.obj"),
               "g body\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\nvn 0 0 1\n"
               "f 1/1/1 2/2/1 3/3/1\nf 2/2/1 4/4/1 3/3/1\n"
               "g spout\nv 0 0 1\nv 1 0 1\nv 0 1 1\nf 5/1/1 6/2/1 7/3/1\n");
    write_file(dir_.file("wide.smd"),
               "version 1\nnodes\n  0 \"root\" -1\nend\nskeleton\ntime 0\n  0 0 0 0 0 0 0\nend\n"
               "triangles\nskin.bmp\n2 0 0 0 0 0 1 0 0\n99 1 0 0 0 0 1 1 0\n2 0 1 0 0 0 1 0 1\nend\n");
    write_file(dir_.file("weighted.smd"),
               "version 1\ntriangles\nskin.bmp\n0 0 0 0 0 0 1 0 0 2 5 0.75 7 0.25\n0 1 0 0 0 0 1 1 0 1 8 1\n"
               "0 0 1 0 0 0 1 0 1 1 3 1\nend\n");
}

std::map<std::string, std::string> CliFiles::snapshot() const
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = read_file(entry.path().string());
    return files;
}

std::string example_obj()
{
    return std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/example.obj";
}

} // namespace mw::test
