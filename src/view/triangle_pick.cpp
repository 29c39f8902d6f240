#include "view/triangle_pick.h"

#include "merge/bone_slot.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mw {

int bone_assignment_position(const GmdcFile& gmdc, int objectGroup)
{
    if (objectGroup < 1 || objectGroup > static_cast<int>(gmdc.objectGroups.size()))
        return 0;
    const ObjectGroup& group = gmdc.objectGroups[static_cast<std::size_t>(objectGroup - 1)];
    const auto last =
        std::min<std::int64_t>(group.activeCount, static_cast<std::int64_t>(group.dataListIndices.size()));
    for (int i = 1; i <= last; ++i) {
        const DataList* list = data_list_at(gmdc, objectGroup, i);
        if (list && list->identity == kIdentityBoneAssignments)
            return i;
    }
    return 0;
}

GmdcPick pick_gmdc_triangles(const GmdcFile& gmdc, int objectNumber, int subgroup, bool bodyEditing, bool allSubgroups)
{
    GmdcPick pick;
    if (objectNumber < 1 || objectNumber > static_cast<int>(gmdc.objects.size())) {
        pick.whyEmpty = "no GMDC object is selected";
        return pick;
    }
    const GmdcObject& object = gmdc.objects[static_cast<std::size_t>(objectNumber - 1)];
    const int group = object.objectGroupIndex + 1;
    pick.positions = data_list_at(gmdc, group, 1);
    if (!pick.positions || pick.positions->holdsLongValues()) {
        pick.positions = nullptr;
        pick.whyEmpty = "object \"" + object.name + "\" has no position list";
        return pick;
    }
    pick.normals = data_list_at(gmdc, group, 2);
    if (pick.normals && pick.normals->holdsLongValues())
        pick.normals = nullptr;
    const DataList* bones = nullptr;
    if (!allSubgroups) {
        bones = data_list_at(gmdc, group, bone_assignment_position(gmdc, group));
        if (!bones) {
            pick.whyEmpty = "object \"" + object.name + "\" has no bone assignments, so it has no sub-groups";
            return pick;
        }
    }
    const std::size_t vertexCount = pick.positions->floatValues.size() / 3;
    const std::int32_t single = subgroup - 256; // the vertex on that one bone, bytes 1-3 0xFF
    for (std::size_t f = 0; f + 2 < object.faces.size(); f += 3) {
        const std::int16_t* c = &object.faces[f];
        if (c[0] < 0 || c[1] < 0 || c[2] < 0 || static_cast<std::size_t>(c[0]) >= vertexCount ||
            static_cast<std::size_t>(c[1]) >= vertexCount || static_cast<std::size_t>(c[2]) >= vertexCount)
            continue;
        if (bones) {
            if (static_cast<std::size_t>(c[0]) >= bones->longValues.size())
                continue;
            const std::int32_t a = bones->longValues[static_cast<std::size_t>(c[0])];
            if (bodyEditing ? (a & 0xFF) != subgroup : a != single)
                continue;
        }
        for (int k = 0; k < 3; ++k)
            pick.corners.push_back(static_cast<std::uint32_t>(c[k]));
    }
    if (pick.corners.empty())
        pick.whyEmpty =
            "no triangle of object \"" + object.name + "\" belongs to sub-group " + std::to_string(subgroup + 1);
    return pick;
}

std::vector<std::uint32_t> model_corners(const MeshModel& model)
{
    std::vector<std::uint32_t> corners;
    corners.reserve(model.faces.size() * 3);
    const std::int32_t n = model.vertexCount();
    for (const MeshFace& face : model.faces) {
        if (face.vertex1 < 1 || face.vertex1 > n || face.vertex2 < 1 || face.vertex2 > n || face.vertex3 < 1 ||
            face.vertex3 > n)
            continue;
        corners.push_back(static_cast<std::uint32_t>(face.vertex1 - 1));
        corners.push_back(static_cast<std::uint32_t>(face.vertex2 - 1));
        corners.push_back(static_cast<std::uint32_t>(face.vertex3 - 1));
    }
    return corners;
}

std::size_t test_point_count(const ViewState& view)
{
    const double claimed = std::nearbyint(static_cast<double>(view.test_point_bytes) / 12.0);
    if (claimed < 1)
        return 0;
    return std::min(static_cast<std::size_t>(claimed), view.test_points.size() / 3);
}

bool parse_test_cloud(const std::vector<unsigned char>& bytes, ViewState& view, std::string& error)
{
    if (bytes.size() < 24) {
        error = "The file is too short to hold a point cloud (" + std::to_string(bytes.size()) + " bytes).";
        return false;
    }
    std::int32_t n = 0;
    std::memcpy(&n, bytes.data() + 20, 4); // little-endian hosts only, as the core
    const double floats = std::nearbyint(static_cast<double>(n) / 4.0);
    if (n < 0 || 24.0 + floats * 4.0 > static_cast<double>(bytes.size())) {
        error = "The file claims " + std::to_string(n) + " bytes of points but holds only " +
                std::to_string(bytes.size() - 24) + ".";
        return false;
    }
    view.test_points.assign(static_cast<std::size_t>(floats), 0.0f);
    if (!view.test_points.empty())
        std::memcpy(view.test_points.data(), bytes.data() + 24, view.test_points.size() * 4);
    view.test_point_bytes = n;
    return true;
}

void Bounds::add(float x, float y, float z)
{
    const float p[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        min[i] = empty ? p[i] : std::min(min[i], p[i]);
        max[i] = empty ? p[i] : std::max(max[i], p[i]);
    }
    empty = false;
}

Bounds model_bounds(const MeshModel& model)
{
    Bounds b;
    for (const Vec3f& v : model.vertices)
        b.add(v.x, v.y, v.z);
    return b;
}

Bounds pick_bounds(const GmdcPick& pick)
{
    Bounds b;
    for (std::uint32_t v : pick.corners) {
        const float* p = &pick.positions->floatValues[3 * static_cast<std::size_t>(v)];
        b.add(p[0], p[1], p[2]);
    }
    return b;
}

void fit_camera(const Bounds& bounds, ViewState& view, double aspect)
{
    if (bounds.empty) {
        view.camera_distance = kFixedCameraDistance;
        view.center_x = view.center_y = view.center_z = 0;
        return;
    }
    float c[3], r2 = 0;
    for (int i = 0; i < 3; ++i) {
        c[i] = (bounds.min[i] + bounds.max[i]) / 2;
        const float h = (bounds.max[i] - bounds.min[i]) / 2;
        r2 += h * h;
    }
    const double radius = std::max(std::sqrt(static_cast<double>(r2)), 0.01);
    // The sphere must fit the narrower half-angle: 22.5 degrees up and down, less across
    // a picture narrower than it is tall. A little margin.
    const double halfHeight = std::tan(22.5 * 3.14159265358979 / 180.0);
    const double halfAngle = std::atan(halfHeight * std::min(1.0, std::max(aspect, 0.05)));
    const double distance = 1.1 * radius / std::sin(halfAngle);
    view.camera_distance = static_cast<float>(-std::clamp(distance, 0.2, 90.0));
    view.center_x = c[0];
    view.center_y = c[1];
    view.center_z = c[2];
}

} // namespace mw
