#include "gmdc/gmdc_lookup.h"

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

std::int16_t bone_list_position(const GmdcFile& gmdc, int objectGroup)
{
    if (objectGroup < 1 || objectGroup > static_cast<int>(gmdc.objectGroups.size()))
        return 4;
    const ObjectGroup& group = gmdc.objectGroups[static_cast<std::size_t>(objectGroup - 1)];
    const auto last =
        std::min<std::int64_t>(group.activeCount, static_cast<std::int64_t>(group.dataListIndices.size()));
    for (int i = 1; i <= last; ++i) { // last <= the number of indices, so i fits an int
        const DataList* list = data_list_at(gmdc, objectGroup, i);
        if (list && list->identity == kIdentityBoneAssignments)
            return static_cast<std::int16_t>(i);
    }
    return 4;
}

} // namespace mw
