// Reading a package: the header, the index (with or without instance-high), the hole
// index and the DIR, every position checked against the file before it is used, and
// every compressed resource decompressed once so that a damaged one is refused on load.
#include "package/package.h"

#include "core/byte_io.h"
#include "core/save_file.h"
#include "package/qfs.h"

#include <cstdio>
#include <map>
#include <tuple>

namespace mw {

namespace {

std::string hex32(std::uint32_t v)
{
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", v);
    return text;
}

std::uint32_t u32_at(std::string_view bytes, std::size_t offset)
{
    std::uint32_t v = 0;
    ByteReader reader(bytes.substr(offset, 4));
    reader.read_u32(v);
    return v;
}

using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

Key key_of(const PackageResource& r)
{
    return {r.type, r.group, r.instance, r.instanceHigh};
}

bool overlaps(std::uint64_t a, std::uint64_t aSize, std::uint64_t b, std::uint64_t bSize)
{
    return aSize != 0 && bSize != 0 && a < b + bSize && b < a + aSize;
}

} // namespace

std::string_view resourceTypeName(std::uint32_t type)
{
    switch (type) {
    case kTypeGmdc:
        return "GMDC";
    case kTypeGmnd:
        return "GMND";
    case kTypeShpe:
        return "SHPE";
    case kTypeCres:
        return "CRES";
    case kTypeTxmt:
        return "TXMT";
    case kTypeTxtr:
        return "TXTR";
    case kTypeDir:
        return "DIR";
    default:
        return "";
    }
}

std::string describeResource(const Package& package, std::size_t index)
{
    const PackageResource& r = package.resources[index];
    std::string text = "resource " + std::to_string(index + 1) + " (";
    if (const std::string_view name = resourceTypeName(r.type); !name.empty())
        text.append(name).append(" ");
    text += hex32(r.type) + ", group " + hex32(r.group) + ", instance " + hex32(r.instance);
    if (package.hasInstanceHigh)
        text += ", instance-high " + hex32(r.instanceHigh);
    return text + ")";
}

std::string_view storedBytes(const Package& package, std::size_t index)
{
    const PackageResource& r = package.resources[index];
    return std::string_view(package.bytes).substr(r.offset, r.storedSize);
}

bool resourceBytes(const Package& package, std::size_t index, std::string& out, std::string& error)
{
    const std::string_view stored = storedBytes(package, index);
    if (!package.resources[index].compressed) {
        out.assign(stored);
        return true;
    }
    if (!qfsDecompress(stored, out, error)) {
        error = package.name + ": " + describeResource(package, index) + " cannot be decompressed: " + error + ".";
        return false;
    }
    return true;
}

std::vector<std::size_t> resourcesOfType(const Package& package, std::uint32_t type)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < package.resources.size(); ++i)
        if (package.resources[i].type == type)
            found.push_back(i);
    return found;
}

