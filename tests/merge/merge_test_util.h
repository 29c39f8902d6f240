// Models, GMDC records and checks shared by the merging tests.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_writer.h"
#include "state/state.h"
#include "support/gmdc_builders.h"
#include "support/model_builders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mw::test {

// One vertex's links in a multi-bone SMD model (-1 = no bone).
struct Link {
    std::int16_t bone1;
    float weight1;
    std::int16_t bone2 = -1;
    float weight2 = 0.0f;
    std::int16_t bone3 = -1;
    float weight3 = 0.0f;
};

// SMD models: one vertex per bone entry, whole triangles ("object 1").
MeshModel make_one_bone_model(const std::vector<std::int16_t>& bones);
MeshModel make_multi_bone_model(const std::vector<Link>& links);

// Shaped like a real Sims 2 body mesh of 30 data lists: 1-10 lists no group uses,
// 11 positions, 12 normals, 13 texture coordinates, 14 bump-map normals, 15 morph vertex
// deltas, 16 bone assignments, 17 bone weights, 18-30 morph and bump-map lists. Object
// group 1 lists 14 of them, with the bone lists at positions 7 and 8 and the bump-map
// normals at position 6 like make_body_mesh; object "body" uses it.
GmdcFile make_body_mesh_30(std::int32_t vertices = 12, std::int32_t triangles = 6);

// `g` with one more object, named `name`, sharing object 1's object group and bone list
// but holding `faces`.
inline GmdcFile with_shared_object(GmdcFile g, const std::string& name, std::vector<std::int16_t> faces)
{
    GmdcObject extra = g.objects[0];
    extra.name = name;
    extra.faces = std::move(faces);
    g.objects.push_back(std::move(extra));
    return g;
}

// The GMDC as a file would hold it (no padding); the test fails on a writer refusal.
inline std::string bytes_of(const GmdcFile& g)
{
    std::string bytes, error;
    EXPECT_TRUE(serializeGmdc(g, bytes, error)) << error;
    return bytes;
}

// `a` followed by `b`.
inline std::vector<float> concat(std::vector<float> a, const std::vector<float>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bone-assignment values written as their unsigned bits.
inline std::vector<std::int32_t> values(std::initializer_list<std::uint32_t> bits)
{
    std::vector<std::int32_t> out;
    for (const std::uint32_t b : bits)
        out.push_back(static_cast<std::int32_t>(b));
    return out;
}

// `m` aimed at sub-group `subGroup` of object `object` (both 1-based), as the 3D view's
// "Replace" and "add model" take it.
inline MeshModel assigned(MeshModel m, std::int16_t object, std::int16_t subGroup)
{
    m.targetObject = object;
    m.subGroup = subGroup;
    return m;
}

// `command` (called with a sink) must refuse, leave the GMDC byte-identical, say why and say
// "Nothing was changed." (a merge that matched no model says "nothing was merged" instead).
template <typename Command> RecordingSink expect_refused(const State& s, Command command, const std::string& part)
{
    const std::string before = bytes_of(s.gmdc);
    RecordingSink sink;
    EXPECT_FALSE(command(sink)) << part;
    EXPECT_TRUE(bytes_of(s.gmdc) == before) << part;
    EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(part)) << sink.last();
    EXPECT_TRUE(sink.contains("Nothing was changed.") || part.starts_with("nothing was merged")) << sink.last();
    return sink;
}

inline State state_with(GmdcFile gmdc, std::vector<MeshModel> models, std::int16_t modelSource = 1)
{
    State s;
    s.gmdc = std::move(gmdc);
    s.models.models = std::move(models);
    s.models.modelSource = modelSource;
    return s;
}

} // namespace mw::test
