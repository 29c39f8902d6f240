// What must hold for any input to the text primitives (lines, tokens, numbers). Shared by
// the fuzz target and the regression tests: each check returns "" when all is well and
// otherwise says what broke.
#pragma once

#include "mesh/fast_tokens.h"
#include "mesh/numbers.h"
#include "mesh/text_source.h"
#include "mesh/tokens.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace mw::fuzz {

namespace detail {

inline bool inside(std::string_view part, std::string_view whole)
{
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// The lines LineReader gives `text` handed out as one block; false when it refuses the
// text (empty, or in UTF-16).
inline bool read_lines(std::string_view text, std::vector<std::string>& lines)
{
    StringSource source("fuzz input", text);
    LineReader reader(source);
    NullSink sink;
    if (!reader.start(sink))
        return false;
    for (std::string_view line; reader.next(line);)
        lines.emplace_back(line); // a line is valid until the next call only
    return true;
}

inline std::string check_lines(std::string_view whole, std::vector<std::string>& lines)
{
    const bool utf16 = whole.starts_with("\xFF\xFE") || whole.starts_with("\xFE\xFF");
    const std::string_view text = whole.starts_with("\xEF\xBB\xBF") ? whole.substr(3) : whole;
    if (!read_lines(whole, lines))
        return text.empty() || utf16 ? "" : "a text was refused";
    if (utf16)
        return "a UTF-16 text was read";
    if (lines.empty() || !lines.back().empty())
        return "the last entry is not the empty one";

    std::size_t ends = 0;
    std::string content;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
                ++ends;
        } else {
            content += text[i];
        }
    }
    const bool unterminated = !text.empty() && text.back() != '\n' && text.back() != '\r';
    if (lines.size() != ends + (unterminated ? 1 : 0) + 1)
        return "wrong number of lines";
    std::string joined;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return "a line keeps a line end";
        joined += line;
    }
    if (joined != content)
        return "the lines lose or add characters";
    return "";
}

inline std::string check_tokens(std::string_view line, char delimiter)
{
    const char separator = delimiter == 0 ? ' ' : delimiter;
    const std::size_t at = find_separator(line, delimiter);
    if (at > line.size() || (at > 0 && line[at - 1] != separator && line[at - 1] != '\t'))
        return "find_separator points at no separator";
    const std::string_view skipped = skip_separators(line, delimiter);
    if (!inside(skipped, line) || skipped.size() > line.size())
        return "skip_separators points outside the line";

    TokenCursor cursor(line, delimiter);
    // Token numbers past the last token give "" from both; a few more than the line can
    // hold keeps the quadratic get_token loop small.
    const int limit = static_cast<int>(std::min<std::size_t>(line.size() + 2, 64));
    for (int n = 1; n <= limit; ++n) {
        const std::string_view fromCursor = cursor.next();
        const std::string_view direct = get_token(line, n, delimiter);
        if (fromCursor != direct)
            return "TokenCursor and get_token disagree at token " + std::to_string(n);
        if (!inside(direct, line))
            return "a token points outside its line";
        if (direct.find(separator) != std::string_view::npos || direct.find('\t') != std::string_view::npos)
            return "a token holds a separator";
    }
    return "";
}

// The OBJ reader's inlined tokens and number parse must agree with the general ones.
inline std::string check_fast_tokens(std::string_view line)
{
    FastTokens fast(line);
    TokenCursor cursor(line);
    for (int n = 1; n <= 64; ++n) {
        const std::string_view a = fast.next();
        const std::string_view b = cursor.next();
        if (a != b)
            return "FastTokens and TokenCursor disagree at token " + std::to_string(n);
        const double x = parse_number_fast(a);
        const double y = parse_number(a);
        if (std::memcmp(&x, &y, sizeof x) != 0 && !(std::isnan(x) && std::isnan(y)))
            return "parse_number_fast and parse_number disagree on \"" + std::string(a) + "\"";
        if (a.empty() && b.empty() && n > static_cast<int>(line.size()) + 1)
            break;
    }
    return "";
}

