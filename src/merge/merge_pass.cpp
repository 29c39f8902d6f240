#include "merge/merge_pass.h"

#include "merge/bone_slot.h"
#include "merge/list_edits.h"
#include "merge/merge_checks.h"
#include "merge/vertex_transfer.h"
#include "mesh/gmdc_to_obj.h"

#include <algorithm>

namespace mw {

namespace {

// The objects (1-based) a model of this name is meant for: those named exactly so, or,
// when there are none, those whose OBJ group name (as "Convert to OBJ" writes it) is it.
std::vector<int> objects_named(const GmdcFile& gmdc, const std::string& name)
{
    std::vector<int> exact, written;
    for (std::size_t i = 0; i < gmdc.objects.size(); ++i) {
        if (gmdc.objects[i].name == name)
            exact.push_back(static_cast<int>(i) + 1);
        else if (obj_group_name(gmdc.objects[i].name) == name)
            written.push_back(static_cast<int>(i) + 1);
    }
    return exact.empty() ? written : exact;
}

std::string numbered_list(const std::vector<std::string>& labels)
{
    std::string out;
    for (const std::string& l : labels)
        out += (out.empty() ? "" : ", ") + l;
    return out;
}

// The object each model (1-based) goes into, 0 for none: the k-th model of a name into the
// k-th object of that name; models beyond the objects' number into the last of them, with
// a warning. Fewer models than objects of a name cannot say which is meant: refused.
bool match_models(const State& state, std::vector<int>& objectFor, std::vector<std::string>& warnings,
                  std::string& error)
{
    const GmdcFile& gmdc = state.gmdc;
    objectFor.assign(static_cast<std::size_t>(state.models.modelCount()) + 1, 0);
    std::vector<std::pair<std::vector<int>, std::vector<int>>> byObjects; // objects, their models
    for (int m = 1; m <= state.models.modelCount(); ++m) {
        std::vector<int> objects = objects_named(gmdc, state.models.models[static_cast<std::size_t>(m - 1)].name);
        if (objects.empty())
            continue;
        auto same = std::find_if(byObjects.begin(), byObjects.end(), [&](const auto& e) { return e.first == objects; });
        if (same == byObjects.end())
            byObjects.push_back({std::move(objects), {m}});
        else
            same->second.push_back(m);
    }
    for (const auto& [objects, models] : byObjects) {
        std::vector<std::string> modelNames, objectNames;
        for (int m : models)
            modelNames.push_back(model_label(state.models, m));
        for (int o : objects)
            objectNames.push_back(object_label(gmdc, o));
        if (models.size() < objects.size()) {
            error = "Cannot merge " + numbered_list(modelNames) + ": " + std::to_string(objects.size()) +
                    " objects share the name (" + numbered_list(objectNames) +
                    ") and the names do not say which model goes into which. Nothing was changed.";
            return false;
        }
        for (std::size_t k = 0; k < models.size(); ++k)
            objectFor[static_cast<std::size_t>(models[k])] = objects[std::min(k, objects.size() - 1)];
        if (models.size() > objects.size())
            warnings.push_back(
                "More models than objects of that name: " +
                numbered_list(std::vector<std::string>(modelNames.begin() + static_cast<std::ptrdiff_t>(objects.size()),
                                                       modelNames.end())) +
                " were appended to " + objectNames.back() + ".");
    }
    return true;
}

// One list that merge_object appends to.
struct Append {
    int kind; // 0 vertices, 1 normals, 2 texture coordinates
    DataList* list;
    const char* role;
    std::int64_t before; // element count before the append (after dropping padding)
    std::int64_t added;
};

} // namespace

bool replace_object_lists(State& state, int model, int vertexList, int normalList, int uvList,
                          const ImportOptions& options, std::string& error)
{
    const MeshModel* m = checked_model(state.models, model, error);
    if (!m)
        return false;
    GmdcFile& gmdc = state.gmdc;
    DataList* vertices = nullptr;
    DataList* normals = nullptr;
    DataList* uvs = nullptr;
    if (options.importVertices && !(vertices = checked_float_list(gmdc, vertexList, "vertex list", error)))
        return false;
    if (options.importNormals && !(normals = checked_float_list(gmdc, normalList, "normal list", error)))
        return false;
    if (options.importUVs && !(uvs = checked_float_list(gmdc, uvList, "texture-coordinate list", error)))
        return false;

    const auto count = static_cast<std::size_t>(m->vertexCount());
    if (vertices) {
        clear_list(*vertices);
        append_vec3(*vertices, m->vertices, count);
    }
    if (normals) {
        clear_list(*normals);
        append_vec3(*normals, m->normals, count);
    }
    if (uvs) {
        clear_list(*uvs);
        append_vec2(*uvs, m->uvs, count);
    }
    return true;
}

bool replace_object_faces(State& state, int model, int object, std::string& error)
{
    const MeshModel* m = checked_model(state.models, model, error);
    GmdcObject* o = m ? checked_object(state.gmdc, object, error) : nullptr;
    if (!o)
        return false;
    state.gmdc.objectGroups[static_cast<std::size_t>(o->objectGroupIndex)].vertexCount = m->vertexCount();
    o->faces.clear();
    append_model_faces(o->faces, *m, 0);
    return true;
}

bool merge_object(State& state, int model, int objectGroup, int object, const ImportOptions& options,
                  std::string& error)
{
    GmdcFile& gmdc = state.gmdc;
    const MeshModel* m = checked_model(state.models, model, error);
    if (!m || !checked_group(gmdc, objectGroup, error) || !checked_object(gmdc, object, error))
        return false;

    std::vector<Append> appends;
    const bool ticked[3] = {options.importVertices, options.importNormals, options.importUVs};
    const char* roles[3] = {"vertex list", "normal list", "texture-coordinate list"};
    const int widths[3] = {3, 3, 2};
    const std::int64_t added[3] = {m->vertexCount(), m->normalCount(), m->uvCount()};
    for (int k = 0; k < 3; ++k) {
        if (!ticked[k])
            continue;
        const int number = list_number_at(gmdc, objectGroup, k + 1, roles[k], error);
        DataList* list = number ? checked_float_list(gmdc, number, roles[k], error) : nullptr;
        if (!list || !check_float_layout(*list, widths[k], roles[k], error))
            return false;
        appends.push_back({k, list, roles[k], list->recordCount, added[k]});
    }

    // A GMDC saved before carries padding vertices that its other lists lack.
    std::int32_t padding = 0;
    if (options.importVertices) {
        const DataList* normals = data_list_at(gmdc, objectGroup, 2);
        const DataList* uvs = data_list_at(gmdc, objectGroup, 3);
        if (normals && uvs && normals->recordCount == uvs->recordCount)
            padding = padding_vertices(*appends.front().list, normals->recordCount);
        appends.front().before -= padding;
    }
    for (const Append& a : appends) {
        if (a.before != appends.front().before) {
            error = "the lists of object group " + std::to_string(objectGroup) + " differ in length (the " +
                    appends.front().role + " holds " + std::to_string(appends.front().before) + " elements, the " +
                    a.role + " " + std::to_string(a.before) + "), so appended faces could not fit both";
            return false;
        }
        if (a.before + a.added > kMaxVertices) {
            error = "the " + std::string(a.role) + " of object group " + std::to_string(objectGroup) + " would hold " +
                    std::to_string(a.before + a.added) + " elements, more than 32767";
            return false;
        }
    }
    const std::int64_t offset = appends.empty() ? 0 : appends.back().before;
    if (!check_shifted_faces(*m, offset, error))
        return false;

    if (padding > 0)
        drop_vertices(*appends.front().list, padding);
    for (const Append& a : appends) {
        const auto count = static_cast<std::size_t>(a.added);
        if (a.kind == 0)
            append_vec3(*a.list, m->vertices, count);
        else if (a.kind == 1)
            append_vec3(*a.list, m->normals, count);
        else
            append_vec2(*a.list, m->uvs, count);
    }
    if (options.importVertices)
        gmdc.objectGroups[static_cast<std::size_t>(objectGroup - 1)].vertexCount = appends.front().list->recordCount;
    return merge_model_faces_2_Gmdc(state, model, object, static_cast<int>(offset), error);
}

bool merge_model_faces_2_Gmdc(State& state, int model, int object, int offset, std::string& error)
{
    const MeshModel* m = checked_model(state.models, model, error);
    GmdcObject* o = m ? checked_object(state.gmdc, object, error) : nullptr;
    if (!o)
        return false;
    if (offset < 0) {
        error = "the vertex offset " + std::to_string(offset) + " is negative";
        return false;
    }
    if (!check_shifted_faces(*m, offset, error))
        return false;
    append_model_faces(o->faces, *m, offset);
    return true;
}

bool merge_models_into_gmdc(State& state, const ImportOptions& options, MessageSink& sink)
{
    GmdcFile backup = state.gmdc;
    GmdcFile& gmdc = state.gmdc;
    std::vector<bool> replaced(gmdc.objectGroups.size(), false);
    KeptFaces kept(gmdc);
    std::vector<std::string> unmatched;
    std::vector<int> objectFor;
    std::vector<std::string> matchWarnings;
    std::string matchError;
    if (!match_models(state, objectFor, matchWarnings, matchError)) {
        sink.error(matchError);
        return false;
    }
    const bool anyList = options.importVertices || options.importNormals || options.importUVs;

    for (int m = 1; m <= state.models.modelCount(); ++m) {
        const int object = objectFor[static_cast<std::size_t>(m)];
        if (object == 0) {
            unmatched.push_back(model_label(state.models, m));
            continue;
        }
        std::string error;
        bool ok = false;
        if (const GmdcObject* o = checked_object(gmdc, object, error)) {
            const int k = o->objectGroupIndex;
            if (replaced[static_cast<std::size_t>(k)]) {
                ok = merge_object(state, m, k + 1, object, options, error);
            } else {
                const int v = options.importVertices ? list_number_at(gmdc, k + 1, 1, "vertex list", error) : 0;
                const int n = options.importNormals ? list_number_at(gmdc, k + 1, 2, "normal list", error) : 0;
                const int t = options.importUVs ? list_number_at(gmdc, k + 1, 3, "texture-coordinate list", error) : 0;
                ok = (!options.importVertices || v) && (!options.importNormals || n) && (!options.importUVs || t);
                if (ok) {
                    replaced[static_cast<std::size_t>(k)] = true;
                    if (anyList)
                        kept.lists_replaced(gmdc, k + 1, m, object, options.importPolygons);
                    ok = replace_object_lists(state, m, v, n, t, options, error) &&
                         (!options.importPolygons || replace_object_faces(state, m, object, error));
                }
            }
        }
        if (!ok) {
            const std::string what = model_label(state.models, m) + " into " + object_label(gmdc, object);
            state.gmdc = std::move(backup);
            sink.error("Cannot merge " + what + ": " + error + ". Nothing was changed.");
            return false;
        }
    }

    std::vector<std::string> warnings;
    std::string error;
    int model = 0, object = 0;
    if (!kept.check(gmdc, state.models, warnings, error, model, object)) {
        const std::string what = model_label(state.models, model) + " into " + object_label(gmdc, object);
        state.gmdc = std::move(backup);
        sink.error("Cannot merge " + what + ": " + error + ". Nothing was changed.");
        return false;
    }
    for (const std::string& w : matchWarnings)
        sink.warning(w);
    for (const std::string& w : warnings)
        sink.warning(w);
    follow_new_vertices(backup, gmdc, options.keepLists, sink);
    if (!unmatched.empty()) {
        std::string names;
        for (const std::string& u : unmatched)
            names += (names.empty() ? "" : ", ") + u;
        sink.warning("These models match no object by name and were left out: " + names + ".");
    }
    return true;
}

} // namespace mw
