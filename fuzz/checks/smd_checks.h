// What must hold for any text read as an SMD file, with either setting of the "3ds studio
// SMD file" option: a refusal says why and leaves the model set as it was; a file that
// reads gives one model of whole triangles whose per-vertex lists agree and are finite.
#pragma once

#include "mesh/smd_reader.h"
#include "state/state.h"

#include <cmath>
#include <string>
#include <string_view>

namespace mw::fuzz {

inline std::string check_smd_model(const MeshModel& m)
{
    const std::size_t n = m.vertices.size();
    if (n > 32767)
        return "more than 32767 vertices";
    if (m.normals.size() != n || m.uvs.size() != n || m.bone1.size() != n)
        return "per-vertex lists of different lengths";
    if (m.boneMode != 1 && m.boneMode != 2)
        return "boneMode is neither 1 nor 2";
    if (m.boneMode == 2 && (m.boneLinkCount.size() != n || m.bone2.size() != n || m.bone3.size() != n ||
                            m.weight1.size() != n || m.weight2.size() != n || m.weight3.size() != n))
        return "link lists of another length than the vertices";
    for (const MeshFace& f : m.faces)
        for (std::int32_t v : {f.vertex1, f.vertex2, f.vertex3})
            if (v < 1 || v > static_cast<std::int32_t>(n))
                return "a face names no vertex";
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3f& p = m.vertices[i];
        const Vec3f& q = m.normals[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) || !std::isfinite(q.x) ||
            !std::isfinite(q.y) || !std::isfinite(q.z) || !std::isfinite(m.uvs[i].u) || !std::isfinite(m.uvs[i].v))
            return "a vertex that is not a finite number";
        if (m.boneMode == 2 && (m.boneLinkCount[i] < 0 || m.boneLinkCount[i] > 3 || !std::isfinite(m.weight1[i]) ||
                                !std::isfinite(m.weight2[i]) || !std::isfinite(m.weight3[i])))
            return "a vertex with a link count outside 0..3 or a weight that is not a number";
    }
    return "";
}

inline std::string check_smd(std::string_view data)
{
    for (bool studio : {false, true}) {
        State state;
        state.models.models.resize(1);
        state.models.models[0].name = "kept";
        RecordingSink sink;
        SmdReadOptions options;
        options.studio3dsSmd = studio;
        StringSource source("input.smd", data);
        if (!read_smd(state, source, sink, options)) {
            if (sink.empty())
                return "read_smd refused the file without a message";
            if (state.models.modelCount() != 1 || state.models.models[0].name != "kept")
                return "a refused file changed the model set";
            continue;
        }
        if (state.models.modelCount() != 1 || state.models.modelSource != 2)
            return "a successful read gave other than one model from an SMD";
        if (std::string problem = check_smd_model(state.models.models[0]); !problem.empty())
            return problem;
    }
    return "";
}

} // namespace mw::fuzz
