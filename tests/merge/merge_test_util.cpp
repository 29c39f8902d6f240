#include "merge/merge_test_util.h"

namespace mw::test {

MeshModel make_model(const std::string& name, std::int32_t vertices, std::int32_t triangles, float seed)
{
    MeshModel m;
    m.name = name;
    for (std::int32_t i = 0; i < vertices; ++i) {
        const float f = seed + static_cast<float>(i);
        m.vertices.push_back({f, f + 0.5f, -f});
        m.normals.push_back({0.0f, f / 1000.0f, 1.0f});
        m.uvs.push_back({f / 100.0f, 1.0f - f / 200.0f});
    }
    for (std::int32_t t = 0; t < triangles; ++t) {
        MeshFace f;
        f.vertex1 = t % vertices + 1;
        f.vertex2 = (t + 1) % vertices + 1;
        f.vertex3 = (t + 2) % vertices + 1;
        m.faces.push_back(f);
    }
    return m;
}

namespace {

MeshModel smd_shape(std::size_t vertices)
{
    MeshModel m = make_model("object 1", static_cast<std::int32_t>(vertices), 0, 7.0f);
    for (std::size_t v = 0; v + 2 < vertices; v += 3) {
        MeshFace f;
        f.vertex1 = static_cast<std::int32_t>(v + 1);
        f.vertex2 = static_cast<std::int32_t>(v + 2);
        f.vertex3 = static_cast<std::int32_t>(v + 3);
        m.faces.push_back(f);
    }
    return m;
}

} // namespace

MeshModel make_one_bone_model(const std::vector<std::int16_t>& bones)
{
    MeshModel m = smd_shape(bones.size());
    m.boneMode = 1;
    m.bone1 = bones;
    return m;
}

MeshModel make_multi_bone_model(const std::vector<Link>& links)
{
    MeshModel m = smd_shape(links.size());
    m.boneMode = 2;
    for (const Link& l : links) {
        m.boneLinkCount.push_back(static_cast<std::int16_t>(1 + (l.bone2 != -1) + (l.bone3 != -1)));
        m.bone1.push_back(l.bone1);
        m.bone2.push_back(l.bone2);
        m.bone3.push_back(l.bone3);
        m.weight1.push_back(l.weight1);
        m.weight2.push_back(l.weight2);
        m.weight3.push_back(l.weight3);
    }
    return m;
}

GmdcFile make_body_mesh_30(std::int32_t vertices, std::int32_t triangles)
{
    GmdcFile g = make_body_mesh(vertices, triangles);
    const std::vector<DataList> body = g.dataLists; // the 14 lists of make_body_mesh
    const std::int32_t v = vertices;
    g.dataLists.clear();
    for (int r = 0; r < 10; ++r) // lists of other levels of detail, used by no group here
        g.dataLists.push_back(make_float_list(kIdentityTexCoordDeltas, 4, 3, 20.0f + static_cast<float>(r), r));
    g.dataLists.push_back(body[0]); // 11 positions
    g.dataLists.push_back(body[1]); // 12 normals
    g.dataLists.push_back(body[2]); // 13 texture coordinates
    g.dataLists.push_back(body[5]); // 14 bump-map normals
    g.dataLists.push_back(body[4]); // 15 morph vertex deltas
    g.dataLists.push_back(body[6]); // 16 bone assignments
    g.dataLists.push_back(body[7]); // 17 bone weights
    const std::uint32_t removed[5] = {kIdentityMorphTargetIndices, kIdentityMorphVertexDeltas,
                                      kIdentityMorphNormalDeltas, kIdentityMorphVertexMap, kIdentityBumpNormals};
    for (int k = 0; k < 13; ++k) // 18-30
        g.dataLists.push_back(make_float_list(removed[k % 5], v, 3, 40.0f + static_cast<float>(k), k / 5 + 1));
    // positions: 1 positions, 2 normals, 3 uvs, 4-5 morphs, 6 bump normals, 7 bones, 8 weights, 9-14 morphs
    g.objectGroups[0].dataListIndices = {10, 11, 12, 14, 17, 13, 15, 16, 18, 19, 20, 21, 22, 23};
    g.objectGroups[0].activeCount = 14;
    return g;
}

std::vector<float> flat(const std::vector<Vec3f>& values)
{
    std::vector<float> out;
    for (const Vec3f& v : values)
        out.insert(out.end(), {v.x, v.y, v.z});
    return out;
}

std::vector<float> flat(const std::vector<Vec2f>& values)
{
    std::vector<float> out;
    for (const Vec2f& v : values)
        out.insert(out.end(), {v.u, v.v});
    return out;
}

} // namespace mw::test
