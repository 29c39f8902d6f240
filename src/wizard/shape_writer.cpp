#include "wizard/shape_writer.h"

#include "core/byte_io.h"
#include "core/save_file.h"

namespace mw {

namespace {

// Names are stored behind one length byte.
bool counted_string(ByteWriter& out, const std::string& text, const char* what, std::string& error)
{
    if (text.size() > 255) {
        error = std::string("The shape's ") + what + " \"" + text.substr(0, 40) + "...\" is " +
                std::to_string(text.size()) + " characters long; a name holds at most 255.";
        return false;
    }
    out.u8(static_cast<std::uint8_t>(text.size()));
    out.bytes(text);
    return true;
}

} // namespace

void initShape(ShpeFile& shape)
{
    shape.versionLow = 1;
    shape.versionHigh = 0xFFFF;
    shape.linkCount = 0;
    shape.indexCount = 1;
    shape.typeId = 0;
    shape.blockName = "cShape";
    shape.blockId = 0;
    shape.blockVersion = 8;
    shape.resourceBlockName = "cSGResource";
    shape.resourceBlockId = 0;
    shape.resourceBlockVersion = 2;
    shape.resourceFileName = "testname_shpe";
    shape.nodeBlockName = "cReferentNode";
    shape.nodeBlockId = 0;
    shape.nodeBlockVersion = 1;
    shape.graphNodeBlockName = "cObjectGraphNode";
    shape.graphNodeBlockId = 0;
    shape.graphNodeBlockVersion = 4;
    shape.graphNodeExtensionCount = 0;
    shape.graphNodeFileName.clear();
    shape.listCount = 1;
    shape.listEntry = 90;
    shape.shapeItemCount = 1;
    shape.shapeItemField1 = 0;
    shape.shapeItemField2 = 1;
    shape.geometryNodeName = "testname_tslocator_gmnd";
}

void setShapeParts(ShpeFile& shape, const std::vector<std::string>& names)
{
    shape.parts.clear();
    for (std::size_t k = 1; k <= names.size(); ++k) {
        ShapePart part;
        part.subsetName = names[k - 1];
        part.materialName = "Material_" + std::to_string(k);
        shape.parts.push_back(part);
    }
}

bool serializeShape(const ShpeFile& shape, std::string& out, std::string& error)
{
    ByteWriter w;
    w.u16(shape.versionLow);
    w.u16(shape.versionHigh);
    w.u32(shape.linkCount);
    w.u32(shape.indexCount);
    w.u32(shape.typeId);
    bool ok = counted_string(w, shape.blockName, "block name", error);
    w.u32(shape.blockId);
    w.u32(shape.blockVersion);
    ok = ok && counted_string(w, shape.resourceBlockName, "resource block name", error);
    w.u32(shape.resourceBlockId);
    w.u32(shape.resourceBlockVersion);
    ok = ok && counted_string(w, shape.resourceFileName, "resource file name", error);
    ok = ok && counted_string(w, shape.nodeBlockName, "node block name", error);
    w.u32(shape.nodeBlockId);
    w.u32(shape.nodeBlockVersion);
    ok = ok && counted_string(w, shape.graphNodeBlockName, "graph node block name", error);
    w.u32(shape.graphNodeBlockId);
    w.u32(shape.graphNodeBlockVersion);
    w.u32(shape.graphNodeExtensionCount);
    ok = ok && counted_string(w, shape.graphNodeFileName, "graph node file name", error);
    w.u32(shape.listCount);
    w.u32(shape.listEntry);
    w.u32(shape.shapeItemCount);
    w.u32(shape.shapeItemField1);
    w.u8(shape.shapeItemField2);
    ok = ok && counted_string(w, shape.geometryNodeName, "geometry node name", error);
    w.u32(static_cast<std::uint32_t>(shape.parts.size()));
    for (const ShapePart& part : shape.parts) {
        ok = ok && counted_string(w, part.subsetName, "subset name", error);
        ok = ok && counted_string(w, part.materialName, "material name", error);
        w.u32(part.number1);
        w.u32(part.number2);
        w.u8(part.flag);
    }
    if (!ok)
        return false;
    out = w.take();
    return true;
}

bool writeShape(const ShpeFile& shape, const std::string& path, MessageSink& sink)
{
    std::string bytes;
    std::string error;
    if (!serializeShape(shape, bytes, error)) {
        sink.error(error);
        return false;
    }
    return save_file(path, bytes, sink);
}

} // namespace mw
