// Sims 2 packages (DBPF 1.x with index version 7): the resources of a package file, their
// bytes (QFS-compressed ones decompressed), and a copy of the package with some
// resources' bytes replaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

constexpr std::uint32_t kTypeGmdc = 0xAC4F8687;
constexpr std::uint32_t kTypeGmnd = 0x7BA3838C;
constexpr std::uint32_t kTypeShpe = 0xFC6EB1F7;
constexpr std::uint32_t kTypeCres = 0xE519C933;
constexpr std::uint32_t kTypeTxmt = 0x49596978;
constexpr std::uint32_t kTypeTxtr = 0x1C4A276C;
// The directory of compressed files: one record per QFS-compressed resource.
constexpr std::uint32_t kTypeDir = 0xE86B1EEF;

constexpr std::size_t kPackageHeaderSize = 96;

// One index entry, in index order.
struct PackageResource {
    std::uint32_t type = 0;
    std::uint32_t group = 0;
    std::uint32_t instance = 0;
    std::uint32_t instanceHigh = 0;     // 0 when the index has no such field
    std::uint32_t offset = 0;           // where the stored bytes start in the file
    std::uint32_t storedSize = 0;       // bytes in the file
    bool compressed = false;            // listed in the DIR and stored as QFS
    std::uint32_t uncompressedSize = 0; // equals storedSize when not compressed
};

struct Package {
    std::string name;             // for messages: the file's path
    std::string bytes;            // the whole file as read
    bool hasInstanceHigh = false; // index minor version 2: 24-byte entries
    std::vector<PackageResource> resources;
    int dirIndex = -1; // the DIR's position in `resources`, or -1
};

// "GMDC", "TXTR", "DIR" ... or "" for a type without a short name.
std::string_view resourceTypeName(std::uint32_t type);

// "resource 2 (GMDC, group 0x1C050000, instance 0x00000001)": how messages name a resource.
std::string describeResource(const Package& package, std::size_t index);

// Parses a whole package held in `bytes` (moved into `out.bytes`). Refuses a file that is
// truncated or is no DBPF 1.x package with index version 7, an index, hole index or
// DIR that lies outside the file, an entry that lies outside the file or overlaps the
// header or the index, and a compressed resource whose stream is shorter than it claims
// or decompresses to another size than the DIR states: `error` then names `name` and,
// where one is at fault, the resource. Resources sharing type, group and instance are
// kept as they are.
bool parsePackage(std::string bytes, Package& out, std::string& error, const std::string& name);

// Reads and parses the file at `path`; `error` names the path on failure.
bool readPackage(const std::string& path, Package& out, std::string& error);

// The bytes of resource `index` as the file stores them (compressed ones included).
std::string_view storedBytes(const Package& package, std::size_t index);

// The bytes of resource `index`, decompressed when it is compressed.
bool resourceBytes(const Package& package, std::size_t index, std::string& out, std::string& error);

// The positions in `resources` of every resource of `type`, in index order.
std::vector<std::size_t> resourcesOfType(const Package& package, std::uint32_t type);

struct ResourceReplacement {
    std::size_t index = 0; // position in `resources`; not the DIR
    std::string bytes;     // the new uncompressed bytes
};

// A copy of `package` in which each replaced resource holds its new bytes (compressed
// again when it was compressed and fits QFS's 16 MiB, stored plain and left out of the
// DIR otherwise), every other resource's stored bytes unchanged and in the same order,
// the DIR (where there was one) rewritten to list exactly the compressed resources, no holes, and the header
// kept but for its index and hole fields.
bool serializePackage(const Package& package, const std::vector<ResourceReplacement>& replacements, std::string& out,
                      std::string& error);

// serializePackage, saved atomically to `path` (which may be the file `package` was read
// from). On failure the file at `path` is left as it was and `error` says why; `notice`
// (when given) gets save_file_atomically's notice on a file with several names.
bool writePackage(const Package& package, const std::vector<ResourceReplacement>& replacements, const std::string& path,
                  std::string& error, std::string* notice = nullptr);

} // namespace mw
