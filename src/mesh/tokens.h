// Cutting a line into tokens. Separators are the caller's delimiter (0 means the space)
// and the tab; runs of separators count as one, a line that starts with a separator has
// an empty first token, and a comma ending any token but the last is dropped.
#pragma once

#include <string_view>

namespace mw {

// 1-based position of the first separator (the delimiter or a tab) in `text`, 0 if none.
std::size_t find_separator(std::string_view text, char delimiter = 0);

// `text` without its leading run of delimiter, space and tab characters.
std::string_view skip_separators(std::string_view text, char delimiter = 0);

// Token number `n` (1-based, n >= 1) of `text`; the empty string when there is none.
// The result points into `text`.
std::string_view get_token(std::string_view text, int n, char delimiter = 0);

// Yields the tokens of a text one after the other, the same ones get_token gives for
// n = 1, 2, 3, ..., without starting over for each.
class TokenCursor {
  public:
    explicit TokenCursor(std::string_view text, char delimiter = 0) : rest_(text), delimiter_(delimiter) {}

    std::string_view next();

  private:
    std::string_view rest_;
    char delimiter_;
    bool done_ = false;
};

} // namespace mw
