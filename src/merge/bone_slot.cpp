#include "merge/bone_slot.h"

namespace mw {

std::int16_t find_bone_list(State& state, int objectGroup)
{
    state.boneAssignmentSlot = bone_list_position(state.gmdc, objectGroup);
    return state.boneAssignmentSlot;
}

} // namespace mw
