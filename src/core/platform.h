// The few operating-system calls the core makes, in one place, so the core builds for
// POSIX systems and for Windows alike. Paths are UTF-8 on every system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mw::platform {

enum class FileKind { Missing, Regular, Folder, Other };

// What stands at a path, following symbolic links.
struct FileFacts {
    FileKind kind = FileKind::Missing;
    // A regular file without write permission for this process, or marked read-only for
    // everyone (mode 444, the read-only attribute), which even the superuser respects here.
    bool writeProtected = false;
    std::uint64_t links = 1; // names (hard links) of the file
};

// Missing also when the path cannot be examined; creating a file there then says why.
FileFacts file_facts(const std::string& path);

// True when both paths name one existing file, however spelled or linked: by device and
// inode here, by volume and file ID on Windows.
bool same_file(const std::string& a, const std::string& b);

// The path a chain of symbolic links at `path` ends in, or `path` itself when it is no
// link; a dangling link gives the path it points to.
std::string final_link_target(const std::string& path);

// Device and process files ("/dev/stdout", "/proc/self/fd/1") are written in place
// whatever they point at: replacing them by a file is never what the user meant.
bool is_system_device_path(const std::string& path);

// The longest file name the folder takes, in bytes (NAME_MAX), with a safe fallback.
std::size_t max_file_name_length(const std::string& folder);

// A file open for writing. Failing calls set `reason` to the system's explanation.
class OutFile {
  public:
    OutFile() = default;
    ~OutFile();
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    // Creates a new file whose name is `prefix` plus a few unique characters.
    bool create_unique(const std::string& prefix, std::string& reason);
    // Opens an existing file, device or pipe for writing at its end, without replacing it.
    bool open_existing(const std::string& path, std::string& reason);
    bool write_all(const char* data, std::size_t size, std::string& reason);
    // Flushes the written bytes to the disk.
    bool flush(std::string& reason);
    // Gives the file the owner, group and permission bits of the file at `model`, as far
    // as the process may set them; on Windows its hidden, system, archive and not-indexed
    // attributes.
    bool copy_owner_and_mode(const std::string& model, std::string& reason);
    // Gives the file the permission bits a newly created file gets (0666 less the umask).
    bool set_new_file_mode(std::string& reason);
    bool close(std::string& reason);

    const std::string& name() const { return name_; }

  private:
    std::intptr_t handle_ = -1;
    std::string name_;
};

// Puts `from` in the place of `to` in one step: rename here, ReplaceFileW (which keeps the
// old file's attributes) or MoveFileExW on Windows.
bool replace_file(const std::string& from, const std::string& to, std::string& reason);
bool remove_file(const std::string& path);
// Flushes a folder's entries, so a rename in it survives a crash. Best effort.
void sync_folder(const std::string& folder);

// Puts standard output in binary mode (Windows), so written bytes reach it unchanged;
// nothing to do elsewhere.
void set_stdout_binary();

// Full path of the running executable, or "" when it cannot be found out.
std::string program_path();

// Where the last part of a path, the file's name, begins.
std::size_t file_name_start(const std::string& path);
// The folder part of a path ("." when there is none); both separators count on Windows.
std::string folder_of(const std::string& path);

} // namespace mw::platform
