#include "support/gmdc_builders.h"

namespace mw::test {

GmdcFile make_empty_gmdc(const std::string& fileName)
{
    GmdcFile g;
    g.header = {1, 0xFFFF, 0, 1, 0xAC4F8687};
    g.resource = {kGmdcBlockName, 0xAC4F8687, 4, "cSGResource", 0, 2, fileName};
    return g;
}

DataList make_float_list(std::uint32_t identity, std::int32_t records, int perRecord, float seed,
                         std::int32_t repetition)
{
    DataList d;
    d.identity = identity;
    d.recordCount = records;
    d.repetition = repetition;
    d.blockFormat = perRecord == 1 ? 0 : perRecord == 2 ? 1 : 2;
    d.setFormat = identity == kIdentityPositions ? 3 : identity == kIdentityNormals ? 1 : 2;
    d.floatValues.resize(static_cast<std::size_t>(records) * static_cast<std::size_t>(perRecord));
    for (std::size_t i = 0; i < d.floatValues.size(); ++i)
        d.floatValues[i] = seed + 0.25f * static_cast<float>(i) - static_cast<float>(i % 7);
    return d;
}

DataList make_bone_assignment_list(std::int32_t records)
{
    DataList d;
    d.identity = kIdentityBoneAssignments;
    d.recordCount = records;
    d.blockFormat = 4;
    d.setFormat = 0;
    for (std::int32_t i = 0; i < records; ++i) {
        // first bone slot i % 40, a second bone on some vertices, byte 3 always 0xFF
        const std::uint32_t first = static_cast<std::uint32_t>(i % 40);
        const std::uint32_t second = i % 3 == 0 ? static_cast<std::uint32_t>((i + 5) % 40) : 0xFFu;
        d.longValues.push_back(static_cast<std::int32_t>(0xFF000000u | 0x00FF0000u | (second << 8) | first));
    }
    return d;
}

namespace {

// One object group on data lists 0..lists-1 and one object on it whose triangles walk
// through the vertices.
void add_object(GmdcFile& g, std::int16_t lists, std::int32_t vertices, std::int32_t triangles, const char* name)
{
    ObjectGroup group;
    for (std::int16_t i = 0; i < lists; ++i)
        group.dataListIndices.push_back(i);
    group.vertexCount = vertices;
    group.activeCount = lists;
    g.objectGroups.push_back(group);
    GmdcObject obj;
    obj.primitiveType = 2;
    obj.objectGroupIndex = 0;
    obj.name = name;
    for (std::int32_t t = 0; t < triangles; ++t)
        for (std::int32_t k = 0; k < 3; ++k)
            obj.faces.push_back(static_cast<std::int16_t>((t + k) % vertices));
    obj.opacity = -1;
    g.objects.push_back(obj);
}

} // namespace

GmdcFile make_body_mesh(std::int32_t vertices, std::int32_t triangles)
{
    GmdcFile g = make_empty_gmdc("afBodyDress_tslocator_gmdc");
    const std::int32_t v = vertices;
    g.dataLists.push_back(make_float_list(kIdentityPositions, v, 3, 1.0f));
    g.dataLists.push_back(make_float_list(kIdentityNormals, v, 3, 2.0f));
    g.dataLists.push_back(make_float_list(kIdentityTexCoords, v, 2, 3.0f));
    g.dataLists.push_back(make_float_list(kIdentityTexCoordDeltas, v, 3, 4.0f));
    g.dataLists.push_back(make_float_list(kIdentityMorphVertexDeltas, v, 3, 5.0f));
    g.dataLists.push_back(make_float_list(kIdentityBumpNormals, v, 3, 6.0f));
    g.dataLists.push_back(make_bone_assignment_list(v));
    g.dataLists.push_back(make_float_list(kIdentityBoneWeights, v, 3, 0.5f));
    g.dataLists.push_back(make_float_list(kIdentityMorphTargetIndices, v, 1, 7.0f));
    g.dataLists.push_back(make_float_list(kIdentityMorphNormalDeltas, v, 3, 8.0f));
    g.dataLists.push_back(make_float_list(kIdentityMorphVertexMap, v, 1, 9.0f));
    for (int r = 1; r <= 3; ++r)
        g.dataLists.push_back(make_float_list(kIdentityMorphVertexDeltas, v, 3, 10.0f + static_cast<float>(r), r));
    g.dataLists[0].items = {0, 1, 2};

    add_object(g, 14, v, triangles, "body");
    g.objectGroups[0].list1 = {0, 1};
    for (std::int16_t b = 0; b < 40; ++b)
        g.objects[0].blockB.push_back(static_cast<std::int16_t>(b + 2));

    for (int k = 0; k < 65; ++k)
        g.transforms.push_back({{0.01f * static_cast<float>(k), 0, 0, 1}, {0.125f * static_cast<float>(k), -1, 3.5f}});
    g.namePairs = {{"auskin", "skin"}, {"", "empty first"}, {"a", ""}};
    g.boundingVertices = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    g.boundingFaces = {0, 1, 2};
    P5Entry withVertices;
    withVertices.vertices = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0};
    withVertices.faces = {0, 1, 2, 1, 3, 2};
    g.p5Entries.push_back(withVertices);
    g.p5Entries.push_back(P5Entry{});
    return g;
}

GmdcFile make_static_mesh(std::int32_t vertices, std::int32_t triangles)
{
    GmdcFile g = make_empty_gmdc("teapot_tslocator_gmdc");
    g.dataLists.push_back(make_float_list(kIdentityPositions, vertices, 3, 1.0f));
    g.dataLists.push_back(make_float_list(kIdentityNormals, vertices, 3, 2.0f));
    g.dataLists.push_back(make_float_list(kIdentityTexCoords, vertices, 2, 3.0f));
    g.dataLists.push_back(make_float_list(kIdentityBumpNormals, vertices, 3, 6.0f));
    add_object(g, 4, vertices, triangles, "teapot");
    g.boundingVertices = {0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2};
    g.boundingFaces = {0, 1, 2, 0, 2, 3};
    return g;
}

} // namespace mw::test
