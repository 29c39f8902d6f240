// The one way the program writes a file: the bytes go to a temporary file beside the
// target, are flushed to disk and then renamed over the target, so a failed or
// interrupted save leaves an existing file exactly as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mw {

class MessageSink;

// Writes `bytes` to `path` atomically. On failure returns false and sets `error` to a
// sentence naming the path and the system's reason; no temporary file is left behind.
// - A write-protected file is refused and left as it is.
// - A symbolic link stays a link: the file it leads to is replaced.
// - A pipe, a device or anything else that is not a regular file (and every path under
//   /dev/ and /proc/) is written to directly, without the rename.
// - The replaced file's owner, group and permission bits are kept where the process may
//   set them. A file with several names (hard links) gets a file of its own, which
//   `notice` (when given) then says.
bool save_file_atomically(const std::string& path, std::string_view bytes, std::string& error,
                          std::string* notice = nullptr);

// save_file_atomically reporting to `sink`: the error, or the notice as a warning.
bool save_file(const std::string& path, std::string_view bytes, MessageSink& sink);

// Reads a whole file. On failure returns false and sets `error` (path and reason).
bool read_whole_file(const std::string& path, std::string& bytes, std::string& error);

namespace testing_hooks {
// Called before each chunk written to the temporary file with the number of bytes
// already written; returning false makes that write fail as a full disk would.
// Tests use it to interrupt a save half-way. Empty in normal runs.
extern std::function<bool(std::size_t bytesWritten)> beforeChunkWrite;
} // namespace testing_hooks

} // namespace mw
