// "--update-area": the clickable area (P4's bounding mesh) rebuilt from the objects' own
// triangles, as the wizard's shape-based area is built, so that a moved, scaled or
// reshaped object is clickable where it now is.
#pragma once

#include "gmdc/gmdc_file.h"

#include <string>

namespace mw {

// Replaces the bounding mesh with the vertices of every object group that an object uses
// (its first vertexCount positions, each group once, in the order objects first use
// them) and every object's faces, shifted to the group's place in the new vertex list.
// Refused, with the record unchanged, when an object's group, positions or faces do not
// fit or the area would hold more than 32767 vertices.
bool rebuild_area_from_objects(GmdcFile& gmdc, std::string& error);

} // namespace mw
