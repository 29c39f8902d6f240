// Reading GMDC files (block versions 1 to 4) into the in-memory record.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <string>
#include <string_view>

namespace mw {

// Parses a whole GMDC file held in `bytes` into `out`. Every count and length is checked
// against the bytes that remain before anything is allocated. On failure returns false
// and sets `error` to a sentence naming `sourceName` and what is wrong where; `out` is
// then unspecified. Bytes after P5 are ignored.
bool parseGmdc(std::string_view bytes, GmdcFile& out, std::string& error, const std::string& sourceName);

// Loads the file at `path` into `gmdc`, replacing every section. On failure reports the
// error to `sink` and leaves `gmdc` exactly as it was. The model set is never touched.
bool readGmdc(GmdcFile& gmdc, const std::string& path, MessageSink& sink);

} // namespace mw
