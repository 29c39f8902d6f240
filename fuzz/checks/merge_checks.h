// What must hold when imported models go into any GMDC that reads: each merging command
// either succeeds and leaves a record that still writes and reads back, or refuses with a
// message and leaves the record byte-identical. The first input byte chooses the command,
// its options and the kind of model; the rest is the GMDC file.
#pragma once

#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/merge_pass.h"
#include "merge/view_commands.h"
#include "state/state.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace mw::fuzz {

namespace detail {

// A small model of `vertices` corners in whole triangles; with `bones` an SMD model whose
// vertices hang on up to three of those bone numbers.
inline MeshModel fuzz_model(const std::string& name, int vertices, const std::vector<std::int16_t>& bones)
{
    MeshModel m;
    m.name = name;
    for (int i = 0; i < vertices; ++i) {
        const float f = static_cast<float>(i);
        m.vertices.push_back({f, f * 0.5f, -f});
        m.normals.push_back({0, 0, 1});
        m.uvs.push_back({f / 8, 1 - f / 8});
    }
    for (int i = 0; i + 2 < vertices; i += 3)
        m.faces.push_back({i + 1, i + 2, i + 3, 0, 0, 0, 0, 0, 0});
    if (!bones.empty()) {
        m.boneMode = 2;
        for (int i = 0; i < vertices; ++i) {
            const auto pick = [&](int k) { return bones[static_cast<std::size_t>(i + k) % bones.size()]; };
            m.boneLinkCount.push_back(3);
            m.bone1.push_back(pick(0));
            m.bone2.push_back(pick(1));
            m.bone3.push_back(pick(2));
            m.weight1.push_back(0.5f);
            m.weight2.push_back(0.25f);
            m.weight3.push_back(0.25f);
        }
    }
    return m;
}

} // namespace detail

inline std::string check_merge(std::string_view data)
{
    if (data.empty())
        return "";
    const auto flags = static_cast<unsigned char>(data[0]);
    State state;
    std::string error;
    if (!parseGmdc(data.substr(1), state.gmdc, error, "input") || state.gmdc.objects.empty())
        return "";
    std::string before;
    const bool writable = serializeGmdc(state.gmdc, before, error);

    const GmdcObject& target = state.gmdc.objects[flags % state.gmdc.objects.size()];
    const bool smd = (flags & 0x08) != 0;
    std::vector<std::int16_t> bones(target.blockB.begin(),
                                    target.blockB.begin() + std::min<std::size_t>(3, target.blockB.size()));
    if (smd && bones.empty())
        bones = {0};
    MeshModel model =
        detail::fuzz_model(target.name, (flags & 0x10) ? 6 : 3, smd ? bones : std::vector<std::int16_t>());
    model.targetObject = static_cast<std::int16_t>(1 + flags % state.gmdc.objects.size());
    model.subGroup = 1;
    state.models.models.push_back(model);
    state.models.modelSource = smd ? 2 : 1;
    state.models.objLoadOk = true;

    RecordingSink sink;
    bool done = false;
    switch ((flags >> 5) & 3) {
    case 0: {
        ImportOptions options;
        options.importNormals = (flags & 0x80) == 0;
        done = merge_models_into_gmdc(state, options, sink);
        break;
    }
    case 1:
    case 2: {
        ViewOptions options;
        options.bodyEditing = (flags & 0x80) != 0;
        options.threeWeights = (flags & 0x04) != 0;
        options.bumpMap = (flags & 0x02) != 0;
        options.usingXsiModTool = (flags & 0x01) != 0;
        done = ((flags >> 5) & 3) == 1 ? replace_models(state, options, sink) : add_models(state, options, sink);
        break;
    }
    default:
        done = apply_bump_map_patch(state, error);
        if (!done && error.empty())
            return "the bump-map patch refused without a message";
        break;
    }

    std::string after;
    if (!done) {
        if (((flags >> 5) & 3) != 3 && sink.empty())
            return "a merging command refused without a message";
        if (writable && (!serializeGmdc(state.gmdc, after, error) || after != before))
            return "a refused merging command changed the GMDC";
        return "";
    }
    if (serializeGmdc(state.gmdc, after, error)) {
        GmdcFile back;
        if (!parseGmdc(after, back, error, "merged"))
            return "the merged GMDC does not read back: " + error;
    }
    return "";
}

} // namespace mw::fuzz
