// The default clickable area of a new object, "obj_pinfo.dat" beside the program: a large
// bounding box the game uses for picking the object when the user does not ask for an
// area shaped like the object itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

inline constexpr const char* kDefaultAreaFileName = "obj_pinfo.dat";

// A bounding mesh as the GMDC's P4 section stores it: x, y, z per vertex and 0-based
// vertex numbers, three per triangle.
struct ClickableArea {
    std::vector<float> vertices;
    std::vector<std::int16_t> faces;
};

// Parses the file's layout, little-endian: i32 vertex count N, i32 face-index count M,
// 3 x N f32 (x, y, z per vertex), M i16 face indices. Unlike the GMDC layout M is always
// present. Refuses a short file, a negative count and a face index outside 0..N-1, with
// `error` naming `sourceName` and the problem. Bytes after the faces are ignored.
bool parseDefaultArea(std::string_view bytes, ClickableArea& area, std::string& error, const std::string& sourceName);

// The same layout, for writing such a file.
std::string serializeDefaultArea(const ClickableArea& area);

} // namespace mw
