#include "wizard/default_area.h"

#include "core/byte_io.h"

namespace mw {

bool parseDefaultArea(std::string_view bytes, ClickableArea& area, std::string& error, const std::string& sourceName)
{
    ByteReader in(bytes);
    std::int32_t vertexCount = 0;
    std::int32_t faceCount = 0;
    if (!in.read_i32(vertexCount) || !in.read_i32(faceCount)) {
        error = "The clickable area file " + sourceName + " is too short: it holds " + std::to_string(bytes.size()) +
                " bytes, fewer than the 8 of its two counts.";
        return false;
    }
    if (vertexCount < 0 || faceCount < 0) {
        error = "The clickable area file " + sourceName + " has a negative count (" + std::to_string(vertexCount) +
                " vertices, " + std::to_string(faceCount) + " face indices).";
        return false;
    }
    const std::int64_t needed = 12 * static_cast<std::int64_t>(vertexCount) + 2 * static_cast<std::int64_t>(faceCount);
    if (static_cast<std::int64_t>(in.remaining()) < needed) {
        error = "The clickable area file " + sourceName + " is truncated: " + std::to_string(vertexCount) +
                " vertices and " + std::to_string(faceCount) + " face indices need " + std::to_string(8 + needed) +
                " bytes, the file holds " + std::to_string(bytes.size()) + ".";
        return false;
    }
    ClickableArea read;
    read.vertices.resize(3 * static_cast<std::size_t>(vertexCount));
    for (float& v : read.vertices)
        in.read_f32(v);
    read.faces.resize(static_cast<std::size_t>(faceCount));
    for (std::size_t i = 0; i < read.faces.size(); ++i) {
        in.read_i16(read.faces[i]);
        if (read.faces[i] < 0 || read.faces[i] >= vertexCount) {
            error = "The clickable area file " + sourceName + " has face index " + std::to_string(read.faces[i]) +
                    " at position " + std::to_string(i + 1) + ", outside its " + std::to_string(vertexCount) +
                    " vertices.";
            return false;
        }
    }
    area = std::move(read);
    return true;
}

std::string serializeDefaultArea(const ClickableArea& area)
{
    ByteWriter out;
    out.i32(static_cast<std::int32_t>(area.vertices.size() / 3));
    out.i32(static_cast<std::int32_t>(area.faces.size()));
    for (float v : area.vertices)
        out.f32(v);
    for (std::int16_t f : area.faces)
        out.i16(f);
    return out.take();
}

} // namespace mw
