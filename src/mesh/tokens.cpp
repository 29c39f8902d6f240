#include "mesh/tokens.h"

namespace mw {

namespace {

inline char effective(char delimiter)
{
    return delimiter == 0 ? ' ' : delimiter;
}

} // namespace

std::size_t find_separator(std::string_view text, char delimiter)
{
    const char d = effective(delimiter);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == d || text[i] == '\t')
            return i + 1;
    return 0;
}

std::string_view skip_separators(std::string_view text, char delimiter)
{
    const char d = effective(delimiter);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == d || text[i] == ' ' || text[i] == '\t'))
        ++i;
    return text.substr(i);
}

std::string_view TokenCursor::next()
{
    if (done_)
        return {};
    const std::size_t p = find_separator(rest_, delimiter_);
    if (p == 0) {
        done_ = true;
        return rest_;
    }
    std::string_view token = rest_.substr(0, p - 1);
    if (!token.empty() && token.back() == ',')
        token.remove_suffix(1);
    rest_ = skip_separators(rest_.substr(p - 1), delimiter_);
    return token;
}

std::string_view get_token(std::string_view text, int n, char delimiter)
{
    TokenCursor cursor(text, delimiter);
    std::string_view token;
    for (int i = 0; i < n; ++i)
        token = cursor.next();
    return token;
}

} // namespace mw
