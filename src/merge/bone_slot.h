// The bone-assignment slot: where, among an object group's data-list indices, its
// bone-assignment list (identity 0xFBD70111) sits. The bone-weight list is the entry
// right after it.
#pragma once

#include "gmdc/gmdc_lookup.h"
#include "state/state.h"

#include <cstdint>

namespace mw {

// The position bone_list_position finds in object group `objectGroup` (1-based), stored
// in state.boneAssignmentSlot (4 when there is none). Returns the slot.
std::int16_t find_bone_list(State& state, int objectGroup);

} // namespace mw
