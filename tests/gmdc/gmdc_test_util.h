// Small helpers shared by the GMDC tests.
#pragma once

#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "support/gmdc_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace mw::test {

inline std::string serialized(const GmdcFile& g, const GmdcWriteOptions& options = {})
{
    std::string bytes, error;
    EXPECT_TRUE(serializeGmdc(g, bytes, error, options)) << error;
    return bytes;
}

inline GmdcFile parsed(const std::string& bytes)
{
    GmdcFile g;
    std::string error;
    EXPECT_TRUE(parseGmdc(bytes, g, error, "test.5gd")) << error;
    return g;
}

inline std::int32_t i32_at(const std::string& bytes, std::size_t offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + i))) << (8 * i);
    return static_cast<std::int32_t>(u);
}

inline std::string le32(std::int32_t v)
{
    return GmdcBytes().i32(v).str();
}

// Byte offset of data list `k` (0-based) in a version-4 file, found by walking the layout:
// the headers, the data-list count, then per list 24 bytes of fields, the values and the items.
inline std::size_t data_list_offset(const std::string& file, int k)
{
    std::size_t pos = 16;
    pos += 1 + static_cast<unsigned char>(file.at(pos)) + 8; // block name, id, version
    pos += 1 + static_cast<unsigned char>(file.at(pos)) + 8; // resource name, id, version
    pos += 1 + static_cast<unsigned char>(file.at(pos));     // file name
    pos += 4;                                                // data-list count
    for (int i = 0; i < k; ++i) {
        pos += 24 + static_cast<std::size_t>(i32_at(file, pos + 20));
        pos += 4 + 2 * static_cast<std::size_t>(i32_at(file, pos));
    }
    return pos;
}

// `source` as a save writes it back: the data list at `offset` gets recordCount + 3,
// dataLength + 36 and 36 zero bytes behind its old values; nothing else changes.
inline std::string padded_copy(const std::string& source, std::size_t offset)
{
    const std::int32_t recordCount = i32_at(source, offset);
    const std::int32_t dataLength = i32_at(source, offset + 20);
    const std::size_t valuesEnd = offset + 24 + static_cast<std::size_t>(dataLength);
    return source.substr(0, offset) + le32(recordCount + 3) + source.substr(offset + 4, 16) + le32(dataLength + 36) +
           source.substr(offset + 24, static_cast<std::size_t>(dataLength)) + std::string(36, '\0') +
           source.substr(valuesEnd);
}

} // namespace mw::test
