#include "gmdc/gmdc_check.h"

#include <algorithm>
#include <cmath>

namespace mw {

namespace {

class Checker {
  public:
    explicit Checker(const GmdcFile& gmdc) : g_(gmdc) {}

    std::vector<CheckFinding> run()
    {
        for (std::size_t k = 0; k < g_.dataLists.size(); ++k)
            values(k);
        for (std::size_t k = 0; k < g_.objectGroups.size(); ++k)
            group(k);
        for (std::size_t k = 0; k < g_.objects.size(); ++k)
            object(k);
        mesh("P4 bounding mesh", g_.boundingVertices, g_.boundingFaces);
        for (std::size_t k = 0; k < g_.p5Entries.size(); ++k)
            mesh("P5 sec #" + std::to_string(k + 1), g_.p5Entries[k].vertices, g_.p5Entries[k].faces);
        for (std::size_t k = 0; k < g_.transforms.size(); ++k) {
            const Transform& t = g_.transforms[k];
            if (!std::all_of(t.rotation, t.rotation + 4, is_finite) ||
                !std::all_of(t.location, t.location + 3, is_finite))
                fault("P4 transform #" + std::to_string(k + 1), "holds a value that is not a finite number");
        }
        return std::move(findings_);
    }

  private:
    static bool is_finite(float v) { return std::isfinite(v); }

    void fault(std::string where, std::string text) { findings_.push_back({true, std::move(where), std::move(text)}); }
    void warn(std::string where, std::string text) { findings_.push_back({false, std::move(where), std::move(text)}); }

    std::string list_label(std::size_t number) const
    {
        const std::string name = identity_short_name(g_.dataLists[number].identity);
        return "Datalist #" + std::to_string(number + 1) + (name.empty() ? "" : " (" + name + ")");
    }

    void values(std::size_t k)
    {
        const DataList& d = g_.dataLists[k];
        if (d.recordCount == 0)
            return;
        const auto bad = std::find_if_not(d.floatValues.begin(), d.floatValues.end(), is_finite);
        if (bad != d.floatValues.end())
            fault(list_label(k),
                  "value " + std::to_string(bad - d.floatValues.begin() + 1) + " is not a finite number");
        if (d.identity == kIdentityBoneWeights &&
            std::any_of(d.floatValues.begin(), d.floatValues.end(), [](float w) { return w < 0.0f || w > 1.0f; }))
            warn(list_label(k), "holds bone weights outside 0..1");
    }

    void group(std::size_t k)
    {
        const ObjectGroup& o = g_.objectGroups[k];
        const std::string where = "object group #" + std::to_string(k + 1);
        std::vector<std::size_t> dense;
        for (std::int16_t n : o.dataListIndices) {
            if (n < 0 || static_cast<std::size_t>(n) >= g_.dataLists.size()) {
                fault(where, "names data list " + std::to_string(n) + ", but the file has " +
                                 std::to_string(g_.dataLists.size()) + " (numbered from 0)");
                continue;
            }
            const auto number = static_cast<std::size_t>(n);
            const DataList& d = g_.dataLists[number];
            if (d.recordCount == 0 || std::find(dense.begin(), dense.end(), number) != dense.end())
                continue;
            const std::string at = where + ", " + list_label(number);
            if (d.recordCount < o.vertexCount)
                fault(at, "holds " + std::to_string(d.recordCount) + " records, fewer than the group's " +
                              std::to_string(o.vertexCount) + " vertices");
            if (!d.items.empty()) {
                const auto far = std::find_if(d.items.begin(), d.items.end(),
                                              [&](std::int16_t v) { return v < 0 || v >= o.vertexCount; });
                if (far != d.items.end())
                    fault(at, "item " + std::to_string(far - d.items.begin() + 1) + " names vertex " +
                                  std::to_string(*far) + ", beyond the group's " + std::to_string(o.vertexCount) +
                                  " vertices");
                if (d.valueCount() % d.items.size() != 0)
                    fault(at, "holds " + std::to_string(d.valueCount()) + " values, not one record for each of its " +
                                  std::to_string(d.items.size()) + " items");
            }
            dense.push_back(number);
        }
        counts_agree(where, dense);
    }

    // A save pads the first group's positions with all-zero vertices the other lists lack.
    std::int32_t zero_tail(const DataList& d, std::int32_t down) const
    {
        if (d.identity != kIdentityPositions || d.holdsLongValues() || d.recordCount <= down ||
            d.floatValues.size() != 3 * static_cast<std::size_t>(d.recordCount))
            return d.recordCount;
        const auto first = d.floatValues.begin() + 3 * static_cast<std::ptrdiff_t>(down);
        return std::all_of(first, d.floatValues.end(), [](float v) { return v == 0.0f; }) ? down : d.recordCount;
    }

