#include "merge/area_update.h"

#include <algorithm>
#include <vector>

namespace mw {

bool rebuild_area_from_objects(GmdcFile& gmdc, std::string& error)
{
    std::vector<std::int64_t> base(gmdc.objectGroups.size(), -1);
    std::vector<float> vertices;
    std::vector<std::int16_t> faces;
    for (std::size_t k = 0; k < gmdc.objects.size(); ++k) {
        const GmdcObject& o = gmdc.objects[k];
        const std::string label = "object " + std::to_string(k + 1) + " \"" + o.name + "\"";
        if (o.objectGroupIndex < 0 || static_cast<std::size_t>(o.objectGroupIndex) >= gmdc.objectGroups.size()) {
            error = label + " uses object group " + std::to_string(o.objectGroupIndex) + ", which does not exist";
            return false;
        }
        const auto g = static_cast<std::size_t>(o.objectGroupIndex);
        const ObjectGroup& group = gmdc.objectGroups[g];
        const auto count = static_cast<std::size_t>(std::max(group.vertexCount, 0));
        if (base[g] < 0) {
            const std::int16_t n = group.dataListIndices.empty() ? -1 : group.dataListIndices[0];
            const DataList* positions = n >= 0 && static_cast<std::size_t>(n) < gmdc.dataLists.size()
                                            ? &gmdc.dataLists[static_cast<std::size_t>(n)]
                                            : nullptr;
            if (!positions || positions->holdsLongValues() || positions->floatValues.size() < 3 * count) {
                error =
                    label + ": its object group holds fewer positions than its " + std::to_string(count) + " vertices";
                return false;
            }
            base[g] = static_cast<std::int64_t>(vertices.size() / 3);
            vertices.insert(vertices.end(), positions->floatValues.begin(),
                            positions->floatValues.begin() + static_cast<std::ptrdiff_t>(3 * count));
            if (vertices.size() / 3 > 32767) {
                error = "the area would hold " + std::to_string(vertices.size() / 3) + " vertices, more than 32767";
                return false;
            }
        }
        for (const std::int16_t f : o.faces) {
            if (f < 0 || static_cast<std::size_t>(f) >= count) {
                error = label + " has face index " + std::to_string(f) + " outside its group's " +
                        std::to_string(count) + " vertices";
                return false;
            }
            faces.push_back(static_cast<std::int16_t>(base[g] + f));
        }
        faces.resize(faces.size() - o.faces.size() % 3); // whole triangles only
    }
    gmdc.boundingVertices = std::move(vertices);
    gmdc.boundingFaces = std::move(faces);
    return true;
}

} // namespace mw
