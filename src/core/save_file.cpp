#include "core/save_file.h"

#include "core/message_sink.h"
#include "core/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace mw {

namespace testing_hooks {
std::function<bool(std::size_t)> beforeChunkWrite;
}

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Writes in chunks, so tests can cut a save off half-way.
bool write_chunks(platform::OutFile& file, std::string_view bytes, std::string& reason)
{
    for (std::size_t written = 0; written < bytes.size();) {
        if (testing_hooks::beforeChunkWrite && !testing_hooks::beforeChunkWrite(written)) {
            reason = std::strerror(ENOSPC);
            return false;
        }
        const std::size_t n = std::min(kChunk, bytes.size() - written);
        if (!file.write_all(bytes.data() + written, n, reason))
            return false;
        written += n;
    }
    return true;
}

// Pipes, devices and the standard streams cannot be replaced; they take the bytes as they come.
bool write_in_place(const std::string& path, std::string_view bytes, std::string& error)
{
    platform::OutFile file;
    std::string reason;
    if (!file.open_existing(path, reason) || !write_chunks(file, bytes, reason) || !file.flush(reason) ||
        !file.close(reason)) {
        error = "Cannot save \"" + path + "\": " + reason + ".";
        return false;
    }
    return true;
}

// "<name>." cut so that it plus mkstemp's six characters fit the folder's name limit;
// the cut never splits a UTF-8 character.
std::string temp_prefix(const std::string& target, const std::string& folder)
{
    const std::size_t nameStart = platform::file_name_start(target);
    std::string name = target.substr(nameStart);
    const std::size_t limit = platform::max_file_name_length(folder);
    const std::size_t keep = limit > 8 ? limit - 7 : 1;
    if (name.size() > keep) {
        std::size_t cut = keep;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return target.substr(0, nameStart) + name + ".";
}

} // namespace

bool save_file_atomically(const std::string& path, std::string_view bytes, std::string& error, std::string* notice)
{
    if (path.empty()) {
        error = "Cannot save: no file name was given.";
        return false;
    }
    const platform::FileFacts facts = platform::file_facts(path);
    if (facts.kind == platform::FileKind::Folder) {
        error = "Cannot save \"" + path + "\": it is a folder.";
        return false;
    }
    if (facts.kind == platform::FileKind::Other || platform::is_system_device_path(path))
        return write_in_place(path, bytes, error);
    if (facts.writeProtected) {
        error = "Cannot save: \"" + path + "\" is write-protected.";
        return false;
    }

    // A link stays a link: the file it leads to is the one replaced.
    const std::string target = platform::final_link_target(path);
    const std::string folder = platform::folder_of(target);
    platform::OutFile temp;
    std::string reason;
    if (!temp.create_unique(temp_prefix(target, folder), reason)) {
        error = "Cannot save \"" + path + "\": cannot create a file in \"" + folder + "\": " + reason + ".";
        return false;
    }
    auto fail = [&](const std::string& what) {
        std::string ignored;
        temp.close(ignored);
        platform::remove_file(temp.name());
        error = "Cannot save \"" + path + "\": " + what + ": " + reason + ".";
        return false;
    };
    // The new file takes the place of the old one, so it keeps the old one's owner and
    // permissions; a new file gets the usual permissions, not the private ones of a temporary.
    const bool kept = facts.kind == platform::FileKind::Regular ? temp.copy_owner_and_mode(target, reason)
                                                                : temp.set_new_file_mode(reason);
    if (!kept)
        return fail("cannot set the file's permissions");
    if (!write_chunks(temp, bytes, reason))
        return fail("writing failed");
    if (!temp.flush(reason))
        return fail("flushing to disk failed");
    if (!temp.close(reason)) {
        platform::remove_file(temp.name());
        error = "Cannot save \"" + path + "\": closing failed: " + reason + ".";
        return false;
    }
    if (!platform::replace_file(temp.name(), target, reason)) {
        platform::remove_file(temp.name());
        error = "Cannot save \"" + path + "\": cannot replace the file: " + reason + ".";
        return false;
    }
    platform::sync_folder(folder);
    if (notice && facts.links > 1)
        *notice = "\"" + path + "\" had " + std::to_string(facts.links) +
                  " names (hard links): it is now a file of its own, and the other names keep the old contents.";
    return true;
}

bool save_file(const std::string& path, std::string_view bytes, MessageSink& sink)
{
    std::string error;
    std::string notice;
    if (!save_file_atomically(path, bytes, error, &notice)) {
        sink.error(error);
        return false;
    }
    if (!notice.empty())
        sink.warning(notice);
    return true;
}

bool read_whole_file(const std::string& path, std::string& bytes, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "Cannot open \"" + path + "\": " + std::strerror(errno) + ".";
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
        error = "Cannot read \"" + path + "\": " + std::strerror(err) + ".";
        return false;
    }
    bytes.swap(data);
    return true;
}

} // namespace mw