    void counts_agree(const std::string& where, const std::vector<std::size_t>& lists)
    {
        std::int32_t least = 0;
        for (std::size_t n : lists)
            least = least == 0 ? g_.dataLists[n].recordCount : std::min(least, g_.dataLists[n].recordCount);
        std::string counts;
        bool differ = false;
        for (std::size_t n : lists) {
            const DataList& d = g_.dataLists[n];
            differ = differ || zero_tail(d, least) != least;
            counts += (counts.empty() ? "" : ", ") + list_label(n) + " " + std::to_string(d.recordCount);
        }
        if (differ)
            warn(where, "its per-vertex lists hold different numbers of records (" + counts +
                            "), the sign of an edit that left them out of step");
    }

    void object(std::size_t k)
    {
        const GmdcObject& o = g_.objects[k];
        const std::string where = "object #" + std::to_string(k + 1) + " \"" + o.name + "\"";
        if (o.faces.size() % 3 != 0)
            fault(where, "has " + std::to_string(o.faces.size()) + " face indices, not a multiple of 3");
        for (std::size_t b = 0; b < o.blockB.size(); ++b)
            if (o.blockB[b] < 0 || static_cast<std::size_t>(o.blockB[b]) >= g_.transforms.size()) {
                fault(where, "bone-list entry " + std::to_string(b + 1) + " names bone " + std::to_string(o.blockB[b]) +
                                 ", but P4 holds " + std::to_string(g_.transforms.size()) + " transforms");
                break;
            }
        if (o.objectGroupIndex < 0 || static_cast<std::size_t>(o.objectGroupIndex) >= g_.objectGroups.size()) {
            fault(where, "uses object group " + std::to_string(o.objectGroupIndex) + ", but the file has " +
                             std::to_string(g_.objectGroups.size()) + " (numbered from 0)");
            return;
        }
        const ObjectGroup& group = g_.objectGroups[static_cast<std::size_t>(o.objectGroupIndex)];
        const auto far = std::find_if(o.faces.begin(), o.faces.end(),
                                      [&](std::int16_t v) { return v < 0 || v >= group.vertexCount; });
        if (far != o.faces.end()) {
            fault(where, "face index " + std::to_string(*far) + " at position " +
                             std::to_string(far - o.faces.begin() + 1) + " lies outside its group's " +
                             std::to_string(group.vertexCount) + " vertices");
            return;
        }
        bones(where, o, group);
    }

    // The bone-assignment bytes of the vertices the object's faces use.
    void bones(const std::string& where, const GmdcObject& o, const ObjectGroup& group)
    {
        for (std::int16_t n : group.dataListIndices) {
            if (n < 0 || static_cast<std::size_t>(n) >= g_.dataLists.size())
                continue;
            const DataList& d = g_.dataLists[static_cast<std::size_t>(n)];
            if (d.identity != kIdentityBoneAssignments || d.recordCount == 0 || !d.items.empty())
                continue;
            for (std::int16_t v : o.faces) {
                if (static_cast<std::size_t>(v) >= d.longValues.size())
                    continue;
                const auto value = static_cast<std::uint32_t>(d.longValues[static_cast<std::size_t>(v)]);
                for (int byte = 0; byte < 3; ++byte) {
                    const std::uint32_t slot = (value >> (8 * byte)) & 0xFF;
                    if (slot != 0xFF && slot >= o.blockB.size()) {
                        fault(where, "vertex " + std::to_string(v) + " hangs on bone-list slot " +
                                         std::to_string(slot) + " (" + list_label(static_cast<std::size_t>(n)) +
                                         "), but its bone list holds " + std::to_string(o.blockB.size()) + " bones");
                        return;
                    }
                }
            }
        }
    }

    void mesh(const std::string& where, const std::vector<float>& vertices, const std::vector<std::int16_t>& faces)
    {
        if (!std::all_of(vertices.begin(), vertices.end(), is_finite))
            fault(where, "holds a vertex that is not a finite number");
        const auto count = static_cast<std::int64_t>(vertices.size() / 3);
        const auto far = std::find_if(faces.begin(), faces.end(), [&](std::int16_t v) { return v < 0 || v >= count; });
        if (far != faces.end())
            fault(where,
                  "face index " + std::to_string(*far) + " lies outside its " + std::to_string(count) + " vertices");
    }

    const GmdcFile& g_;
    std::vector<CheckFinding> findings_;
};

} // namespace

std::vector<CheckFinding> check_gmdc(const GmdcFile& gmdc)
{
    return Checker(gmdc).run();
}

std::vector<std::string> morph_names(const GmdcFile& gmdc)
{
    std::vector<std::string> names;
    for (const NamePair& p : gmdc.namePairs)
        if (!p.first.empty() || !p.second.empty())
            names.push_back(p.first + "/" + p.second);
    return names;
}

std::string finding_text(const CheckFinding& finding)
{
    return std::string(finding.fault ? "fault: " : "warning: ") + finding.where + ": " + finding.text;
}

} // namespace mw
