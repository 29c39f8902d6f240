#include "view/view_scenes.h"

namespace mw::test {

GmdcFile two_triangle_gmdc()
{
    GmdcFile g;
    g.resource.blockName = kGmdcBlockName;
    const float xs[2] = {-1.2f, 0.2f};
    DataList positions, normals, uvs, other, bones;
    positions.identity = kIdentityPositions;
    normals.identity = kIdentityNormals;
    uvs.identity = kIdentityTexCoords;
    other.identity = kIdentityMorphVertexDeltas;
    bones.identity = kIdentityBoneAssignments;
    for (float x : xs) {
        positions.floatValues.insert(positions.floatValues.end(),
                                     {x, -0.5f, 0.0f, x + 1.0f, -0.5f, 0.0f, x + 0.5f, 0.5f, 0.0f});
        for (int i = 0; i < 3; ++i) {
            normals.floatValues.insert(normals.floatValues.end(), {0, 0, 1});
            uvs.floatValues.insert(uvs.floatValues.end(), {0, 0});
            other.floatValues.insert(other.floatValues.end(), {0, 0, 0});
        }
    }
    bones.longValues = {static_cast<std::int32_t>(0xFFFF0200u), -1, -1, static_cast<std::int32_t>(0xFFFFFF01u), -1, -1};
    g.dataLists = {positions, normals, uvs, other, bones};
    ObjectGroup group;
    group.dataListIndices = {0, 1, 2, 3, 4};
    group.vertexCount = 6;
    group.activeCount = 5;
    g.objectGroups = {group};
    GmdcObject body;
    body.primitiveType = 2;
    body.name = "body";
    body.faces = {0, 1, 2, 3, 4, 5};
    body.blockB = {10, 11, 12};
    g.objects = {body};
    return g;
}

MeshModel scattered_model(const std::string& name, std::int32_t triangles, std::uint32_t seed)
{
    MeshModel m;
    m.name = name;
    std::uint32_t s = seed;
    const auto next = [&s] {
        s = s * 1664525u + 1013904223u;
        return static_cast<float>(s >> 8) / 16777216.0f; // [0, 1)
    };
    for (std::int32_t i = 0; i < 3 * triangles; ++i) {
        m.vertices.push_back({3.0f * next() - 1.5f, 2.4f * next() - 1.2f, 2.0f * next() - 1.0f});
        m.normals.push_back({next() - 0.5f, next() - 0.5f, 1.0f});
        m.uvs.push_back({next(), next()});
    }
    for (std::int32_t t = 0; t < triangles; ++t)
        m.faces.push_back({3 * t + 1, 3 * t + 2, 3 * t + 3});
    return m;
}

MeshModel centre_triangle(const std::string& name)
{
    MeshModel m;
    m.name = name;
    m.vertices = {{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}};
    m.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    m.uvs = {{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}};
    m.faces = {{1, 2, 3}};
    return m;
}

} // namespace mw::test
