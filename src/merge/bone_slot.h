// The bone-assignment slot: where, among an object group's data-list indices, its
// bone-assignment list (identity 0xFBD70111) sits. The bone-weight list is the entry
// right after it.
#pragma once

#include "state/state.h"

#include <cstdint>

namespace mw {

// Searches positions 1..min(activeCount, number of indices) of object group
// `objectGroup` (1-based) for the first data list of identity 0xFBD70111 and stores its
// position in state.boneAssignmentSlot; 4 when there is none (or no such group).
// Entries that name no data list are skipped. Returns the slot.
std::int16_t find_bone_list(State& state, int objectGroup);

// The data list at 1-based position `position` of object group `objectGroup` (1-based),
// or nullptr when the group, the position or the data list does not exist.
DataList* data_list_at(GmdcFile& gmdc, int objectGroup, int position);
const DataList* data_list_at(const GmdcFile& gmdc, int objectGroup, int position);

} // namespace mw
