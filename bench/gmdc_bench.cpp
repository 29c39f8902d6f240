// GMDC load and save figures: readGmdc and writeGmdc on a generated body-mesh-shaped file
// at its largest, against the floor of moving the same bytes with one fread or fwrite.
#include "bench_suites.h"
#include "core/program_folder.h"
#include "core/save_file.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/vertex_transfer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace mw::bench {

namespace {

constexpr int kGroups = 4;
constexpr std::int32_t kVertices = 32767; // the most a 16-bit face index can reach
constexpr std::int32_t kTriangles = 60000;

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "meshwright-bench: %s\n", what.c_str());
    std::exit(1);
}

// Deterministic values that differ from list to list.
class Values {
  public:
    float next()
    {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<float>(static_cast<std::int32_t>(state_ >> 40) % 20000) / 1000.0f;
    }
    std::uint32_t next_bits()
    {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<std::uint32_t>(state_ >> 32);
    }

  private:
    std::uint64_t state_ = 0x5eed;
};

DataList float_list(Values& values, std::uint32_t identity, int perVertex)
{
    DataList d;
    d.identity = identity;
    d.recordCount = kVertices;
    d.blockFormat = perVertex == 1 ? 0 : perVertex == 2 ? 1 : 2;
    d.setFormat = 2;
    d.floatValues.resize(static_cast<std::size_t>(kVertices) * static_cast<std::size_t>(perVertex));
    for (float& v : d.floatValues)
        v = values.next();
    return d;
}

// Every object group laid out like a body mesh's: 14 lists with the bone assignments at
// position 7 and the weights after them; one object per group with 40 bones.
GmdcFile body_mesh_at_its_largest()
{
    GmdcFile g;
    g.header = {1, 0xFFFF, 0, 1, 0xAC4F8687};
    g.resource = {kGmdcBlockName, 0xAC4F8687, 4, "cSGResource", 0, 2, "afBodyBench_tslocator_gmdc"};
    Values values;
    for (int k = 0; k < kGroups; ++k) {
        ObjectGroup group;
        const auto first = static_cast<std::int16_t>(g.dataLists.size());
        const std::pair<std::uint32_t, int> lists[] = {
            {kIdentityPositions, 3},         {kIdentityNormals, 3},           {kIdentityTexCoords, 2},
            {kIdentityTexCoordDeltas, 3},    {kIdentityMorphVertexDeltas, 3}, {kIdentityBumpNormals, 3},
            {kIdentityBoneAssignments, 1},   {kIdentityBoneWeights, 3},       {kIdentityMorphTargetIndices, 1},
            {kIdentityMorphNormalDeltas, 3}, {kIdentityMorphVertexMap, 1},    {kIdentityMorphVertexDeltas, 3},
            {kIdentityMorphVertexDeltas, 3}, {kIdentityMorphVertexDeltas, 3}};
        for (const auto& [identity, perVertex] : lists) {
            if (identity == kIdentityBoneAssignments) {
                DataList d;
                d.identity = identity;
                d.recordCount = kVertices;
                d.blockFormat = 4;
                for (std::int32_t v = 0; v < kVertices; ++v)
                    d.longValues.push_back(static_cast<std::int32_t>(0xFF000000u | (values.next_bits() & 0x00272727u)));
                g.dataLists.push_back(std::move(d));
            } else {
                g.dataLists.push_back(float_list(values, identity, perVertex));
            }
            group.dataListIndices.push_back(static_cast<std::int16_t>(group.dataListIndices.size() + first));
        }
        group.vertexCount = kVertices;
        group.activeCount = static_cast<std::int32_t>(group.dataListIndices.size());
        g.objectGroups.push_back(std::move(group));

        GmdcObject object;
        object.primitiveType = 2;
        object.objectGroupIndex = k;
        object.name = "body_part_" + std::to_string(k + 1);
        for (std::int32_t i = 0; i < 3 * kTriangles; ++i)
            object.faces.push_back(static_cast<std::int16_t>(values.next_bits() % kVertices));
        for (std::int16_t b = 0; b < 40; ++b)
            object.blockB.push_back(b);
        g.objects.push_back(std::move(object));
    }
    for (int t = 0; t < 65; ++t) {
        Transform transform;
        transform.rotation[3] = 1;
        transform.location[0] = values.next();
        g.transforms.push_back(transform);
    }
    g.namePairs = {{"auskin", "skin"}};
    return g;
}

// The floor: the same bytes in one fread into one buffer, or out in one fwrite flushed
// to disk as the atomic save flushes its file.
void read_floor(const std::string& path, char* buffer, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(buffer, 1, size, f) != size)
        fail("cannot read " + path);
    std::fclose(f);
}

// The same read into memory the process has never touched, as the first load after the
// program starts sees it: the kernel maps and zeroes each page on first use.
void read_into_fresh_memory(const std::string& path, std::size_t size)
{
    void* fresh = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (fresh == MAP_FAILED)
        fail("cannot map memory");
    read_floor(path, static_cast<char*>(fresh), size);
    ::munmap(fresh, size);
}

