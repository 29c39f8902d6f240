// Lookups in a GMDC record shared by the parts that read or change it: a data list by its
// position in an object group, and the position of the group's bone-assignment list.
#pragma once

#include "gmdc/gmdc_file.h"

#include <cstdint>

namespace mw {

// The data list at 1-based position `position` of object group `objectGroup` (1-based),
// or nullptr when the group, the position or the data list does not exist.
DataList* data_list_at(GmdcFile& gmdc, int objectGroup, int position);
const DataList* data_list_at(const GmdcFile& gmdc, int objectGroup, int position);

// Searches positions 1..min(activeCount, number of indices) of object group
// `objectGroup` (1-based) for the first data list of identity 0xFBD70111 and returns its
// position; 4 when there is none (or no such group). Entries that name no data list are
// skipped.
std::int16_t bone_list_position(const GmdcFile& gmdc, int objectGroup);

} // namespace mw
