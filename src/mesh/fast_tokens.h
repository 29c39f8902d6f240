// The inner loop of the OBJ reader: tokens and plain numbers of a line, inlined. Cuts a
// line exactly as TokenCursor with the default delimiter does (space and tab separate,
// runs count as one, a comma ending a token that another one follows is dropped) and
// gives exactly the values parse_number gives; the common cases just take no detour.
#pragma once

#include "mesh/numbers.h"

#include <cstdint>
#include <string_view>

namespace mw {

// `text` without its leading spaces and tabs (skip_separators with the default delimiter).
inline std::string_view skip_blanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return text.substr(i);
}

class FastTokens {
  public:
    explicit FastTokens(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    std::string_view next()
    {
        if (done_)
            return {};
        const char* start = p_;
        while (p_ < end_ && *p_ != ' ' && *p_ != '\t')
            ++p_;
        if (p_ == end_) {
            done_ = true;
            return {start, static_cast<std::size_t>(p_ - start)};
        }
        const char* tokenEnd = p_;
        if (tokenEnd > start && tokenEnd[-1] == ',')
            --tokenEnd;
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t'))
            ++p_;
        return {start, static_cast<std::size_t>(tokenEnd - start)};
    }

  private:
    const char* p_;
    const char* end_;
    bool done_ = false;
};

// parse_number(token), taking a short road for "[-]digits[.digits]" with at most 15
// digits: such a mantissa and a power of ten up to 10^22 are exact doubles, so one
// division gives the correctly rounded value, the same one the full parse finds.
inline double parse_number_fast(std::string_view token)
{
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = token.data();
    const char* end = p + token.size();
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    while (p < end && static_cast<unsigned>(*p - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++digits;
        ++p;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && static_cast<unsigned>(*p - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++digits;
            ++decimals;
            ++p;
        }
    }
    if (p != end || digits == 0 || digits > 15)
        return parse_number(token);
    double value = static_cast<double>(mantissa);
    if (decimals > 0)
        value /= kPowers[decimals];
    return negative ? -value : value;
}

// to_float32 for values well inside the float range, the rest through to_float32.
inline bool to_float32_fast(double value, float& out)
{
    if (value > -3.4e38 && value < 3.4e38) {
        out = static_cast<float>(value);
        return true;
    }
    return to_float32(value, out);
}

} // namespace mw
