// Writing the in-memory GMDC in the layout of its block version.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <functional>
#include <string>

namespace mw {

struct GmdcWriteOptions {
    // The body-mesh variant: a data-list count of 15, the five morph and bump-map list
    // identities left out, and every object group written with indexCount 5, the indices
    // 10 to 14 and activeCount 5 - in the file only, the record is not changed. The
    // serializer refuses a record that would not leave exactly 15 lists; whether the
    // groups really use lists 10 to 14 is the caller's check.
    bool bodyMesh = false;
};

// Serializes `gmdc` as it is (no padding) in the layout of its blockVersion (1 to 4).
// Returns false with `error` (one sentence, no path) when the record cannot be written so
// that it reads back the same: a name over 255 bytes, a version 1 object with a bone list,
// a version 3 object whose opacity is not -1, vertex lists not made of x, y, z triples,
// faces on a bounding mesh or P5 entry without vertices, values in the vector the
// identity does not store, an unsupported block version. Every count is written as the
// size of its list; recordCount, items, alias lists and headers as the record holds them.
bool serializeGmdc(const GmdcFile& gmdc, std::string& out, std::string& error, const GmdcWriteOptions& options = {});

// The vertex padding every save applies to object group 1's vertex-position list: three
// all-zero vertices more (recordCount + 3, nine 0.0 values). Only a float list whose
// dataLength is 12 x recordCount is padded; otherwise nothing happens.
struct VertexPadding {
    int dataList = -1; // 0-based number of the padded list, -1 when nothing was padded
};
VertexPadding applyVertexPadding(GmdcFile& gmdc);
void undoVertexPadding(GmdcFile& gmdc, const VertexPadding& padding);

// Writes `gmdc` to `path` atomically, with the vertex padding in the bytes written, reports
// what check_gmdc finds in it as warnings (without refusing) and "Save Complete". The
// record is left as it was (padding is not kept in memory), so every save of one record
// writes the same bytes; a file loaded and saved again gains its three padding vertices.
// On failure reports the path and the reason and leaves an existing file as it was. A
// record that holds no GMDC is refused.
// `save`, when given, stores the bytes in place of the atomic save to `path` (the desktop
// program puts them into a package resource); it reports its own failure to the sink.
using GmdcBytesSaver = std::function<bool(const std::string& bytes, MessageSink& sink)>;
bool writeGmdc(GmdcFile& gmdc, const std::string& path, MessageSink& sink, const GmdcWriteOptions& options = {},
               const GmdcBytesSaver& save = {});

} // namespace mw
