// The imported models: meshes read from OBJ and SMD files, which the merge, the wizard,
// the 3D view and the OBJ writer use. Vectors are indexed from 0 while the numbers the
// models store are 1-based: vertex number i is vertices[i - 1].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mw {

struct Vec3f {
    float x = 0, y = 0, z = 0;
};

struct Vec2f {
    float u = 0, v = 0;
};

// One triangle. After a completed read only vertex1..vertex3 are set (1-based vertex
// numbers of the model); vertices, normals and uvs are parallel, so consumers take all
// corner data by vertex number. The normal and uv numbers are 0.
struct MeshFace {
    std::int32_t vertex1 = 0, vertex2 = 0, vertex3 = 0;
    std::int32_t normal1 = 0, normal2 = 0, normal3 = 0;
    std::int32_t uv1 = 0, uv2 = 0, uv3 = 0;
};

struct MeshModel {
    std::string name;
    std::vector<Vec3f> vertices;
    std::vector<Vec3f> normals;
    std::vector<Vec2f> uvs;
    std::int16_t boneMode = 0;               // 0 for OBJ models; 1 one bone per vertex; 2 up to three weighted bones
    std::vector<std::int16_t> boneLinkCount; // mode 2 only
    std::vector<std::int16_t> bone1;         // per vertex; its size is boneVertexCount
    std::vector<std::int16_t> bone2;         // mode 2 only, -1 = none
    std::vector<std::int16_t> bone3;         // mode 2 only, -1 = none
    std::vector<float> weight1;              // mode 2 only
    std::vector<float> weight2;
    std::vector<float> weight3;
    std::vector<MeshFace> faces;
    std::int16_t subGroup = 0;     // 1-based slot of the target object's bone list, 0 = none
    std::int16_t targetObject = 0; // 1-based GMDC object, 0 = none

    std::int32_t vertexCount() const { return static_cast<std::int32_t>(vertices.size()); }
    std::int32_t normalCount() const { return static_cast<std::int32_t>(normals.size()); }
    std::int32_t uvCount() const { return static_cast<std::int32_t>(uvs.size()); }
    std::int32_t boneVertexCount() const { return static_cast<std::int32_t>(bone1.size()); }
    std::int32_t faceCount() const { return static_cast<std::int32_t>(faces.size()); }
};

// Material and texture of one model: row r belongs to model r (materials[r - 1]).
struct MaterialRow {
    std::string materialName; // from the OBJ "usemtl" line
    std::string textureFile;  // from the MTL "map_kd" line
    bool textureFound = false;
    bool currentMaterial = false; // while the MTL reader is inside this row's "newmtl" block
};

struct ModelSet {
    std::vector<MeshModel> models;      // model m is models[m - 1]
    std::vector<MaterialRow> materials; // materialCount rows
    std::string mtlFileName;            // as written on the last "mtllib" line
    bool objLoadOk = false;
    std::int16_t modelSource = 1; // 1: OBJ models (and after the reset), 2: an SMD model

    std::int32_t modelCount() const { return static_cast<std::int32_t>(models.size()); }
    std::int32_t materialCount() const { return static_cast<std::int32_t>(materials.size()); }

    // Empties the set, the material table and the MTL name.
    void reset() { *this = ModelSet(); }
};

} // namespace mw
