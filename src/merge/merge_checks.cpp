#include "merge/merge_checks.h"

#include "merge/bone_slot.h"

#include <algorithm>
#include <cstdio>

namespace mw {

namespace {

std::string hex32(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string corners_text(const MeshFace& f)
{
    return std::to_string(f.vertex1) + ", " + std::to_string(f.vertex2) + ", " + std::to_string(f.vertex3);
}

} // namespace

std::string model_label(const ModelSet& models, int model)
{
    if (model < 1 || model > models.modelCount())
        return "model " + std::to_string(model);
    return "model " + std::to_string(model) + " \"" + models.models[static_cast<std::size_t>(model - 1)].name + "\"";
}

std::string object_label(const GmdcFile& gmdc, int object)
{
    if (object < 1 || object > static_cast<int>(gmdc.objects.size()))
        return "object " + std::to_string(object);
    return "object " + std::to_string(object) + " \"" + gmdc.objects[static_cast<std::size_t>(object - 1)].name + "\"";
}

const MeshModel* checked_model(const ModelSet& models, int model, std::string& error)
{
    if (model < 1 || model > models.modelCount()) {
        error = "there is no model " + std::to_string(model);
        return nullptr;
    }
    const MeshModel& m = models.models[static_cast<std::size_t>(model - 1)];
    const std::int32_t v = m.vertexCount();
    if (v > kMaxVertices) {
        error = "the model has " + std::to_string(v) + " vertices, more than the 32767 an object group can address";
        return nullptr;
    }
    if (m.normalCount() < v || m.uvCount() < v) {
        error = "the model has " + std::to_string(v) + " vertices but only " + std::to_string(m.normalCount()) +
                " normals and " + std::to_string(m.uvCount()) + " texture coordinates (an incomplete read?)";
        return nullptr;
    }
    for (std::size_t i = 0; i < m.faces.size(); ++i) {
        const MeshFace& f = m.faces[i];
        for (const std::int32_t vertex : {f.vertex1, f.vertex2, f.vertex3}) {
            if (vertex < 1 || vertex > v) {
                error = "its face " + std::to_string(i + 1) + " names vertices " + corners_text(f) +
                        ", but the model has vertices 1 to " + std::to_string(v);
                return nullptr;
            }
        }
    }
    return &m;
}

ObjectGroup* checked_group(GmdcFile& gmdc, int group, std::string& error)
{
    if (group < 1 || group > static_cast<int>(gmdc.objectGroups.size())) {
        error = "object group " + std::to_string(group) + " does not exist (the GMDC has " +
                std::to_string(gmdc.objectGroups.size()) + ")";
        return nullptr;
    }
    return &gmdc.objectGroups[static_cast<std::size_t>(group - 1)];
}

GmdcObject* checked_object(GmdcFile& gmdc, int object, std::string& error)
{
    if (object < 1 || object > static_cast<int>(gmdc.objects.size())) {
        error = "object " + std::to_string(object) + " does not exist (the GMDC has " +
                std::to_string(gmdc.objects.size()) + ")";
        return nullptr;
    }
    GmdcObject& o = gmdc.objects[static_cast<std::size_t>(object - 1)];
    if (o.objectGroupIndex < 0 || o.objectGroupIndex >= static_cast<std::int64_t>(gmdc.objectGroups.size())) {
        error = object_label(gmdc, object) + " uses object group index " + std::to_string(o.objectGroupIndex) +
                ", which names no object group";
        return nullptr;
    }
    return &o;
}

DataList* checked_float_list(GmdcFile& gmdc, int number, const char* role, std::string& error)
{
    if (number < 1 || number > static_cast<int>(gmdc.dataLists.size())) {
        error = std::string("the ") + role + " (data list " + std::to_string(number) + ") does not exist";
        return nullptr;
    }
    DataList& list = gmdc.dataLists[static_cast<std::size_t>(number - 1)];
    if (list.holdsLongValues()) {
        error = std::string("the ") + role + " (data list " + std::to_string(number) + ") is a bone-assignment list";
        return nullptr;
    }
    return &list;
}

int list_number_at(const GmdcFile& gmdc, int group, int position, const char* role, std::string& error)
{
    if (group < 1 || group > static_cast<int>(gmdc.objectGroups.size())) {
        error = "object group " + std::to_string(group) + " does not exist";
        return 0;
    }
    const ObjectGroup& g = gmdc.objectGroups[static_cast<std::size_t>(group - 1)];
    if (position < 1 || position > static_cast<int>(g.dataListIndices.size())) {
        error = "object group " + std::to_string(group) + " has no " + role + " (it lists " +
                std::to_string(g.dataListIndices.size()) + " data lists, the " + role + " would be entry " +
                std::to_string(position) + ")";
        return 0;
    }
    const int index = g.dataListIndices[static_cast<std::size_t>(position - 1)];
    if (index < 0 || index >= static_cast<int>(gmdc.dataLists.size())) {
        error = "entry " + std::to_string(position) + " of object group " + std::to_string(group) + " (its " + role +
                ") names data list index " + std::to_string(index) + ", which does not exist";
        return 0;
    }
    return index + 1;
}

DataList* checked_bone_assignment_list(GmdcFile& gmdc, int number, std::string& error)
{
    if (number < 1 || number > static_cast<int>(gmdc.dataLists.size())) {
        error = "the bone-assignment list (data list " + std::to_string(number) + ") does not exist";
        return nullptr;
    }
    DataList& list = gmdc.dataLists[static_cast<std::size_t>(number - 1)];
    if (list.identity != kIdentityBoneAssignments) {
        error = "data list " + std::to_string(number) + ", where the bone assignments should be, has identity " +
                hex32(list.identity) + ", not 0xFBD70111 (the object group has no bone-assignment list)";
        return nullptr;
    }
    if (static_cast<std::int64_t>(list.longValues.size()) != list.recordCount) {
        error = "the bone-assignment list (data list " + std::to_string(number) + ") holds " +
                std::to_string(list.longValues.size()) + " values for " + std::to_string(list.recordCount) + " records";
        return nullptr;
    }
    return &list;
}

bool has_float_layout(const DataList& list, int width)
{
    return !list.holdsLongValues() && list.recordCount >= 0 &&
           static_cast<std::int64_t>(list.floatValues.size()) == static_cast<std::int64_t>(width) * list.recordCount;
}

bool check_float_layout(const DataList& list, int width, const char* role, std::string& error)
{
    if (has_float_layout(list, width))
        return true;
    error = std::string("the ") + role + " holds " + std::to_string(list.floatValues.size()) + " values for " +
            std::to_string(list.recordCount) + " records, not " + std::to_string(width) + " per record";
    return false;
}

int weight_layout(const DataList& weights, const ViewOptions& options, std::string& error)
{
    const bool empty = weights.recordCount == 0 && weights.floatValues.empty();
    int layout = 0;
    if (weights.holdsLongValues())
        layout = 0;
    else if (weights.blockFormat == 2)
        layout = has_float_layout(weights, 3) ? 3 : 0;
    else if (weights.blockFormat == 0)
        layout = has_float_layout(weights, 1) ? 1 : 0;
    else if (empty)
        layout = options.bodyEditing || options.threeWeights ? 3 : 1;
    else if (has_float_layout(weights, 3))
        layout = 3;
    else if (has_float_layout(weights, 1))
        layout = 1;
    if (layout == 0)
        error = "the bone-weight list (identity " + hex32(weights.identity) + ", blockFormat " +
                std::to_string(weights.blockFormat) + ") holds " + std::to_string(weights.valueCount()) +
                " values for " + std::to_string(weights.recordCount) +
                " records, neither one nor three floats per record as its format says";
    return layout;
}

bool check_shifted_faces(const MeshModel& model, std::int64_t offset, std::string& error)
{
    std::int64_t highest = 0;
    for (const MeshFace& f : model.faces)
        highest = std::max<std::int64_t>({highest, f.vertex1, f.vertex2, f.vertex3});
    if (!model.faces.empty() && highest - 1 + offset > kMaxVertices) {
        error = "its faces shifted by " + std::to_string(offset) + " would refer to vertex index " +
                std::to_string(highest - 1 + offset) + ", beyond the 16-bit limit of 32767";
        return false;
    }
    return true;
}

std::int64_t group_element_count(const GmdcFile& gmdc, int group)
{
    std::int64_t count = -1;
    for (int position = 1; position <= 3; ++position) {
        const DataList* list = data_list_at(gmdc, group, position);
        if (list && (count < 0 || list->recordCount < count))
            count = list->recordCount;
    }
    return std::max<std::int64_t>(count, 0);
}

KeptFaces::KeptFaces(const GmdcFile& gmdc) : entries_(gmdc.objects.size())
{
}

void KeptFaces::lists_replaced(const GmdcFile& gmdc, int group, int model, int object, bool facesReplaced)
{
    for (std::size_t i = 0; i < gmdc.objects.size() && i < entries_.size(); ++i) {
        if (gmdc.objects[i].objectGroupIndex != group - 1)
            continue;
        const bool target = static_cast<int>(i) == object - 1;
        entries_[i] = {target ? (facesReplaced ? Kind::Fresh : Kind::KeptByOption) : Kind::Kept,
                       gmdc.objects[i].faces.size(), model, object};
    }
}

bool KeptFaces::check(const GmdcFile& gmdc, const ModelSet& models, std::vector<std::string>& warnings,
                      std::string& error, int& model, int& object) const
{
    for (std::size_t i = 0; i < entries_.size() && i < gmdc.objects.size(); ++i) {
        const Entry& e = entries_[i];
        if (e.kind != Kind::Kept && e.kind != Kind::KeptByOption)
            continue;
        const GmdcObject& o = gmdc.objects[i];
        const std::size_t kept = std::min(e.keptFaces, o.faces.size());
        if (kept == 0)
            continue;
        const int group = o.objectGroupIndex + 1;
        const std::int64_t count = group_element_count(gmdc, group);
        const auto beyond = std::find_if(o.faces.begin(), o.faces.begin() + static_cast<std::ptrdiff_t>(kept),
                                         [count](std::int16_t f) { return f < 0 || f >= count; });
        const std::string who = object_label(gmdc, static_cast<int>(i) + 1);
        const std::string by = model_label(models, e.model);
        if (e.kind == Kind::KeptByOption) {
            if (beyond != o.faces.begin() + static_cast<std::ptrdiff_t>(kept))
                warnings.push_back(who +
                                   " keeps its old faces because \"Import Polygons\" is unticked; they refer to "
                                   "vertex index " +
                                   std::to_string(*beyond) + ", beyond the " + std::to_string(count) + " vertices " +
                                   by + " left in object group " + std::to_string(group) + ".");
            continue;
        }
        if (beyond != o.faces.begin() + static_cast<std::ptrdiff_t>(kept)) {
            error = who + " shares object group " + std::to_string(group) +
                    " and would keep old faces that refer to vertex index " + std::to_string(*beyond) +
                    ", beyond the " + std::to_string(count) + " vertices the group would hold";
            model = e.model;
            object = e.object;
            return false;
        }
        warnings.push_back(who + " shares object group " + std::to_string(group) + " with " +
                           object_label(gmdc, e.object) +
                           " and keeps its old faces, which now refer to the vertices of " + by + ".");
    }
    return true;
}

} // namespace mw
