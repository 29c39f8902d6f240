// Reading GMDC files (block versions 1 to 4) into the in-memory record.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <string>
#include <string_view>

namespace mw {

// Parses a whole GMDC file held in `bytes` into `out` (expected fresh). Only the block
// name ("cGeometryDataContainer") and the block version (1 to 4) decide whether the bytes
// are a GMDC; the 16 container-header bytes are kept untested and bytes after P5 are
// ignored. Every count and length is checked against the bytes that remain before
// anything is allocated; versions 1 to 3 store the 16-bit lists as 32-bit integers, whose
// values must fit 16 bits. On failure returns false and sets `error` to a sentence naming
// `sourceName` and what is wrong where; `out` is then unspecified.
bool parseGmdc(std::string_view bytes, GmdcFile& out, std::string& error, const std::string& sourceName);

// Loads the file at `path` into `gmdc`, replacing every section. On failure reports the
// error to `sink` and leaves `gmdc` exactly as it was. The model set is never touched.
bool readGmdc(GmdcFile& gmdc, const std::string& path, MessageSink& sink);

} // namespace mw
