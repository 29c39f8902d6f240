#include "merge/list_edits.h"

#include "merge/merge_checks.h"

#include <algorithm>

namespace mw {

std::int32_t padding_vertices(const DataList& positions, std::int32_t otherCount)
{
    if (!has_float_layout(positions, 3) || otherCount < 0 || positions.recordCount <= otherCount)
        return 0;
    const auto from = positions.floatValues.begin() + 3 * static_cast<std::ptrdiff_t>(otherCount);
    if (!std::all_of(from, positions.floatValues.end(), [](float f) { return f == 0.0f; }))
        return 0;
    return positions.recordCount - otherCount;
}

void drop_vertices(DataList& positions, std::int32_t count)
{
    positions.recordCount -= count;
    positions.floatValues.resize(3 * static_cast<std::size_t>(positions.recordCount));
}

void append_vec3(DataList& list, const std::vector<Vec3f>& values, std::size_t count)
{
    list.floatValues.reserve(list.floatValues.size() + 3 * count);
    for (std::size_t i = 0; i < count; ++i) {
        list.floatValues.push_back(values[i].x);
        list.floatValues.push_back(values[i].y);
        list.floatValues.push_back(values[i].z);
    }
    list.recordCount += static_cast<std::int32_t>(count);
}

void append_vec2(DataList& list, const std::vector<Vec2f>& values, std::size_t count)
{
    list.floatValues.reserve(list.floatValues.size() + 2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        list.floatValues.push_back(values[i].u);
        list.floatValues.push_back(values[i].v);
    }
    list.recordCount += static_cast<std::int32_t>(count);
}

void clear_list(DataList& list)
{
    list.floatValues.clear();
    list.recordCount = 0;
}

std::int32_t single_bone_value(std::int32_t subGroup)
{
    return (subGroup - 1) - 256;
}

void append_model_faces(std::vector<std::int16_t>& faces, const MeshModel& model, std::int32_t offset)
{
    faces.reserve(faces.size() + 3 * model.faces.size());
    for (const MeshFace& f : model.faces)
        for (const std::int32_t vertex : {f.vertex1, f.vertex2, f.vertex3})
            faces.push_back(static_cast<std::int16_t>(vertex - 1 + offset));
}

} // namespace mw
