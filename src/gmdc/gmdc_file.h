// The in-memory GMDC geometry resource ("cGeometryDataContainer"): the container header,
// the resource header and the five sections P1 (data lists), P2 (object groups),
// P3 (objects), P4 (transforms, name pairs, bounding mesh) and P5.
//
// Lists are std::vectors indexed from 0: a list's count is its size, so counts and lists
// cannot disagree. Cross references stored in the file are 0-based numbers and index the
// vectors directly (object.objectGroupIndex names objectGroups[objectGroupIndex]).
// Names are the file's raw bytes (no code-page conversion); the file stores their length
// in one byte, so the writer refuses names longer than 255 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mw {

// Data-list identities the program creates or tests; every other identity is carried as is.
inline constexpr std::uint32_t kIdentityPositions = 0x5B830781;
inline constexpr std::uint32_t kIdentityNormals = 0x3B83078B;
inline constexpr std::uint32_t kIdentityTexCoords = 0xBB8307AB;
inline constexpr std::uint32_t kIdentityTexCoordDeltas = 0xDB830795;
inline constexpr std::uint32_t kIdentityBoneAssignments = 0xFBD70111;
inline constexpr std::uint32_t kIdentityBoneWeights = 0x3BD70105;
inline constexpr std::uint32_t kIdentityBumpNormals = 0x89D92BA0;
inline constexpr std::uint32_t kIdentityMorphTargetIndices = 0x7C4DEE82;
inline constexpr std::uint32_t kIdentityMorphVertexDeltas = 0x5CF2CFE1;
inline constexpr std::uint32_t kIdentityMorphNormalDeltas = 0xCB6F3A6A;
inline constexpr std::uint32_t kIdentityMorphVertexMap = 0xDCF2CFDC;

// A short readable name for a data-list identity ("positions"), or "" when unknown.
inline const char* identity_short_name(std::uint32_t identity)
{
    switch (identity) {
    case kIdentityPositions:
        return "positions";
    case kIdentityNormals:
        return "normals";
    case kIdentityTexCoords:
        return "texture coordinates";
    case kIdentityTexCoordDeltas:
        return "texture-coordinate deltas";
    case kIdentityBoneAssignments:
        return "bone assignments";
    case kIdentityBoneWeights:
        return "bone weights";
    case kIdentityBumpNormals:
        return "bump-map normals";
    case kIdentityMorphTargetIndices:
        return "morph target indices";
    case kIdentityMorphVertexDeltas:
        return "morph vertex deltas";
    case kIdentityMorphNormalDeltas:
        return "morph normal deltas";
    case kIdentityMorphVertexMap:
        return "morph vertex map";
    default:
        return "";
    }
}

inline constexpr const char* kGmdcBlockName = "cGeometryDataContainer";

struct FileHeader {
    std::uint16_t versionLow = 0;
    std::uint16_t versionHigh = 0;
    std::uint32_t linkCount = 0;
    std::uint32_t indexCount = 0;
    std::uint32_t typeId = 0;

    bool operator==(const FileHeader&) const = default;
};

struct ResourceHeader {
    std::string blockName;
    std::uint32_t blockId = 0;
    std::uint32_t blockVersion = 0; // 1 to 4; selects the file layout
    std::string resourceName;
    std::uint32_t resourceId = 0;
    std::uint32_t resourceVersion = 0;
    std::string fileName;

    bool operator==(const ResourceHeader&) const = default;
};

// P1 entry. The values are 32-bit integers (longValues) for a bone-assignment list and
// 32-bit floats (floatValues) for every other identity; the other vector stays empty.
// dataLength is not stored: it is always 4 x the number of values.
struct DataList {
    std::int32_t recordCount = 0; // a free field: carried as stored, even when it disagrees
    std::uint32_t identity = 0;
    std::int32_t repetition = 0;
    std::int32_t blockFormat = 0;
    std::int32_t setFormat = 0;
    std::vector<float> floatValues;
    std::vector<std::int32_t> longValues;
    std::vector<std::int16_t> items; // the "Int array", carried unchanged

    bool holdsLongValues() const { return identity == kIdentityBoneAssignments; }
    std::size_t valueCount() const { return holdsLongValues() ? longValues.size() : floatValues.size(); }
    std::int64_t dataLength() const { return 4 * static_cast<std::int64_t>(valueCount()); }

    bool operator==(const DataList&) const = default;
};

// P2 entry.
struct ObjectGroup {
    std::int32_t spare = 0; // kept in memory only, never in a file
    std::vector<std::int16_t>
        dataListIndices; // 0-based P1 numbers: [0] positions, [1] normals, [2] texture coordinates
    std::int32_t vertexCount = 0;
    std::int32_t activeCount = 0;
    std::vector<std::int16_t> list1; // the three alias lists, carried unchanged
    std::vector<std::int16_t> list2;
    std::vector<std::int16_t> list3;

    bool operator==(const ObjectGroup&) const = default;
};

// P3 entry.
struct GmdcObject {
    std::int32_t primitiveType = 0;    // 2: triangles, three face entries each
    std::int32_t objectGroupIndex = 0; // 0-based P2 number
    std::string name;
    std::vector<std::int16_t> faces; // 0-based vertex numbers within the object group
    std::int32_t opacity = -1;
    std::vector<std::int16_t> blockB; // the object's bone list: 0-based bone numbers

    bool operator==(const GmdcObject&) const = default;
};

// P4 "Block A" entry, 28 bytes.
struct Transform {
    float rotation[4] = {0, 0, 0, 0}; // quaternion x, y, z, w
    float location[3] = {0, 0, 0};

    bool operator==(const Transform&) const = default;
};

struct NamePair {
    std::string first;
    std::string second;

    bool operator==(const NamePair&) const = default;
};

// P5 entry. vertices holds x, y, z per vertex. A file stores no face count for an entry
// without vertices, so such an entry has no faces.
struct P5Entry {
    std::vector<float> vertices;
    std::vector<std::int16_t> faces;

    std::int64_t vertexCount() const { return static_cast<std::int64_t>(vertices.size() / 3); }

    bool operator==(const P5Entry&) const = default;
};

struct GmdcFile {
    FileHeader header;
    ResourceHeader resource;
    std::vector<DataList> dataLists;
    std::vector<ObjectGroup> objectGroups;
    std::vector<GmdcObject> objects;
    std::vector<Transform> transforms;
    std::vector<NamePair> namePairs;
    std::vector<float> boundingVertices;     // x, y, z per vertex
    std::vector<std::int16_t> boundingFaces; // 0-based, 3 per triangle; none without vertices
    std::vector<P5Entry> p5Entries;

    std::int64_t boundingVertexCount() const { return static_cast<std::int64_t>(boundingVertices.size() / 3); }

    // True once a file was loaded or a new GMDC built; a reset record holds none.
    bool holdsGmdc() const { return resource.blockName == kGmdcBlockName; }

    // Empties the whole record: every list released, the headers zeroed.
    void reset() { *this = GmdcFile(); }

    bool operator==(const GmdcFile&) const = default;
};

} // namespace mw
