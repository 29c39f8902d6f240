// Checks on the files a command writes, made before anything is read or written: an
// output never overwrites one of the command's inputs, two outputs never name one file,
// and every target can be written.
#pragma once

#include <string>
#include <vector>

namespace mw::cli {

// True when `a` and `b` name the same file: the same file on disk (device and inode, or
// the file ID on Windows) when both exist, so another spelling or a link is caught, else
// the same absolute path.
bool same_file(const std::string& a, const std::string& b);

// Stops with a usage error when `out` is the same file as one of `inputs`.
void refuse_output_over_input(const std::string& out, const std::vector<std::string>& inputs);

// Whether `path` can be written: its folder exists and takes new files, and an existing
// target is a regular file that is not write-protected. False with `error` otherwise.
bool output_writable(const std::string& path, std::string& error);

// "-o -": the text goes to standard output.
inline bool is_stdout(const std::string& path)
{
    return path == "-";
}

// Writes `text` to standard output; false with a message when that fails.
bool write_stdout(const std::string& text);

} // namespace mw::cli
