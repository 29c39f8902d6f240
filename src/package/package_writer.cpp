// Writing a package: the resources' stored bytes in index order after the header, then
// the index; the DIR is rebuilt from the resources that end up compressed.
#include "package/package.h"

#include "core/byte_io.h"
#include "core/save_file.h"
#include "package/qfs.h"

#include <limits>

namespace mw {

bool serializePackage(const Package& package, const std::vector<ResourceReplacement>& replacements, std::string& out,
                      std::string& error)
{
    const std::size_t count = package.resources.size();
    std::vector<const ResourceReplacement*> replacementOf(count, nullptr);
    for (const ResourceReplacement& r : replacements) {
        if (r.index >= count || static_cast<int>(r.index) == package.dirIndex) {
            error = package.name + ": there is no resource " + std::to_string(r.index + 1) + " to replace.";
            return false;
        }
        replacementOf[r.index] = &r;
    }

    // The resources as they will be stored; replaced ones keep their compression when
    // QFS can hold them.
    std::vector<PackageResource> entries = package.resources;
    std::vector<std::string> newBytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ResourceReplacement* r = replacementOf[i];
        if (!r)
            continue;
        PackageResource& e = entries[i];
        if (r->bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
            error =
                package.name + ": the new bytes of " + describeResource(package, i) + " are too large for a package.";
            return false;
        }
        e.uncompressedSize = static_cast<std::uint32_t>(r->bytes.size());
        e.compressed = e.compressed && r->bytes.size() <= kQfsMaxSize;
        newBytes[i] = e.compressed ? qfsCompress(r->bytes) : r->bytes;
        e.storedSize = static_cast<std::uint32_t>(newBytes[i].size());
    }

    ByteWriter dir;
    for (const PackageResource& e : entries) {
        if (!e.compressed)
            continue;
        dir.u32(e.type);
        dir.u32(e.group);
        dir.u32(e.instance);
        if (package.hasInstanceHigh)
            dir.u32(e.instanceHigh);
        dir.u32(e.uncompressedSize);
    }

    ByteWriter file;
    file.bytes(std::string_view(package.bytes).substr(0, kPackageHeaderSize));
    std::vector<PackageResource> written;
    for (std::size_t i = 0; i < count; ++i) {
        PackageResource e = entries[i];
        std::string_view stored;
        if (static_cast<int>(i) == package.dirIndex) {
            stored = dir.buffer(); // empty when nothing is compressed any more
        } else {
            stored = replacementOf[i] ? std::string_view(newBytes[i]) : storedBytes(package, i);
        }
        if (file.buffer().size() + stored.size() > std::numeric_limits<std::uint32_t>::max()) {
            error = package.name + ": the package would grow past 4 GiB.";
            return false;
        }
        e.offset = static_cast<std::uint32_t>(file.buffer().size());
        e.storedSize = static_cast<std::uint32_t>(stored.size());
        file.bytes(stored);
        written.push_back(e);
    }

    const std::size_t indexOffset = file.buffer().size();
    for (const PackageResource& e : written) {
        file.u32(e.type);
        file.u32(e.group);
        file.u32(e.instance);
        if (package.hasInstanceHigh)
            file.u32(e.instanceHigh);
        file.u32(e.offset);
        file.u32(e.storedSize);
    }
    if (file.buffer().size() > std::numeric_limits<std::uint32_t>::max()) {
        error = package.name + ": the package would grow past 4 GiB.";
        return false;
    }
    out = file.take();
    auto put = [&](std::size_t at, std::size_t v) {
        for (std::size_t b = 0; b < 4; ++b)
            out[at + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
    };
    put(36, written.size());
    put(40, indexOffset);
    put(44, out.size() - indexOffset);
    put(48, 0); // no holes: hole count, offset and size
    put(52, 0);
    put(56, 0);
    return true;
}

bool writePackage(const Package& package, const std::vector<ResourceReplacement>& replacements, const std::string& path,
                  std::string& error, std::string* notice)
{
    std::string bytes;
    if (!serializePackage(package, replacements, bytes, error))
        return false;
    return save_file_atomically(path, bytes, error, notice);
}

} // namespace mw