inline std::string check_number(double value)
{
    std::int16_t i16 = 0;
    if (to_int16(value, i16) && !(std::fabs(value - i16) <= 0.5))
        return "to_int16 is more than a half away";
    float f32 = 0;
    if (to_float32(value, f32) && !std::isfinite(f32))
        return "to_float32 gave a non-finite float";
    if (std::isfinite(value) && to_float32(value, f32) == false && std::fabs(value) < FLT_MAX)
        return "to_float32 refused a float in range";
    float fast = 0;
    const bool fastOk = to_float32_fast(value, fast);
    if (fastOk != to_float32(value, f32) || (fastOk && std::memcmp(&fast, &f32, sizeof fast) != 0))
        return "to_float32_fast and to_float32 disagree";

    format_number_item(value);
    const std::string general = format_general(value);
    if (std::isfinite(value)) {
        if (general.size() > 14)
            return "format_general wrote more than 7 significant digits: " + general;
        const double back = parse_number(general);
        // Seven significant digits: within half a unit of the seventh. Tiny magnitudes
        // read back as subnormal doubles, which hold fewer digits.
        const double tolerance = std::fabs(value) * 5.000001e-7 + 1e-300;
        if (!(std::fabs(back - value) <= tolerance))
            return "format_general does not read back: " + general;
        for (int decimals : {2, 6, 8}) {
            if (std::fabs(value) > 1e300)
                break;
            const std::string fixed = format_fixed(value, decimals);
            if (fixed.find_first_not_of("-0123456789.") != std::string::npos)
                return "format_fixed wrote something else than digits: " + fixed;
            const std::size_t dot = fixed.find('.');
            if (dot == std::string::npos || fixed.size() - dot - 1 != static_cast<std::size_t>(decimals))
                return "format_fixed wrote the wrong number of decimals: " + fixed;
            const double fixedBack = parse_number(fixed);
            const double fixedTolerance = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 1e-15;
            if (!(std::fabs(fixedBack - value) <= fixedTolerance))
                return "format_fixed does not read back: " + fixed;
        }
    }
    return "";
}

inline std::string check_float_shortest(float value)
{
    if (!std::isfinite(value))
        return "";
    const std::string text = format_float_shortest(value);
    if (text.find(',') != std::string::npos)
        return "format_float_shortest wrote a comma: " + text;
    float back = 0;
    if (!to_float32(parse_number(text), back))
        return "format_float_shortest gave a number out of range: " + text;
    if (std::memcmp(&back, &value, sizeof value) != 0)
        return "format_float_shortest does not read back to the same float: " + text;
    return "";
}

} // namespace detail

// The first byte chooses the token delimiter (0 stands for the space); the rest is text.
// Raw float bits taken from the text also go through the shortest-float round trip.
inline std::string check_text_primitives(std::string_view data)
{
    if (data.empty())
        return "";
    const char delimiter = data[0];
    const std::string_view text = data.substr(1);
    std::vector<std::string> lines;
    if (std::string problem = detail::check_lines(text, lines); !problem.empty())
        return problem;

    std::size_t checkedLines = 0;
    std::string problem;
    for (std::string_view line : lines) {
        if (!problem.empty() || ++checkedLines > 64)
            break;
        problem = detail::check_tokens(line, delimiter);
        if (problem.empty())
            problem = detail::check_fast_tokens(line);
        TokenCursor cursor(line, delimiter);
        for (int n = 0; n < 16 && problem.empty(); ++n) {
            const std::string_view token = cursor.next();
            const double value = parse_number(token);
            problem = detail::check_number(value);
            if (problem.empty())
                problem =
                    detail::check_float_shortest(static_cast<float>(std::fmax(-FLT_MAX, std::fmin(FLT_MAX, value))));
        }
    }
    if (!problem.empty())
        return problem;

    for (std::size_t i = 0; i + 4 <= text.size() && i < 64; i += 4) {
        float raw;
        std::memcpy(&raw, text.data() + i, sizeof raw);
        if (std::string p = detail::check_float_shortest(raw); !p.empty())
            return p;
        if (std::string p = detail::check_number(raw); !p.empty())
            return p;
    }
    return "";
}

} // namespace mw::fuzz
