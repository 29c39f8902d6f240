#include "view/view_scenes.h"

namespace mw::test {

GmdcFile two_triangle_gmdc()
{
    GmdcFile g;
    DataList lists[5];
    const std::uint32_t ids[5] = {kIdentityPositions, kIdentityNormals, kIdentityTexCoords, kIdentityMorphVertexDeltas,
                                  kIdentityBoneAssignments};
    for (int i = 0; i < 5; ++i)
        lists[i].identity = ids[i];
    for (float x : {-1.2f, 0.2f}) {
        lists[0].floatValues.insert(lists[0].floatValues.end(), {x, -.5f, 0, x + 1, -.5f, 0, x + .5f, .5f, 0});
        lists[1].floatValues.insert(lists[1].floatValues.end(), {0, 0, 1, 0, 0, 1, 0, 0, 1});
        lists[2].floatValues.insert(lists[2].floatValues.end(), 6, 0.0f);
        lists[3].floatValues.insert(lists[3].floatValues.end(), 9, 0.0f);
    }
    lists[4].longValues = {static_cast<std::int32_t>(0xFFFF0200u), -1, -1,
                           static_cast<std::int32_t>(0xFFFFFF01u), -1, -1};
    g.dataLists.assign(lists, lists + 5);
    ObjectGroup group;
    group.dataListIndices = {0, 1, 2, 3, 4};
    group.activeCount = 5;
    g.objectGroups = {group};
    GmdcObject body;
    body.name = "body";
    body.faces = {0, 1, 2, 3, 4, 5};
    g.objects = {body};
    return g;
}

MeshModel square(const std::string& name, float half, float z)
{
    MeshModel m;
    m.name = name;
    m.vertices = {{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}};
    m.normals.assign(4, {0, 0, 1});
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