bool parsePackage(std::string bytes, Package& out, std::string& error, const std::string& name)
{
    out = Package{};
    out.name = name;
    out.bytes = std::move(bytes);
    const std::string_view file = out.bytes;
    const std::uint64_t fileSize = file.size();
    auto refuse = [&](const std::string& what) {
        error = name + ": " + what + ".";
        return false;
    };
    if (file.size() < 4 || file.substr(0, 4) != "DBPF")
        return refuse("this is not a package (it does not start with \"DBPF\")");
    if (file.size() < kPackageHeaderSize)
        return refuse("the package is truncated: its header needs " + std::to_string(kPackageHeaderSize) +
                      " bytes but the file has " + std::to_string(file.size()));
    const std::uint32_t major = u32_at(file, 4);
    const std::uint32_t indexMajor = u32_at(file, 32);
    if (major != 1)
        return refuse("the package has version " + std::to_string(major) + ", not the Sims 2 package version 1");
    if (indexMajor != 7)
        return refuse("the package has index version " + std::to_string(indexMajor) + ", not 7");
    out.hasInstanceHigh = u32_at(file, 60) == 2;
    const std::uint64_t entrySize = out.hasInstanceHigh ? 24 : 20;
    const std::uint64_t count = u32_at(file, 36);
    const std::uint64_t indexOffset = u32_at(file, 40);
    const std::uint64_t indexBytes = count * entrySize;
    if (count != 0 && indexOffset < kPackageHeaderSize)
        return refuse("the index (" + std::to_string(count) + " entries at byte " + std::to_string(indexOffset) +
                      ") overlaps the header");
    if (indexOffset + indexBytes > fileSize)
        return refuse("the package is truncated or damaged: its index of " + std::to_string(count) +
                      " entries at byte " + std::to_string(indexOffset) + " ends past the end of the file (" +
                      std::to_string(fileSize) + " bytes)");

    const std::uint64_t holeCount = u32_at(file, 48);
    const std::uint64_t holeOffset = u32_at(file, 52);
    if (holeCount != 0) {
        if (holeOffset + holeCount * 8 > fileSize)
            return refuse("the hole index (" + std::to_string(holeCount) + " entries at byte " +
                          std::to_string(holeOffset) + ") ends past the end of the file");
        for (std::uint64_t h = 0; h < holeCount; ++h) {
            const std::uint64_t at = u32_at(file, holeOffset + 8 * h);
            const std::uint64_t size = u32_at(file, holeOffset + 8 * h + 4);
            if (at + size > fileSize)
                return refuse("hole " + std::to_string(h + 1) + " (bytes " + std::to_string(at) + " to " +
                              std::to_string(at + size) + ") lies outside the file");
        }
    }

    ByteReader index(file.substr(indexOffset, indexBytes));
    out.resources.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        PackageResource& r = out.resources[i];
        index.read_u32(r.type);
        index.read_u32(r.group);
        index.read_u32(r.instance);
        if (out.hasInstanceHigh)
            index.read_u32(r.instanceHigh);
        index.read_u32(r.offset);
        index.read_u32(r.storedSize);
        r.uncompressedSize = r.storedSize;
        const std::uint64_t end = std::uint64_t{r.offset} + r.storedSize;
        if (end > fileSize)
            return refuse(describeResource(out, i) + " (bytes " + std::to_string(r.offset) + " to " +
                          std::to_string(end) + ") lies outside the file (" + std::to_string(fileSize) + " bytes)");
        if (overlaps(r.offset, r.storedSize, 0, kPackageHeaderSize))
            return refuse(describeResource(out, i) + " overlaps the package header");
        if (overlaps(r.offset, r.storedSize, indexOffset, indexBytes))
            return refuse(describeResource(out, i) + " overlaps the package index");
        if (r.type == kTypeDir && out.dirIndex < 0)
            out.dirIndex = static_cast<int>(i);
    }
    if (out.dirIndex < 0)
        return true;

    // The DIR: (type, group, instance, [instance-high], uncompressed size) per record.
    const std::size_t dir = static_cast<std::size_t>(out.dirIndex);
    const std::size_t recordSize = out.hasInstanceHigh ? 20 : 16;
    const std::string_view dirBytes = storedBytes(out, dir);
    if (dirBytes.size() % recordSize != 0)
        return refuse(describeResource(out, dir) + ", the directory of compressed files, holds " +
                      std::to_string(dirBytes.size()) + " bytes, not a whole number of " + std::to_string(recordSize) +
                      "-byte records");
    std::map<Key, std::vector<std::uint32_t>> sizes;
    ByteReader records(dirBytes);
    while (records.remaining() != 0) {
        PackageResource r;
        records.read_u32(r.type);
        records.read_u32(r.group);
        records.read_u32(r.instance);
        if (out.hasInstanceHigh)
            records.read_u32(r.instanceHigh);
        records.read_u32(r.uncompressedSize);
        sizes[key_of(r)].push_back(r.uncompressedSize);
    }
    // Resources sharing a key take the key's records in turn (the last one when fewer).
    std::map<Key, std::size_t> used;
    for (std::size_t i = 0; i < out.resources.size(); ++i) {
        PackageResource& r = out.resources[i];
        const auto found = sizes.find(key_of(r));
        if (i == dir || found == sizes.end() || !looksLikeQfs(storedBytes(out, i)))
            continue;
        std::size_t& turn = used[key_of(r)];
        r.compressed = true;
        r.uncompressedSize = found->second[std::min(turn, found->second.size() - 1)];
        ++turn;
        const std::uint32_t stated = qfsStatedSize(storedBytes(out, i));
        if (stated != r.uncompressedSize)
            return refuse(describeResource(out, i) + " decompresses to " + std::to_string(stated) +
                          " bytes but the directory of compressed files says " + std::to_string(r.uncompressedSize));
        std::string check;
        if (!resourceBytes(out, i, check, error))
            return false;
    }
    return true;
}

bool readPackage(const std::string& path, Package& out, std::string& error)
{
    std::string bytes;
    if (!read_whole_file(path, bytes, error))
        return false;
    return parsePackage(std::move(bytes), out, error, path);
}

} // namespace mw
