#include "mesh/text_lines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace mw {

std::vector<std::string_view> split_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for_each_line(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

namespace {

// The numbers and descriptions users of the program have always been shown.
void report_load_error(MessageSink& sink, int number, const std::string& description, const std::string& fileName)
{
    sink.error("Error #:  " + std::to_string(number) + " " + description + " (" + fileName + ")");
}

} // namespace

bool load_text_file(const std::string& fileName, std::string& bytes, MessageSink& sink)
{
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            report_load_error(sink, 53, "File not found", fileName);
        else if (err == EACCES || err == EPERM)
            report_load_error(sink, 75, std::string("Path/File access error: ") + std::strerror(err), fileName);
        else
            report_load_error(sink, 57, std::string("Device I/O error: ") + std::strerror(err), fileName);
        return false;
    }
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        report_load_error(sink, 75, "Path/File access error: it is a folder", fileName);
        return false;
    }
    std::string data;
    if (st.st_size > 0) {
        // One read for the whole file; the loop below takes whatever is left.
        data.resize(static_cast<std::size_t>(st.st_size));
        data.resize(std::fread(data.data(), 1, data.size(), f));
    }
    char buffer[1 << 16];
    std::size_t n;
    while (!std::ferror(f) && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) {
        report_load_error(sink, 57, std::string("Device I/O error: ") + std::strerror(err), fileName);
        return false;
    }
    if (data.empty()) {
        report_load_error(sink, 62, "Input past end of file: the file is empty", fileName);
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
