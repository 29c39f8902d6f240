// The one way the program writes a file: the bytes go to a temporary file beside the
// target, are flushed to disk and then renamed over the target, so a failed or
// interrupted save leaves an existing file exactly as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mw {

// Writes `bytes` to `path` atomically. On failure returns false and sets `error` to a
// sentence naming the path and the system's reason; no temporary file is left behind.
bool save_file_atomically(const std::string& path, std::string_view bytes, std::string& error);

// Reads a whole file. On failure returns false and sets `error` (path and reason).
bool read_whole_file(const std::string& path, std::string& bytes, std::string& error);

namespace testing_hooks {
// Called before each chunk written to the temporary file with the number of bytes
// already written; returning false makes that write fail as a full disk would.
// Tests use it to interrupt a save half-way. Empty in normal runs.
extern std::function<bool(std::size_t bytesWritten)> beforeChunkWrite;
} // namespace testing_hooks

} // namespace mw
