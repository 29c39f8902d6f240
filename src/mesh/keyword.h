// Keywords of the text formats are compared without regard to letter case ("VN" is "vn").
#pragma once

#include <string_view>

namespace mw {

// True when `token` equals `lower` (given in lower case) in any letter case.
inline bool equals_lower(std::string_view token, std::string_view lower)
{
    if (token.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < token.size(); ++i) {
        char c = token[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != lower[i])
            return false;
    }
    return true;
}

} // namespace mw
