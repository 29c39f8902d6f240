// What every merging operation checks before it changes anything (the list edits they
// then make are in list_edits.h). A merge either fits completely or changes nothing, so each operation
// looks up and checks every list, model and object it will touch first; only then does it
// write. Errors are sentence fragments ("object group 3 does not exist") that the
// commands wrap into a message naming the model and the object.
#pragma once

#include "merge/merge_options.h"
#include "state/state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mw {

// Vertex indices, counts and face entries are signed 16-bit in the file's faces and in
// the game, so no object group can address more than this many vertices.
inline constexpr std::int64_t kMaxVertices = 32767;

// "model 2 "arm"" and "object 1 "body"" for messages (1-based numbers).
std::string model_label(const ModelSet& models, int model);
std::string object_label(const GmdcFile& gmdc, int object);

// Model `model` (1-based) when it can be merged: it exists, holds at most 32767 vertices,
// at least as many normals and texture coordinates as vertices, and every face names
// vertices 1..vertexCount. Otherwise nullptr and `error`.
const MeshModel* checked_model(const ModelSet& models, int model, std::string& error);

// Object `object` (1-based) when it exists and its objectGroupIndex names an object
// group; otherwise nullptr and `error`.
GmdcObject* checked_object(GmdcFile& gmdc, int object, std::string& error);

// Object group `group` (1-based) or nullptr and `error`.
ObjectGroup* checked_group(GmdcFile& gmdc, int group, std::string& error);

// Data list number `number` (1-based) when it exists and is a float list (not a
// bone-assignment list); `role` names it in the error ("vertex list").
DataList* checked_float_list(GmdcFile& gmdc, int number, const char* role, std::string& error);

// The 1-based data-list number at `position` of object group `group` (both 1-based), or 0
// with `error` when the group has no such entry or the entry names no data list.
int list_number_at(const GmdcFile& gmdc, int group, int position, const char* role, std::string& error);

// The bone-assignment list numbered `number` (1-based): it must exist and have identity
// 0xFBD70111 with one value per record.
DataList* checked_bone_assignment_list(GmdcFile& gmdc, int number, std::string& error);

// True when `list` holds exactly `width` floats per record.
bool has_float_layout(const DataList& list, int width);
bool check_float_layout(const DataList& list, int width, const char* role, std::string& error);

// Floats per element of a bone-weight list: the list keeps its own layout, blockFormat 2
// (or 12 bytes a record) three, blockFormat 0 (or 4 bytes a record) one. Only an empty
// list of another format takes the options' layout: three with "Body Editing" or
// "3 weights", else one. Returns 0 with `error` for any other layout.
int weight_layout(const DataList& weights, const ViewOptions& options, std::string& error);

// Whether the model's faces, as 0-based indices shifted by `offset`, stay within 32767
// (append_model_faces, in list_edits.h, then appends them).
bool check_shifted_faces(const MeshModel& model, std::int64_t offset, std::string& error);

// The number of vertices the faces of object group `group` (1-based) can address: the
// smallest record count of its vertex, normal and texture-coordinate lists.
std::int64_t group_element_count(const GmdcFile& gmdc, int group);

// Objects that share an object group with a replaced one keep their faces, which then
// point at another model's vertices or past the group's new end. A command records each
// replace here and checks the objects at its end.
class KeptFaces {
  public:
    explicit KeptFaces(const GmdcFile& gmdc);

    // The lists of object group `group` (1-based) were replaced by `model`, on behalf of
    // `object` (1-based), whose faces were replaced too unless "Import Polygons" kept them.
    void lists_replaced(const GmdcFile& gmdc, int group, int model, int object, bool facesReplaced);

    // Fails when an object that kept its faces only because it shares a replaced group
    // refers past the group's vertices (`error` names the object, `model` and `object`
    // the replace responsible). Otherwise adds a warning for every object whose old faces
    // were kept and for an object kept by "Import Polygons" whose faces reach too far.
    bool check(const GmdcFile& gmdc, const ModelSet& models, std::vector<std::string>& warnings, std::string& error,
               int& model, int& object) const;

  private:
    enum class Kind { Untouched, Fresh, Kept, KeptByOption };
    struct Entry {
        Kind kind = Kind::Untouched;
        std::size_t keptFaces = 0; // the old faces stay at the front; appends go behind
        int model = 0;             // the replace that left the faces behind
        int object = 0;
    };
    std::vector<Entry> entries_;
};

} // namespace mw
