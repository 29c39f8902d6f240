// Which triangles and points the 3D view draws: pure functions over the records, so
// the choices are tested without OpenGL and shared by both drawing paths.
#pragma once

#include "gmdc/gmdc_file.h"
#include "mesh/mesh_model.h"
#include "view/view_state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mw {

// The triangles of one GMDC object that the GMDC view draws.
struct GmdcPick {
    const DataList* positions = nullptr; // x y z per vertex; null when nothing can be drawn
    const DataList* normals = nullptr;   // x y z per vertex, or null
    std::vector<std::uint32_t> corners;  // 0-based vertex numbers, three per drawn triangle
    std::string whyEmpty;                // when no triangle is drawn: the reason, for users
};

// 1-based position of the bone-assignment list (identity 0xFBD70111) among the first
// activeCount data-list indices of object group `objectGroup` (1-based); 0 when none.
int bone_assignment_position(const GmdcFile& gmdc, int objectGroup);

// The triangles of object `objectNumber` (1-based) whose first corner belongs to
// sub-group `subgroup`: without "Body Editing" the vertex hangs on that one bone alone
// (its value is subgroup - 256), with it byte 0 of the value is the sub-group. With
// `allSubgroups` every face is drawn. A triangle with a corner outside the position list
// (or a first corner outside the bone-assignment list) is left out; an object whose group
// has no bone-assignment list draws nothing unless `allSubgroups` is set.
GmdcPick pick_gmdc_triangles(const GmdcFile& gmdc, int objectNumber, int subgroup, bool bodyEditing, bool allSubgroups);

// 0-based vertex numbers, three per triangle, of every face of `model` whose three
// corners name vertices of the model; faces naming vertices outside it are left out.
std::vector<std::uint32_t> model_corners(const MeshModel& model);

// Number of whole points of the test cloud the test view draws: test_point_bytes / 12
// rounded half to even, but never more than test_points holds.
std::size_t test_point_count(const ViewState& view);

// Reads a "Load" test cloud: n = the 32-bit value at byte offset 20, then round(n / 4)
// floats from offset 24. False with `error` (view unchanged) when the file is shorter
// than it claims or n is negative.
bool parse_test_cloud(const std::vector<unsigned char>& bytes, ViewState& view, std::string& error);

// Axis-aligned bounds of what a view shows.
struct Bounds {
    float min[3] = {0, 0, 0};
    float max[3] = {0, 0, 0};
    bool empty = true;
    void add(float x, float y, float z);
};

Bounds model_bounds(const MeshModel& model);
Bounds pick_bounds(const GmdcPick& pick);

// Places `bounds` in view: camera_distance far enough for the bounding sphere to fit the
// 45-degree field of a picture `aspect` (width / height) wide, centre on the bounds'
// middle. Empty bounds restore the fixed camera.
void fit_camera(const Bounds& bounds, ViewState& view, double aspect = 4.0 / 3.0);

} // namespace mw
