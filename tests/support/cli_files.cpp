#include "support/cli_files.h"

#include "merge/merge_test_util.h"

#include <filesystem>

namespace mw::test {

namespace {

const char* const kTopObj = "g body\n"
                            "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                            "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                            "vn 0 0 1\n"
                            "f 1/1/1 2/2/1 3/3/1\nf 2/2/1 4/4/1 3/3/1\n"
                            "g spout\n"
                            "v 0 0 1\nv 1 0 1\nv 0 1 1\n"
                            "f 5/1/1 6/2/1 7/3/1\n";

std::string one_bone_smd(int a, int b, int c)
{
    return "version 1\nnodes\n  0 \"root\" -1\nend\nskeleton\ntime 0\n  0 0 0 0 0 0 0\nend\ntriangles\nskin.bmp\n" +
           std::to_string(a) + " 0 0 0 0 0 1 0 0\n" + std::to_string(b) + " 1 0 0 0 0 1 1 0\n" + std::to_string(c) +
           " 0 1 0 0 0 1 0 1\nend\n";
}

} // namespace

CliFiles::CliFiles()
{
    write_file(dir_.file("body.5gd"), bytes_of(make_body_mesh()));
    write_file(dir_.file("body30.5gd"), bytes_of(make_body_mesh_30()));
    write_file(dir_.file("lid.5gd"), bytes_of(with_shared_object(make_body_mesh(), "lid", {9, 10, 11})));
    write_file(dir_.file("static.5gd"), bytes_of(make_static_mesh()));
    write_file(dir_.file("top.obj"), kTopObj);
    write_file(dir_.file("tri.smd"), one_bone_smd(2, 6, 41));
    write_file(dir_.file("wide.smd"), one_bone_smd(2, 99, 2));
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
