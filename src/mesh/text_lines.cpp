#include "mesh/text_lines.h"

#include "mesh/text_source.h"

namespace mw {

std::vector<std::string_view> split_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for_each_line(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

bool load_text_file(const std::string& fileName, std::string& bytes, MessageSink& sink)
{
    FileSource source(fileName);
    if (!source.open(sink))
        return false;
    std::string data;
    for (std::string_view block; !(block = source.next_block()).empty();)
        data.append(block);
    if (source.failed(sink))
        return false;
    if (data.empty()) {
        // The same refusal the readers give an empty file.
        LineReader lines(source);
        lines.start(sink);
        return false;
    }
    bytes.swap(data);
    return true;
}

bool load_text_lines(const std::string& fileName, TextLines& out, MessageSink& sink)
{
    std::string bytes;
    if (!load_text_file(fileName, bytes, sink))
        return false;
    out.bytes.swap(bytes);
    out.lines = split_lines(out.bytes);
    return true;
}

} // namespace mw
