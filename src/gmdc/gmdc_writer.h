// Writing the in-memory GMDC in the layout of its block version.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <string>

namespace mw {

struct GmdcWriteOptions {
    // The body-mesh variant: a data-list count of 15, the five morph and bump-map list
    // identities left out, and every object group written with the indices 10 to 14.
    // The caller checks that the record fits that layout.
    bool bodyMesh = false;
};

// Serializes `gmdc` as it is (no padding). Returns false with `error` when the record
// cannot be written so that it reads back the same (a name over 255 bytes, a list the
// layout of its block version cannot store, an unsupported block version, ...).
bool serializeGmdc(const GmdcFile& gmdc, std::string& out, std::string& error, const GmdcWriteOptions& options = {});

// The vertex padding every save applies to object group 1's vertex-position list: three
// all-zero vertices more (recordCount + 3, nine 0.0 values). Only a float list whose
// dataLength is 12 x recordCount is padded; otherwise nothing happens.
struct VertexPadding {
    int dataList = -1; // 0-based number of the padded list, -1 when nothing was padded
};
VertexPadding applyVertexPadding(GmdcFile& gmdc);
void undoVertexPadding(GmdcFile& gmdc, const VertexPadding& padding);

// Pads, writes `gmdc` to `path` atomically and reports "Save Complete". On failure
// reports the path and the reason, undoes the padding and leaves an existing file as it
// was. A record that holds no GMDC is refused.
bool writeGmdc(GmdcFile& gmdc, const std::string& path, MessageSink& sink, const GmdcWriteOptions& options = {});

} // namespace mw
