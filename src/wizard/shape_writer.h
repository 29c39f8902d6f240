// The shape resource ("cShape" block) the wizard writes beside a new GMDC on request: it
// names the object's parts (subsets) and their materials and refers to a geometry node by
// the name "testname_tslocator_gmnd". Only the names of the parts vary; every other field
// is fixed.
#pragma once

#include "core/message_sink.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mw {

struct ShapePart {
    std::string subsetName;
    std::string materialName;
    std::uint32_t number1 = 0;
    std::uint32_t number2 = 0;
    std::uint8_t flag = 0;
};

// Every field of the file in file order. initShape gives the fixed part its values; the
// caller fills `parts`.
struct ShpeFile {
    std::uint16_t versionLow = 0;
    std::uint16_t versionHigh = 0;
    std::uint32_t linkCount = 0;
    std::uint32_t indexCount = 0;
    std::uint32_t typeId = 0;
    std::string blockName;
    std::uint32_t blockId = 0;
    std::uint32_t blockVersion = 0;
    std::string resourceBlockName;
    std::uint32_t resourceBlockId = 0;
    std::uint32_t resourceBlockVersion = 0;
    std::string resourceFileName;
    std::string nodeBlockName;
    std::uint32_t nodeBlockId = 0;
    std::uint32_t nodeBlockVersion = 0;
    std::string graphNodeBlockName;
    std::uint32_t graphNodeBlockId = 0;
    std::uint32_t graphNodeBlockVersion = 0;
    std::uint32_t graphNodeExtensionCount = 0; // none follow
    std::string graphNodeFileName;
    std::uint32_t listCount = 0;
    std::uint32_t listEntry = 0;
    std::uint32_t shapeItemCount = 0;
    std::uint32_t shapeItemField1 = 0;
    std::uint8_t shapeItemField2 = 0;
    std::string geometryNodeName;
    std::vector<ShapePart> parts;
};

inline constexpr const char* kShapeFileName = "test_shpe.simpe";

// Sets every fixed field; leaves the parts alone.
void initShape(ShpeFile& shape);

// Part k (1-based) of a shape with one part per name: subset name names[k - 1], material
// "Material_" + k ("Material_10" for the tenth).
void setShapeParts(ShpeFile& shape, const std::vector<std::string>& names);

// The file's bytes: the 162-byte fixed part, then per part 21 bytes plus the length of its
// subset name. Refuses (false, `error` set) a name longer than 255 characters.
bool serializeShape(const ShpeFile& shape, std::string& out, std::string& error);

// Writes the shape to `path` atomically (an older, longer file is replaced whole). Reports
// a refused name or a failed save to `sink`; shows nothing on success.
bool writeShape(const ShpeFile& shape, const std::string& path, MessageSink& sink);

} // namespace mw
