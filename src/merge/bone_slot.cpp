#include "merge/bone_slot.h"

#include <algorithm>

namespace mw {

const DataList* data_list_at(const GmdcFile& gmdc, int objectGroup, int position)
{
    if (objectGroup < 1 || objectGroup > static_cast<int>(gmdc.objectGroups.size()))
        return nullptr;
    const ObjectGroup& group = gmdc.objectGroups[static_cast<std::size_t>(objectGroup - 1)];
    if (position < 1 || position > static_cast<int>(group.dataListIndices.size()))
        return nullptr;
    const int list = group.dataListIndices[static_cast<std::size_t>(position - 1)];
    if (list < 0 || list >= static_cast<int>(gmdc.dataLists.size()))
        return nullptr;
    return &gmdc.dataLists[static_cast<std::size_t>(list)];
}

DataList* data_list_at(GmdcFile& gmdc, int objectGroup, int position)
{
    return const_cast<DataList*>(data_list_at(static_cast<const GmdcFile&>(gmdc), objectGroup, position));
}

std::int16_t find_bone_list(State& state, int objectGroup)
{
    std::int16_t slot = 4;
    if (objectGroup >= 1 && objectGroup <= static_cast<int>(state.gmdc.objectGroups.size())) {
        const ObjectGroup& group = state.gmdc.objectGroups[static_cast<std::size_t>(objectGroup - 1)];
        const auto last =
            std::min<std::int64_t>(group.activeCount, static_cast<std::int64_t>(group.dataListIndices.size()));
        for (int i = 1; i <= last; ++i) { // last <= the number of indices, so i fits an int
            const DataList* list = data_list_at(state.gmdc, objectGroup, i);
            if (list && list->identity == kIdentityBoneAssignments) {
                slot = static_cast<std::int16_t>(i);
                break;
            }
        }
    }
    state.boneAssignmentSlot = slot;
    return slot;
}

} // namespace mw
