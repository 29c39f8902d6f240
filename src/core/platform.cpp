#include "core/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mw::platform {

std::size_t file_name_start(const std::string& path)
{
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\");
#else
    const std::size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string folder_of(const std::string& path)
{
    const std::size_t start = file_name_start(path);
    if (start == 0)
        return ".";
    return start == 1 ? path.substr(0, 1) : path.substr(0, start - 1);
}

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    // Names that are not UTF-8 are taken in the system's code page, as fopen takes them.
    UINT codePage = CP_UTF8;
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n == 0) {
        codePage = CP_ACP;
        n = MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    }
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string utf8(const std::wstring& w)
{
    if (w.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string last_error_text()
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n ? std::wstring(text, n) : L"error " + std::to_wstring(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return utf8(message);
}

std::wstring full_path(const std::string& path)
{
    const std::wstring w = wide(path);
    std::wstring full(GetFullPathNameW(w.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD n =
        full.empty() ? 0 : GetFullPathNameW(w.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size())
        return w;
    full.resize(n);
    return full;
}

HANDLE as_handle(std::intptr_t h)
{
    return reinterpret_cast<HANDLE>(h);
}

} // namespace

FileFacts file_facts(const std::string& path)
{
    FileFacts facts;
    HANDLE h = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return facts;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK) {
        facts.kind = FileKind::Other;
    } else if (GetFileInformationByHandle(h, &info)) {
        facts.kind = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Folder : FileKind::Regular;
        facts.writeProtected = facts.kind == FileKind::Regular && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
        facts.links = info.nNumberOfLinks;
    }
    CloseHandle(h);
    return facts;
}

bool same_file(const std::string& a, const std::string& b)
{
    auto file_id = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE h = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const bool ok = GetFileInformationByHandle(h, &info);
        CloseHandle(h);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return file_id(a, x) && file_id(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

std::string final_link_target(const std::string& path)
{
    return path; // links are rare on Windows and need privileges to make
}

bool is_system_device_path(const std::string&)
{
    return false;
}

std::size_t max_file_name_length(const std::string&)
{
    return MAX_PATH - 5; // 255 UTF-16 units, which UTF-8 never undercounts
}

OutFile::~OutFile()
{
    if (handle_ != -1)
        CloseHandle(as_handle(handle_));
}

bool OutFile::create_unique(const std::string& prefix, std::string& reason)
{
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long seed = GetTickCount64() * 2654435761ull ^
                                        (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) ^ ++counter;
        std::string name = prefix;
        for (int i = 0; i < 6; ++i)
            name += "abcdefghijklmnopqrstuvwxyz0123456789"[(seed >> (i * 5)) % 36];
        HANDLE h =
            CreateFileW(wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<std::intptr_t>(h);
            name_ = name;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    reason = last_error_text();
    return false;
}

bool OutFile::open_existing(const std::string& path, std::string& reason)
{
    HANDLE h = CreateFileW(wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        reason = last_error_text();
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    name_ = path;
    return true;
}

bool OutFile::write_all(const char* data, std::size_t size, std::string& reason)
{
    while (size > 0) {
        const DWORD n = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(as_handle(handle_), data, n, &written, nullptr)) {
            reason = last_error_text();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool OutFile::flush(std::string& reason)
{
    if (FlushFileBuffers(as_handle(handle_)) || GetFileType(as_handle(handle_)) != FILE_TYPE_DISK)
        return true;
    reason = last_error_text();
    return false;
}

bool OutFile::copy_owner_and_mode(const std::string& model, std::string& reason)
{
    // ReplaceFileW keeps the replaced file's attributes on Windows itself, but Wine's does
    // not and the MoveFileExW fallback never does: the new file takes them before the replace.
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = GetFileAttributesW(wide(model).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kKept) == 0)
        return true;
    FILE_BASIC_INFO info{}; // zero times: left as they are
    info.FileAttributes = attributes & kKept;
    if (SetFileInformationByHandle(as_handle(handle_), FileBasicInfo, &info, sizeof info))
        return true;
    reason = last_error_text();
    return false;
}

bool OutFile::set_new_file_mode(std::string&)
{
    return true;
}

bool OutFile::close(std::string& reason)
{
    if (handle_ == -1)
        return true;
    const bool closed = CloseHandle(as_handle(handle_));
    handle_ = -1;
    if (!closed)
        reason = last_error_text();
    return closed;
}

bool replace_file(const std::string& from, const std::string& to, std::string& reason)
{
    // Full paths: Wine's ReplaceFileW refuses relative ones.
    const std::wstring source = full_path(from);
    const std::wstring target = full_path(to);
    // ReplaceFileW keeps the replaced file's attributes, security and creation time; it
    // needs an existing target, so a new file is moved into place.
    if (ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = last_error_text();
    return false;
}

bool remove_file(const std::string& path)
{
    return DeleteFileW(wide(path).c_str());
}

void sync_folder(const std::string&)
{
    // MOVEFILE_WRITE_THROUGH and NTFS's journal cover what a folder sync does elsewhere.
}

void set_stdout_binary()
{
    std::fflush(stdout);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

std::string program_path()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return utf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

#else // POSIX

namespace {

std::string reason_of(int err)
{
    return std::strerror(err);
}

int fd_of(std::intptr_t h)
{
    return static_cast<int>(h);
}

} // namespace

FileFacts file_facts(const std::string& path)
{
    FileFacts facts;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return facts;
    facts.links = st.st_nlink;
    if (S_ISDIR(st.st_mode)) {
        facts.kind = FileKind::Folder;
    } else if (S_ISREG(st.st_mode)) {
        facts.kind = FileKind::Regular;
        facts.writeProtected = (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
    } else {
        facts.kind = FileKind::Other;
    }
    return facts;
}

bool same_file(const std::string& a, const std::string& b)
{
    struct stat x {
    }, y{};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

std::string final_link_target(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) > target.size())
            return current;
        target.resize(static_cast<std::size_t>(n));
        const std::size_t slash = current.find_last_of('/');
        current = target.front() == '/' || slash == std::string::npos ? target : current.substr(0, slash + 1) + target;
    }
    return current; // a loop of links: the rename then fails with the system's reason
}

bool is_system_device_path(const std::string& path)
{
    return path.starts_with("/dev/") || path.starts_with("/proc/");
}

std::size_t max_file_name_length(const std::string& folder)
{
    const long n = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return n > 0 ? static_cast<std::size_t>(n) : 255;
}

OutFile::~OutFile()
{
    if (handle_ != -1)
        ::close(fd_of(handle_));
}

bool OutFile::create_unique(const std::string& prefix, std::string& reason)
{
    std::string templ = prefix + "XXXXXX";
    const int fd = ::mkstemp(templ.data());
    if (fd < 0) {
        reason = reason_of(errno);
        return false;
    }
    handle_ = fd;
    name_ = templ;
    return true;
}

bool OutFile::open_existing(const std::string& path, std::string& reason)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        reason = reason_of(errno);
        return false;
    }
    handle_ = fd;
    name_ = path;
    return true;
}

bool OutFile::write_all(const char* data, std::size_t size, std::string& reason)
{
    while (size > 0) {
        const ssize_t w = ::write(fd_of(handle_), data, size);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            reason = reason_of(errno);
            return false;
        }
        data += w;
        size -= static_cast<std::size_t>(w);
    }
    return true;
}

bool OutFile::flush(std::string& reason)
{
    // Pipes and terminals cannot be synced and need not be.
    if (::fsync(fd_of(handle_)) == 0 || errno == EINVAL || errno == EROFS)
        return true;
    reason = reason_of(errno);
    return false;
}

bool OutFile::copy_owner_and_mode(const std::string& model, std::string& reason)
{
    struct stat st {};
    if (::stat(model.c_str(), &st) != 0)
        return set_new_file_mode(reason);
    // Only the superuser may give a file away; anyone may pass it to a group of their own.
    if (::fchown(fd_of(handle_), st.st_uid, st.st_gid) != 0)
        (void)::fchown(fd_of(handle_), static_cast<uid_t>(-1), st.st_gid);
    // After the owner: changing it clears the set-user-ID and set-group-ID bits.
    if (::fchmod(fd_of(handle_), st.st_mode & 07777) == 0)
        return true;
    reason = reason_of(errno);
    return false;
}

bool OutFile::set_new_file_mode(std::string& reason)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd_of(handle_), 0666 & ~mask) == 0)
        return true;
    reason = reason_of(errno);
    return false;
}

bool OutFile::close(std::string& reason)
{
    if (handle_ == -1)
        return true;
    const int result = ::close(fd_of(handle_));
    handle_ = -1;
    if (result != 0)
        reason = reason_of(errno);
    return result == 0;
}

bool replace_file(const std::string& from, const std::string& to, std::string& reason)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    reason = reason_of(errno);
    return false;
}

bool remove_file(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

void sync_folder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

void set_stdout_binary()
{
}

std::string program_path()
{
    std::string buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size())
        return {};
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

#endif

} // namespace mw::platform
