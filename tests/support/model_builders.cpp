#include "support/model_builders.h"

namespace mw::test {

MeshModel make_obj_model(const std::string& name, std::int32_t vertices, std::int32_t triangles, float seed)
{
    MeshModel m;
    m.name = name;
    for (std::int32_t i = 0; i < vertices; ++i) {
        const float f = static_cast<float>(i);
        m.vertices.push_back({seed + 0.125f * f, 1.0f - 0.25f * f, seed * 0.5f + 2.0f});
        m.normals.push_back({0.0f, 1.0f - 0.0625f * f, 0.5f});
        m.uvs.push_back({0.0625f * f, -(0.5f + 0.03125f * f)});
    }
    for (std::int32_t t = 0; t < triangles; ++t) {
        MeshFace face;
        face.vertex1 = t % vertices + 1;
        face.vertex2 = (t + 1) % vertices + 1;
        face.vertex3 = (t + 2) % vertices + 1;
        m.faces.push_back(face);
    }
    return m;
}

} // namespace mw::test
