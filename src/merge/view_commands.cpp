#include "merge/view_commands.h"

#include "merge/bone_mapping.h"
#include "merge/bone_slot.h"
#include "merge/list_edits.h"
#include "merge/merge_checks.h"
#include "merge/subgroup.h"
#include "merge/vertex_transfer.h"

#include <algorithm>

namespace mw {

namespace {

// Puts model m into target object t in place of its group's lists and t's faces.
// `assignmentList` receives the 1-based number of the group's bone-assignment list.
bool replace_into(State& state, int m, int t, const ViewOptions& options, KeptFaces& kept, int& assignmentList,
                  std::string& error)
{
    GmdcFile& gmdc = state.gmdc;
    const GmdcObject* o = checked_object(gmdc, t, error);
    if (!o)
        return false;
    const int g = o->objectGroupIndex + 1;
    const int slot = find_bone_list(state, g);
    const int v = list_number_at(gmdc, g, 1, "vertex list", error);
    const int n = v ? list_number_at(gmdc, g, 2, "normal list", error) : 0;
    const int uv = n ? list_number_at(gmdc, g, 3, "texture-coordinate list", error) : 0;
    const int a = uv ? list_number_at(gmdc, g, slot, "bone-assignment list", error) : 0;
    const bool bones = a && checked_bone_assignment_list(gmdc, a, error);
    const int w = bones ? list_number_at(gmdc, g, slot + 1, "bone-weight list", error) : 0;
    if (!w)
        return false;
    kept.lists_replaced(gmdc, g, m, t, true);
    if (!replace_subgroup(state, m, v, n, uv, a, w, options, error))
        return false;
    GmdcObject& target = gmdc.objects[static_cast<std::size_t>(t - 1)];
    target.faces.clear();
    append_model_faces(target.faces, state.models.models[static_cast<std::size_t>(m - 1)], 0);
    assignmentList = a;
    return true;
}

// Restores the record and reports a refusal of `verb` (model m into object t).
bool refuse(State& state, GmdcFile& backup, std::int16_t slot, MessageSink& sink, const std::string& verb, int m,
            const char* preposition, int t, const std::string& error)
{
    const std::string what = model_label(state.models, m) + preposition + object_label(state.gmdc, t);
    state.gmdc = std::move(backup);
    state.boneAssignmentSlot = slot;
    sink.error("Cannot " + verb + " " + what + ": " + error + ". Nothing was changed.");
    return false;
}

} // namespace

bool apply_bump_map_patch(State& state, std::string& error)
{
    GmdcFile& gmdc = state.gmdc;
    const int normals = list_number_at(gmdc, 1, 2, "normal list", error);
    const int bump = normals ? list_number_at(gmdc, 1, 6, "list at entry 6", error) : 0;
    if (!bump) {
        error = "the bump-map patch cannot be applied: " + error;
        return false;
    }
    // The patch must not touch the bone lists; the search's slot is not kept.
    const std::int16_t savedSlot = state.boneAssignmentSlot;
    const int slot = find_bone_list(state, 1);
    state.boneAssignmentSlot = savedSlot;
    const DataList* atSlot = data_list_at(gmdc, 1, slot);
    if (atSlot && atSlot->identity == kIdentityBoneAssignments && (slot == 6 || slot + 1 == 6)) {
        error = std::string("the bump-map patch would overwrite the bone-") + (slot == 6 ? "assignment" : "weight") +
                " list at entry 6 of object group 1";
        return false;
    }
    DataList* target = checked_float_list(gmdc, bump, "list at entry 6", error);
    if (!target) {
        error = "the bump-map patch cannot be applied: " + error;
        return false;
    }
    // recordCount is a free field of the file: the size comes from it only when the
    // normals really hold three floats per record (a damaged count would allocate gigabytes).
    const DataList& normalList = gmdc.dataLists[static_cast<std::size_t>(normals - 1)];
    if (!check_float_layout(normalList, 3, "normal list at entry 2", error)) {
        error = "the bump-map patch cannot be applied: " + error;
        return false;
    }
    const std::int32_t count = normalList.recordCount;
    target->floatValues.resize(3 * static_cast<std::size_t>(count));
    target->recordCount = count;
    return true;
}

bool replace_models(State& state, const ViewOptions& options, MessageSink& sink)
{
    GmdcFile backup = state.gmdc;
    const std::int16_t savedSlot = state.boneAssignmentSlot;
    GmdcFile& gmdc = state.gmdc;
    KeptFaces kept(gmdc);
    std::vector<bool> replaced(gmdc.objectGroups.size(), false);
    const bool obj = state.models.modelSource == 1;

    for (int m = 1; m <= state.models.modelCount(); ++m) {
        const int t = state.models.models[static_cast<std::size_t>(m - 1)].targetObject;
        if (t == 0)
            continue;
        std::string error;
        const GmdcObject* o = checked_object(gmdc, t, error);
        if (!o)
            return refuse(state, backup, savedSlot, sink, "replace", m, " into ", t, error);
        const int k = o->objectGroupIndex;
        int assignments = 0;
        bool tooManyBones = false;
        bool ok = false;
        if (obj && replaced[static_cast<std::size_t>(k)]) {
            ok = append_subgroup(state, m, k + 1, t, options, error);
        } else {
            ok = replace_into(state, m, t, options, kept, assignments, error);
            replaced[static_cast<std::size_t>(k)] = true;
            if (ok && !obj)
                ok = map_bone_assignments(state, m, assignments, t, options, error, tooManyBones);
        }
        if (ok && options.bumpMap && !options.bodyEditing)
            ok = apply_bump_map_patch(state, error);
        if (!ok) {
            if (tooManyBones)
                sink.error(kTooManyBonesMessage);
            return refuse(state, backup, savedSlot, sink, "replace", m, " into ", t, error);
        }
    }

    std::vector<std::string> warnings;
    std::string error;
    int m = 0, t = 0;
    if (!kept.check(gmdc, state.models, warnings, error, m, t))
        return refuse(state, backup, savedSlot, sink, "replace", m, " into ", t, error);
    for (const std::string& w : warnings)
        sink.warning(w);
    follow_new_vertices(backup, gmdc, options.keepLists, sink);
    return true;
}

bool add_models(State& state, const ViewOptions& options, MessageSink& sink)
{
    GmdcFile backup = state.gmdc;
    const std::int16_t savedSlot = state.boneAssignmentSlot;
    for (int m = 1; m <= state.models.modelCount(); ++m) {
        const int t = state.models.models[static_cast<std::size_t>(m - 1)].targetObject;
        if (t == 0)
            continue;
        std::string error;
        const GmdcObject* o = checked_object(state.gmdc, t, error);
        if (!o || !append_subgroup(state, m, o->objectGroupIndex + 1, t, options, error))
            return refuse(state, backup, savedSlot, sink, "add", m, " to ", t, error);
    }
    std::string error;
    if (options.bumpMap && !apply_bump_map_patch(state, error)) {
        state.gmdc = std::move(backup);
        state.boneAssignmentSlot = savedSlot;
        sink.error("Cannot add the models: " + error + ". Nothing was changed.");
        return false;
    }
    follow_new_vertices(backup, state.gmdc, options.keepLists, sink);
    return true;
}

} // namespace mw