void write_floor(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0 ||
        ::fsync(::fileno(f)) != 0)
        fail("cannot write " + path);
    std::fclose(f);
}

// Object group 1 alone, before and after an edit that dropped every tenth vertex and
// reversed the order of the rest, writing only positions, normals and texture coordinates.
void edited_group(const GmdcFile& source, GmdcFile& before, GmdcFile& after)
{
    before = source;
    before.objectGroups.resize(1);
    before.objects.resize(1);
    before.dataLists.resize(14);
    // A sparse morph list, as body meshes carry: a value for every 50th vertex.
    DataList& sparse = before.dataLists[8];
    sparse.items.clear();
    for (std::int32_t v = 0; v < kVertices; v += 50)
        sparse.items.push_back(static_cast<std::int16_t>(v));
    sparse.floatValues.resize(sparse.items.size(), 0.5f);
    after = before;
    std::int32_t kept = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t w = k == 2 ? 2 : 3;
        const std::vector<float>& old = before.dataLists[static_cast<std::size_t>(k)].floatValues;
        std::vector<float> now;
        for (std::int32_t v = kVertices - 1; v >= 0; --v)
            if (v % 10 != 0)
                now.insert(now.end(), old.begin() + static_cast<std::ptrdiff_t>(w * static_cast<std::size_t>(v)),
                           old.begin() + static_cast<std::ptrdiff_t>(w * static_cast<std::size_t>(v + 1)));
        kept = static_cast<std::int32_t>(now.size() / w);
        after.dataLists[static_cast<std::size_t>(k)].floatValues = std::move(now);
        after.dataLists[static_cast<std::size_t>(k)].recordCount = kept;
    }
    after.objectGroups[0].vertexCount = kept;
    after.objects[0].faces.clear();
}

} // namespace

void run_gmdc_suite(BenchTable& table, const std::string& folder, int runs)
{
    GmdcFile source = body_mesh_at_its_largest();
    std::string bytes, error;
    if (!serializeGmdc(source, bytes, error))
        fail("the generated GMDC cannot be written: " + error);
    const std::string path = join_path(folder, "body_mesh_largest.5gd");
    if (!save_file_atomically(path, bytes, error))
        fail(error);
    const double mb = static_cast<double>(bytes.size()) / 1e6;
    const std::string input = std::to_string(kGroups) + " groups x 14 lists x " + std::to_string(kVertices) +
                              " vertices, " + std::to_string(kGroups * kTriangles) + " triangles";

    NullSink sink;
    GmdcFile loaded;
    const double load = best_time(runs, [&] {
        if (!readGmdc(loaded, path, sink))
            fail("readGmdc did not read " + path);
    });
    std::string buffer(bytes.size(), '\0');
    const double loadFloor = best_time(runs, [&] { read_floor(path, buffer.data(), buffer.size()); });
    const double loadFresh = best_time(runs, [&] { read_into_fresh_memory(path, bytes.size()); });

    const std::string saved = join_path(folder, "body_mesh_saved.5gd");
    const double save = best_time(runs, [&] {
        if (!writeGmdc(loaded, saved, sink))
            fail("writeGmdc did not write " + saved);
    });
    const std::string floorPath = join_path(folder, "body_mesh_floor.5gd");
    const double saveFloor = best_time(runs, [&] { write_floor(floorPath, bytes); });

    GmdcFile before, after;
    edited_group(source, before, after);
    const double nearest = best_time(runs, [&] {
        if (nearest_vertices(group_vertices(before, 0), group_vertices(after, 0)).empty())
            fail("no nearest vertices");
    });
    const double transfer = best_time(runs, [&] {
        GmdcFile edited = after;
        follow_new_vertices(before, edited, false, sink);
        if (edited.dataLists[13].recordCount != edited.objectGroups[0].vertexCount)
            fail("follow_new_vertices left a list behind");
    });
    const std::string transferInput = std::to_string(kVertices) + " -> " +
                                      std::to_string(after.objectGroups[0].vertexCount) +
                                      " vertices, 11 lists (1 indexed)";

    table.add({"readGmdc", input, mb, load, "ratio to fread " + fixed(load / loadFloor, 2)});
    table.add({"fread (floor)", "the same bytes, one buffer", mb, loadFloor, ""});
    table.add({"fread", "the same bytes into untouched memory", mb, loadFresh,
               "ratio readGmdc/this " + fixed(load / loadFresh, 2)});
    table.add({"writeGmdc", input, mb, save, "padding, temp file, fsync, rename; ratio " + fixed(save / saveFloor, 2)});
    table.add({"fwrite (floor)", "the same bytes, one buffer, fsync", mb, saveFloor, ""});
    table.add({"nearest_vertices", transferInput, 0, nearest, "grid search by position, normal, uv"});
    table.add({"follow_new_vertices", transferInput, 0, transfer, "with a copy of the group; target < 20 ms"});
    table.addLine("GMDC load+save time / fread+fwrite time: " + fixed((load + save) / (loadFloor + saveFloor), 2) +
                  " (target: at most 3); with the read into untouched memory: " +
                  fixed((load + save) / (loadFresh + saveFloor), 2));
}

} // namespace mw::bench
