// "Convert to OBJ": every object of a GMDC as one group of a Wavefront OBJ file, so the
// mesh can be edited elsewhere and merged back by name.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <string>

namespace mw {

// The name an object's group gets in the OBJ text, so that the importer reads it back as
// one name that leads the merge to this object: a name of printable ASCII without spaces,
// '#', '%' or '\' is written as it is; in any other name every such byte is written as
// '%' and two upper-case hex digits ("pole 01" -> "pole%2001"), and an empty name as "%".
std::string obj_group_name(const std::string& name);

// The OBJ text of every object of `gmdc`, in object order: "g NAME", then its object
// group's positions ("v", multiplied by scalePercent / 100), texture coordinates ("vt")
// and normals ("vn") (the name as obj_group_name writes it), each only when the group has that list (positions 1, 3 and
// 2 of its data-list indices), then its triangles ("f"). Each kind of line keeps its own running number across groups,
// since the lists of one group need not be equally long. Numbers are the shortest text that reads back to the same
// 32-bit float; "vt" carries (u, -v), because the OBJ reader stores (u, -v) of what it reads. Lines end with CR LF.
// Returns false, with `error` naming the object and the problem, for an object naming no
// object group, faces not in threes, a face index that is negative or beyond a list, or a
// value that is not a finite number (also after scaling).
bool gmdc_to_obj_text(const GmdcFile& gmdc, double scalePercent, std::string& out, std::string& error);

// Builds the text and saves it to `path` atomically; on failure reports to `sink` and
// leaves no file behind.
bool write_gmdc_as_obj(const GmdcFile& gmdc, const std::string& path, double scalePercent, MessageSink& sink);

} // namespace mw
