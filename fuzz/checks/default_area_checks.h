// What must hold for any bytes given as "obj_pinfo.dat": a refusal says why; an area that
// reads has faces inside its vertices and writes back to the bytes it came from.
#pragma once

#include "wizard/default_area.h"

#include <string>
#include <string_view>

namespace mw::fuzz {

inline std::string check_default_area(std::string_view bytes)
{
    ClickableArea area;
    std::string error;
    if (!parseDefaultArea(bytes, area, error, "input"))
        return error.empty() ? "parseDefaultArea refused the bytes without a message" : "";
    if (area.vertices.size() % 3 != 0)
        return "the area holds a partial vertex";
    const auto vertexCount = static_cast<std::int64_t>(area.vertices.size() / 3);
    for (std::int16_t f : area.faces)
        if (f < 0 || f >= vertexCount)
            return "a face names no vertex of the area";
    const std::string written = serializeDefaultArea(area);
    if (bytes.substr(0, written.size()) != written)
        return "the area writes other bytes than it was read from";
    return "";
}

} // namespace mw::fuzz
