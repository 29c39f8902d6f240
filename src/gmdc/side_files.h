// The side files of the GMDC editing windows: a face file, a data-list file, a P4 file
// and a P5 file. All are little-endian and always use the version-4 layout (16-bit face
// indices), whatever the block version of the GMDC they come from or go into.
//
//   face file:      i32 count, count x i16 face indices
//   data-list file: one data list as a GMDC lays it out (i32 recordCount, u32 identity,
//                   i32 repetition, blockFormat, setFormat, i32 dataLength, the values,
//                   i32 itemCount, itemCount x i16 items); a reader takes only recordCount
//                   (offset 0), dataLength (offset 20) and the values (offset 24)
//   P4 file:        the P4 section (transforms, name pairs, bounding mesh)
//   P5 file:        the P5 section: i32 p5Count, then the entries
#pragma once

#include "gmdc/gmdc_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

std::string faceFileBytes(const std::vector<std::int16_t>& faces);
std::string dataListFileBytes(const DataList& list);
std::string p4FileBytes(const GmdcFile& gmdc);
// Every P5 entry, or only entry `entry` (0-based) with the count 1.
std::string p5FileBytes(const GmdcFile& gmdc);
std::string p5EntryFileBytes(const GmdcFile& gmdc, std::size_t entry);

// What a data-list file contributes: its record count and its 4-byte values as stored.
struct DataListFile {
    std::int32_t recordCount = 0;
    std::vector<std::uint32_t> values;
};

// Parsers refuse a file shorter than its counts claim, a negative count and a dataLength
// that is not a multiple of 4, with `error` naming `fileName` and the problem.
bool parseFaceFile(std::string_view bytes, std::vector<std::int16_t>& faces, std::string& error,
                   const std::string& fileName);
bool parseDataListFile(std::string_view bytes, DataListFile& out, std::string& error, const std::string& fileName);

} // namespace mw
