// What makes a GMDC unsound for the game or for other tools, found in one place: the
// reader takes the bytes as they are, this judges them. `meshwright-cli check` prints the
// findings, and every save reports them without refusing.
//
// Terms: a data list with recordCount 0 is unused and not checked. A list with items is
// an indexed list: its items name vertices of the group (below its vertexCount), its
// values hold one record per item, and its recordCount follows the vertexCount.
#pragma once

#include "gmdc/gmdc_file.h"

#include <string>
#include <vector>

namespace mw {

struct CheckFinding {
    bool fault = false; // a fault makes the file unsound; otherwise a warning
    std::string where;  // "object group #1, Datalist #5 (bone weights)"
    std::string text;   // "holds 1394 records, fewer than the group's 1400 vertices"
};

// Faults: a per-vertex list with fewer records than its group's vertexCount; an indexed
// list whose items reach past the vertices or whose values are not a record per item;
// face indices outside the group's vertices; face counts not a multiple of 3;
// bone-assignment bytes beyond the object's bone list; bone-list entries at or beyond the
// transform count; data-list or object-group numbers beyond their section; bounding-mesh
// or P5 faces beyond their vertices; values that are not finite numbers.
// Warnings: per-vertex lists of one group whose record counts disagree (beyond a save's
// trailing all-zero vertices); bone weights outside 0..1.
std::vector<CheckFinding> check_gmdc(const GmdcFile& gmdc);

// The morphs of the file as "first/second" name pairs: every name pair but the empty
// ones (the first pair, both names empty, is the base shape).
std::vector<std::string> morph_names(const GmdcFile& gmdc);

// "fault: WHERE: TEXT" or "warning: WHERE: TEXT".
std::string finding_text(const CheckFinding& finding);

} // namespace mw
