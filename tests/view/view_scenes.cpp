#include "view/view_scenes.h"

namespace mw::test {

GmdcFile two_triangle_gmdc()
{
    GmdcFile g;
    for (std::uint32_t id : {kIdentityPositions, kIdentityNormals, kIdentityTexCoords, kIdentityMorphVertexDeltas,
                             kIdentityBoneAssignments}) {
        g.dataLists.emplace_back();
        g.dataLists.back().identity = id;
    }
    for (float x : {-1.2f, 0.2f}) {
        std::vector<float>& p = g.dataLists[0].floatValues;
        p.insert(p.end(), {x, -.5f, 0, x + 1, -.5f, 0, x + .5f, .5f, 0});
        g.dataLists[1].floatValues.insert(g.dataLists[1].floatValues.end(), {0, 0, 1, 0, 0, 1, 0, 0, 1});
    }
    g.dataLists[4].longValues = {static_cast<std::int32_t>(0xFFFF0200u), -1, -1,
                                 static_cast<std::int32_t>(0xFFFFFF01u), -1, -1};
    g.objectGroups.emplace_back();
    g.objectGroups[0].dataListIndices = {0, 1, 2, 3, 4};
    g.objectGroups[0].activeCount = 5;
    g.objects.emplace_back();
    g.objects[0].name = "body";
    g.objects[0].faces = {0, 1, 2, 3, 4, 5};
    return g;
}

MeshModel square(const std::string& name, float half, float z)
{
    MeshModel m;
    m.name = name;
    m.vertices = {{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}};
    m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.faces = {{1, 2, 3}, {1, 3, 4}};
    return m;
}

MeshModel scattered_model(const std::string& name, std::int32_t triangles, std::uint32_t seed)
{
    MeshModel m;
    m.name = name;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f; // [0, 1)
    };
    for (std::int32_t i = 0; i < 3 * triangles; ++i) {
        m.vertices.push_back({3 * next() - 1.5f, 2.4f * next() - 1.2f, 2 * next() - 1});
        m.normals.push_back({next() - .5f, next() - .5f, 1});
        m.uvs.push_back({next(), next()});
        if (i % 3 == 2)
            m.faces.push_back({i - 1, i, i + 1});
    }
    return m;
}

} // namespace mw::test
