// Builds small packages byte by byte for the tests: a DBPF 1.1 header, the resources'
// bytes in order, a DIR for the compressed ones, then the index.
#pragma once

#include "package/package.h"
#include "package/qfs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mw::test {

struct BuiltResource {
    std::uint32_t type, group, instance, instanceHigh;
    std::string bytes; // uncompressed
    bool compress = false;
};

inline void put_u32(std::string& out, std::uint32_t v)
{
    for (int b = 0; b < 4; ++b)
        out.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
}

inline void set_u32(std::string& out, std::size_t at, std::uint32_t v)
{
    for (std::size_t b = 0; b < 4; ++b)
        out[at + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
}

inline std::uint32_t get_u32(const std::string& in, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t b = 0; b < 4; ++b)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + b])) << (8 * b);
    return v;
}

// The DIR comes last among the resources when any resource is compressed.
inline std::string build_package(const std::vector<BuiltResource>& resources, bool instanceHigh)
{
    std::string file(96, '\0');
    file.replace(0, 4, "DBPF");
    set_u32(file, 4, 1);
    set_u32(file, 8, 1);
    set_u32(file, 32, 7);
    set_u32(file, 60, instanceHigh ? 2 : 1);
    struct Entry {
        std::uint32_t type, group, instance, instanceHigh, offset, size;
    };
    std::vector<Entry> entries;
    std::string dir;
    for (const BuiltResource& r : resources) {
        const std::string stored = r.compress ? qfsCompress(r.bytes) : r.bytes;
        entries.push_back({r.type, r.group, r.instance, r.instanceHigh, static_cast<std::uint32_t>(file.size()),
                           static_cast<std::uint32_t>(stored.size())});
        file += stored;
        if (r.compress) {
            for (std::uint32_t v : {r.type, r.group, r.instance})
                put_u32(dir, v);
            if (instanceHigh)
                put_u32(dir, r.instanceHigh);
            put_u32(dir, static_cast<std::uint32_t>(r.bytes.size()));
        }
    }
    if (!dir.empty()) {
        entries.push_back({kTypeDir, kTypeDir, 0x286B1F03, 0, static_cast<std::uint32_t>(file.size()),
                           static_cast<std::uint32_t>(dir.size())});
        file += dir;
    }
    const auto indexOffset = static_cast<std::uint32_t>(file.size());
    for (const Entry& e : entries) {
        for (std::uint32_t v : {e.type, e.group, e.instance})
            put_u32(file, v);
        if (instanceHigh)
            put_u32(file, e.instanceHigh);
        put_u32(file, e.offset);
        put_u32(file, e.size);
    }
    set_u32(file, 36, static_cast<std::uint32_t>(entries.size()));
    set_u32(file, 40, indexOffset);
    set_u32(file, 44, static_cast<std::uint32_t>(file.size()) - indexOffset);
    return file;
}

} // namespace mw::test
