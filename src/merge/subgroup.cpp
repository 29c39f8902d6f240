#include "merge/subgroup.h"

#include "merge/bone_slot.h"
#include "merge/list_edits.h"
#include "merge/merge_checks.h"
#include "merge/merge_pass.h"

#include <algorithm>

namespace mw {

namespace {

// A group that names one data list twice would have it replaced or appended twice.
bool distinct_lists(std::initializer_list<const DataList*> lists, std::string& error)
{
    for (auto i = lists.begin(); i != lists.end(); ++i)
        if (std::find(i + 1, lists.end(), *i) != lists.end()) {
            error = "the object group names one data list for two roles";
            return false;
        }
    return true;
}

// Highest slot a bone-assignment byte can hold; 0xFF means "no bone".
constexpr int kMaxSlots = 255;

void append_weights(DataList& weights, int layout, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        weights.floatValues.push_back(1.0f);
        if (layout == 3) {
            weights.floatValues.push_back(0.0f);
            weights.floatValues.push_back(0.0f);
        }
    }
    weights.recordCount += static_cast<std::int32_t>(count);
}

void append_assignments(DataList& assignments, std::int32_t value, std::size_t count)
{
    assignments.longValues.insert(assignments.longValues.end(), count, value);
    assignments.recordCount += static_cast<std::int32_t>(count);
}

} // namespace

GmdcObject* checked_target(State& state, const MeshModel& model, std::string& error)
{
    if (model.targetObject == 0) {
        error = "the model has no target object";
        return nullptr;
    }
    GmdcObject* target = checked_object(state.gmdc, model.targetObject, error);
    if (!target)
        return nullptr;
    const int slots = std::min<int>(static_cast<int>(target->blockB.size()), kMaxSlots);
    if (model.subGroup < 1 || model.subGroup > slots) {
        error = "sub-group " + std::to_string(model.subGroup) + " is not a slot of the bone list of " +
                object_label(state.gmdc, model.targetObject) + " (slots 1 to " + std::to_string(slots) + ")";
        return nullptr;
    }
    return target;
}

bool replace_subgroup(State& state, int model, int vertexList, int normalList, int uvList, int boneAssignmentList,
                      int boneWeightList, const ViewOptions& options, std::string& error)
{
    GmdcFile& gmdc = state.gmdc;
    const MeshModel* m = checked_model(state.models, model, error);
    GmdcObject* target = m ? checked_target(state, *m, error) : nullptr;
    if (!target)
        return false;
    DataList* vertices = checked_float_list(gmdc, vertexList, "vertex list", error);
    DataList* normals = vertices ? checked_float_list(gmdc, normalList, "normal list", error) : nullptr;
    DataList* uvs = normals ? checked_float_list(gmdc, uvList, "texture-coordinate list", error) : nullptr;
    DataList* assignments = uvs ? checked_bone_assignment_list(gmdc, boneAssignmentList, error) : nullptr;
    DataList* weights = assignments ? checked_float_list(gmdc, boneWeightList, "bone-weight list", error) : nullptr;
    const int layout = weights ? weight_layout(*weights, options, error) : 0;
    if (layout == 0 || !distinct_lists({vertices, normals, uvs, assignments, weights}, error))
        return false;

    const auto count = static_cast<std::size_t>(m->vertexCount());
    clear_list(*vertices);
    append_vec3(*vertices, m->vertices, count);
    gmdc.objectGroups[static_cast<std::size_t>(target->objectGroupIndex)].vertexCount = m->vertexCount();
    clear_list(*normals);
    append_vec3(*normals, m->normals, count);
    clear_list(*uvs);
    append_vec2(*uvs, m->uvs, count);
    assignments->longValues.clear();
    assignments->recordCount = 0;
    append_assignments(*assignments, single_bone_value(m->subGroup), count);
    clear_list(*weights);
    append_weights(*weights, layout, count);
    return true;
}

