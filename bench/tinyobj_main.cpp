// meshwright-bench-tinyobj FILE: tinyobjloader's LoadObj on one file, as a process of its
// own, so that scripts/bench measures its time and peak memory as it does meshwright-cli's.
#include <cstdio>
#include <string>
#include <tiny_obj_loader.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: meshwright-bench-tinyobj FILE\n");
        return 2;
    }
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    const std::string path = argv[1];
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, argv[1], folder.c_str(), true)) {
        std::fprintf(stderr, "%s\n", err.c_str());
        return 1;
    }
    std::printf("shapes: %zu\n", shapes.size());
    return 0;
}
