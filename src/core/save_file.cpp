#include "core/save_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mw {

namespace testing_hooks {
std::function<bool(std::size_t)> beforeChunkWrite;
}

namespace {

std::string reason(int err)
{
    return std::strerror(err);
}

std::string folder_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

bool save_file_atomically(const std::string& path, std::string_view bytes, std::string& error)
{
    if (path.empty()) {
        error = "Cannot save: no file name was given.";
        return false;
    }
    struct stat target {};
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (targetExists && S_ISDIR(target.st_mode)) {
        error = "Cannot save \"" + path + "\": it is a folder.";
        return false;
    }

    std::string tempName = path + ".XXXXXX";
    std::vector<char> templ(tempName.begin(), tempName.end());
    templ.push_back('\0');
    const int fd = ::mkstemp(templ.data());
    if (fd < 0) {
        const int err = errno;
        error =
            "Cannot save \"" + path + "\": cannot create a file in \"" + folder_of(path) + "\": " + reason(err) + ".";
        return false;
    }
    tempName.assign(templ.data());

    auto fail = [&](const std::string& what, int err) {
        ::close(fd);
        ::unlink(tempName.c_str());
        error = "Cannot save \"" + path + "\": " + what + ": " + reason(err) + ".";
        return false;
    };

    // mkstemp creates the file private to the user; a save keeps the mode of the file it
    // replaces, and a new file gets the usual mode for new files.
    mode_t mode;
    if (targetExists) {
        mode = target.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        return fail("cannot set the file's permissions", errno);

    constexpr std::size_t chunk = 1 << 20;
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (testing_hooks::beforeChunkWrite && !testing_hooks::beforeChunkWrite(written))
            return fail("writing failed", ENOSPC);
        const std::size_t n = std::min(chunk, bytes.size() - written);
        const ssize_t w = ::write(fd, bytes.data() + written, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return fail("writing failed", errno);
        }
        written += static_cast<std::size_t>(w);
    }
    if (::fsync(fd) != 0)
        return fail("flushing to disk failed", errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tempName.c_str());
        error = "Cannot save \"" + path + "\": closing failed: " + reason(err) + ".";
        return false;
    }
    if (::rename(tempName.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tempName.c_str());
        error = "Cannot save \"" + path + "\": cannot replace the file: " + reason(err) + ".";
        return false;
    }
    return true;
}

bool read_whole_file(const std::string& path, std::string& bytes, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "Cannot open \"" + path + "\": " + reason(errno) + ".";
        return false;
    }
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        error = "Cannot open \"" + path + "\": it is a folder.";
        return false;
    }
    std::string data;
    if (st.st_size > 0)
        data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) {
        error = "Cannot read \"" + path + "\": " + reason(err) + ".";
        return false;
    }
    bytes.swap(data);
    return true;
}

} // namespace mw
