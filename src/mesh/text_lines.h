// Loading a text file as lines. CR LF, a lone CR and a lone LF each end one line, so
// files from any system read alike; after the last line comes one empty entry, as the
// readers have always seen it ("a", CR LF, "b", CR LF gives "a", "b", "").
#pragma once

#include "core/message_sink.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

// The lines point into `bytes`, so a TextLines is neither copied nor moved.
struct TextLines {
    TextLines() = default;
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    std::string bytes;                   // the whole file, as read
    std::vector<std::string_view> lines; // views into bytes, line ends removed

    std::size_t size() const { return lines.size(); }
    std::string_view operator[](std::size_t i) const { return lines[i]; }
};

// Splits `text` into lines as described above; the views point into `text`.
std::vector<std::string_view> split_lines(std::string_view text);

// Calls `f(line)` for every line of `text` in order, the final empty entry included,
// without building a list. Same lines as split_lines.
template <typename F> void for_each_line(std::string_view text, F&& f)
{
    const char* p = text.data();
    const char* end = p + text.size();
    // The next CR and the next LF, each found by memchr and kept until the walk passes
    // it, so a file with one kind of line end is not searched over and over for the other.
    auto find = [end](const char* from, char c) {
        if (from == end)
            return end;
        const void* hit = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    const char* nextCr = find(p, '\r');
    const char* nextLf = find(p, '\n');
    while (p < end) {
        if (nextCr < p)
            nextCr = find(p, '\r');
        if (nextLf < p)
            nextLf = find(p, '\n');
        const char* lineEnd = nextCr < nextLf ? nextCr : nextLf;
        f(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        p = lineEnd;
        if (p < end) {
            if (*p == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
            ++p;
        }
    }
    f(std::string_view());
}

// Loads the file into `out`. A missing, unreadable or empty file is refused: the message
// "Error #: " + number + " " + description goes to `sink`, `out` keeps its previous
// contents and the result is false.
bool load_text_lines(const std::string& fileName, TextLines& out, MessageSink& sink);

// The same without splitting: the whole file in `bytes`, refused alike.
bool load_text_file(const std::string& fileName, std::string& bytes, MessageSink& sink);

} // namespace mw
