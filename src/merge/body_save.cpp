#include "merge/body_save.h"

#include "gmdc/gmdc_check.h"
#include "gmdc/gmdc_writer.h"

#include <algorithm>
#include <cstdio>

namespace mw {

namespace {

constexpr int kBodyListCount = 15;
constexpr int kFirstBodyList = 10;

bool left_out(std::uint32_t identity)
{
    return identity == kIdentityMorphTargetIndices || identity == kIdentityMorphVertexDeltas ||
           identity == kIdentityMorphNormalDeltas || identity == kIdentityMorphVertexMap ||
           identity == kIdentityBumpNormals;
}

std::string hex32(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

} // namespace

bool check_body_mesh_layout(const GmdcFile& gmdc, std::string& error)
{
    std::vector<int> renumbered(gmdc.dataLists.size(), -1);
    int kept = 0;
    for (std::size_t i = 0; i < gmdc.dataLists.size(); ++i)
        if (!left_out(gmdc.dataLists[i].identity))
            renumbered[i] = kept++;
    if (kept != kBodyListCount) {
        error = "without its morph and bump-map lists the GMDC holds " + std::to_string(kept) +
                " data lists, but a body mesh holds 15";
        return false;
    }

    // The five lists every object group will point at, by their numbers after the removal.
    const std::uint32_t roles[4] = {kIdentityPositions, kIdentityNormals, kIdentityTexCoords, kIdentityBoneAssignments};
    const char* roleNames[5] = {"vertex positions", "normals", "texture coordinates", "bone assignments",
                                "bone weights"};
    for (std::size_t i = 0; i < gmdc.dataLists.size(); ++i) {
        const int position = renumbered[i] - kFirstBodyList;
        if (position < 0)
            continue;
        const DataList& list = gmdc.dataLists[i];
        const bool fits = position < 4 ? list.identity == roles[position] : !list.holdsLongValues();
        if (!fits) {
            error = "data list " + std::to_string(i + 1) + " (identity " + hex32(list.identity) + ") would be list " +
                    std::to_string(renumbered[i]) + " of the body mesh, which must hold " + roleNames[position];
            return false;
        }
    }

    for (std::size_t g = 0; g < gmdc.objectGroups.size(); ++g) {
        std::vector<int> uses;
        for (const std::int16_t index : gmdc.objectGroups[g].dataListIndices) {
            if (index < 0 || index >= static_cast<int>(gmdc.dataLists.size())) {
                error = "object group " + std::to_string(g + 1) + " names data list index " + std::to_string(index) +
                        ", which does not exist";
                return false;
            }
            if (renumbered[static_cast<std::size_t>(index)] >= 0)
                uses.push_back(renumbered[static_cast<std::size_t>(index)]);
        }
        if (uses != std::vector<int>{10, 11, 12, 13, 14}) {
            std::string list;
            for (const int u : uses)
                list += (list.empty() ? "" : ", ") + std::to_string(u);
            error = "object group " + std::to_string(g + 1) + " would use data lists " +
                    (list.empty() ? std::string("none") : list) + " after the removal, not 10 to 14";
            return false;
        }
    }
    return true;
}

bool save_body_gmdc(State& state, const std::string& path, MessageSink& sink, const GmdcBytesSaver& save)
{
    std::string error;
    if (!check_body_mesh_layout(state.gmdc, error)) {
        sink.error("Cannot save " + path + " as a body mesh: " + error + ". Nothing was written.");
        return false;
    }
    const bool morphs = std::any_of(state.gmdc.dataLists.begin(), state.gmdc.dataLists.end(), [](const DataList& d) {
        return left_out(d.identity) && d.identity != kIdentityBumpNormals && d.recordCount > 0;
    });
    std::string names;
    for (const std::string& n : morph_names(state.gmdc))
        names += (names.empty() ? "\"" : ", \"") + n + "\"";
    if (morphs && !names.empty())
        sink.warning("The body-mesh layout keeps no morph lists: " + path + " drops the morphs " + names + ".");
    GmdcWriteOptions options;
    options.bodyMesh = true;
    return writeGmdc(state.gmdc, path, sink, options, save);
}

} // namespace mw
