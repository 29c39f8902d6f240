#include "view/view_controls.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace mw {

float step_in(float viewDistance)
{
    viewDistance += kViewDistanceStep;
    return viewDistance > kViewDistanceNearest ? kViewDistanceNearest : viewDistance;
}

float step_out(float viewDistance)
{
    viewDistance -= kViewDistanceStep;
    return viewDistance < kViewDistanceFarthest ? kViewDistanceFarthest : viewDistance;
}

std::string subgroup_text(std::int32_t subGroup)
{
    return (subGroup >= 0 ? " " : "") + std::to_string(subGroup);
}

std::optional<std::int16_t> commit_number(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    // The longest prefix that reads as a number: sign, digits, ".", digits, exponent.
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return std::int16_t{0};
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == '+' || text[j] == '-')
            exponent += text[j++];
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                exponent += text[j++];
            number += exponent;
        }
    }
    const double value = std::nearbyint(std::strtod(number.c_str(), nullptr)); // half to even
    if (!(value >= -32768.0 && value <= 32767.0))
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace mw