bool append_subgroup(State& state, int model, int objectGroup, int object, const ViewOptions& options,
                     std::string& error)
{
    GmdcFile& gmdc = state.gmdc;
    const MeshModel* m = checked_model(state.models, model, error);
    GmdcObject* target = m ? checked_target(state, *m, error) : nullptr;
    if (!target || !checked_group(gmdc, objectGroup, error) || !checked_object(gmdc, object, error))
        return false;

    DataList* lists[3] = {};
    const char* roles[3] = {"vertex list", "normal list", "texture-coordinate list"};
    const int widths[3] = {3, 3, 2};
    for (int k = 0; k < 3; ++k) {
        const int number = list_number_at(gmdc, objectGroup, k + 1, roles[k], error);
        lists[k] = number ? checked_float_list(gmdc, number, roles[k], error) : nullptr;
        if (!lists[k] || !check_float_layout(*lists[k], widths[k], roles[k], error))
            return false;
    }

    const std::int16_t savedSlot = state.boneAssignmentSlot;
    const int slot = find_bone_list(state, objectGroup);
    const int boneGroup = options.bodyEditing ? objectGroup : target->objectGroupIndex + 1;
    const int a = list_number_at(gmdc, boneGroup, slot, "bone-assignment list", error);
    DataList* assignments = a ? checked_bone_assignment_list(gmdc, a, error) : nullptr;
    const int w = assignments ? list_number_at(gmdc, boneGroup, slot + 1, "bone-weight list", error) : 0;
    DataList* weights = w ? checked_float_list(gmdc, w, "bone-weight list", error) : nullptr;
    const int layout = weights ? weight_layout(*weights, options, error) : 0;
    if (layout == 0 || !distinct_lists({lists[0], lists[1], lists[2], assignments, weights}, error)) {
        state.boneAssignmentSlot = savedSlot;
        return false;
    }

    // A GMDC saved before carries padding vertices that its other lists lack.
    const std::int32_t padding =
        lists[1]->recordCount == lists[2]->recordCount ? padding_vertices(*lists[0], lists[1]->recordCount) : 0;
    const std::int64_t before = static_cast<std::int64_t>(lists[0]->recordCount) - padding;
    const DataList* all[5] = {lists[0], lists[1], lists[2], assignments, weights};
    const char* allRoles[5] = {roles[0], roles[1], roles[2], "bone-assignment list", "bone-weight list"};
    const std::int64_t added[5] = {m->vertexCount(), m->normalCount(), m->uvCount(), m->vertexCount(), m->uvCount()};
    for (int k = 0; k < 5; ++k) {
        const std::int64_t e = k == 0 ? before : all[k]->recordCount;
        std::string problem;
        if (e != before)
            problem = "the lists differ in length (the vertex list holds " + std::to_string(before) +
                      " elements, the " + allRoles[k] + " " + std::to_string(e) +
                      "), so appended faces could not fit them all";
        else if (e + added[k] > kMaxVertices)
            problem = "the " + std::string(allRoles[k]) + " would hold " + std::to_string(e + added[k]) +
                      " elements, more than 32767";
        if (!problem.empty()) {
            error = problem;
            state.boneAssignmentSlot = savedSlot;
            return false;
        }
    }
    const std::int64_t offset = weights->recordCount;
    if (!check_shifted_faces(*m, offset, error)) {
        state.boneAssignmentSlot = savedSlot;
        return false;
    }

    if (padding > 0)
        drop_vertices(*lists[0], padding);
    append_vec3(*lists[0], m->vertices, m->vertices.size());
    append_vec3(*lists[1], m->normals, m->normals.size());
    gmdc.objectGroups[static_cast<std::size_t>(objectGroup - 1)].vertexCount = lists[1]->recordCount;
    append_vec2(*lists[2], m->uvs, m->uvs.size());
    append_assignments(*assignments, single_bone_value(m->subGroup), m->vertices.size());
    append_weights(*weights, layout, m->uvs.size());
    return append_subgroup_faces(state, model, object, static_cast<int>(offset), error);
}

bool append_subgroup_faces(State& state, int model, int object, int offset, std::string& error)
{
    return merge_model_faces_2_Gmdc(state, model, object, offset, error);
}

} // namespace mw
