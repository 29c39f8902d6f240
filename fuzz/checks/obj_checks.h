// What must hold for any text read as an OBJ file (with the MTL file it names): a refusal
// says why; a file that reads gives models whose corners are complete, numbered
// 1..vertexCount with at most 32767 of them, and finite.
#pragma once

#include "mesh/obj_reader.h"
#include "state/state.h"

#include <cmath>
#include <string>
#include <string_view>

namespace mw::fuzz {

// Separates the OBJ text from the MTL text in one input; whatever name the OBJ text gives it.
inline constexpr std::string_view kMtlMarker = "\n#MTL\n";

inline bool finite(const Vec3f& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

inline std::string check_obj(std::string_view data)
{
    std::string_view objText = data;
    std::string_view mtlText;
    if (const std::size_t at = data.find(kMtlMarker); at != std::string_view::npos) {
        objText = data.substr(0, at);
        mtlText = data.substr(at + kMtlMarker.size());
    }
    StringSource obj("input.obj", objText);
    StringSource mtl("fuzz.mtl", mtlText);

    State state;
    RecordingSink sink;
    if (!read_obj(state, obj, sink, {}, &mtl)) {
        if (sink.empty())
            return "read_obj refused the file without a message";
        return "";
    }
    const ModelSet& set = state.models;
    if (!set.objLoadOk || set.modelSource != 1)
        return "a successful read did not set objLoadOk and modelSource";
    if (set.modelCount() > 32767)
        return "more than 32767 models";
    for (const MeshModel& m : set.models) {
        if (m.vertexCount() > 32767)
            return "a model with more than 32767 corners: " + m.name;
        if (m.normalCount() != m.vertexCount() || m.uvCount() != m.vertexCount())
            return "a model whose corners are incomplete: " + m.name;
        for (const MeshFace& f : m.faces)
            for (std::int32_t v : {f.vertex1, f.vertex2, f.vertex3})
                if (v < 1 || v > m.vertexCount())
                    return "a face names no corner of its model: " + m.name;
        for (std::size_t i = 0; i < m.vertices.size(); ++i)
            if (!finite(m.vertices[i]) || !finite(m.normals[i]) || !std::isfinite(m.uvs[i].u) ||
                !std::isfinite(m.uvs[i].v))
                return "a corner that is not a finite number: " + m.name;
    }
    return "";
}

} // namespace mw::fuzz
