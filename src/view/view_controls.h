// The 3D view window's small rules, without Qt: the camera steps of "IN" and "OUT", the
// sub-group text boxes and the number "Commit" reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mw {

inline constexpr float kViewDistanceStep = 0.05f;
inline constexpr float kViewDistanceNearest = -0.5f;
inline constexpr float kViewDistanceFarthest = -7.5f;

// "IN": 0.05 nearer, never nearer than -0.5. "OUT": 0.05 farther, never beyond -7.5.
float step_in(float viewDistance);
float step_out(float viewDistance);

// "Sub-Group #:" shows a model's sub-group as a number with a leading space when it is
// not negative (" 3", "-2").
std::string subgroup_text(std::int32_t subGroup);

// The number "Commit" stores: leading blanks skipped, then a number with "." as the
// decimal separator, read up to the first character that cannot continue it, rounded
// half to even; "" and text without digits give 0. Empty when the value does not fit a
// signed 16-bit sub-group.
std::optional<std::int16_t> commit_number(const std::string& text);

} // namespace mw
