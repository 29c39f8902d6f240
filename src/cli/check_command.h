// `meshwright-cli check GMDC [--json]` and the details `info` adds for a GMDC: the work of
// both, apart from how the command line is parsed.
#pragma once

#include "cli/json.h"
#include "gmdc/gmdc_file.h"

#include <cstdint>
#include <string>

namespace mw::cli {

extern const char* const kCheckSummary;
extern const char* const kCheckUsage;

// Loads GMDC and prints what check_gmdc finds, one line each or as one JSON object.
// Exit status 1 when the file cannot be read or holds a fault, else 0.
int check_gmdc_file(const std::string& path, bool json);

// How many bytes of the file at `path` follow the end of the GMDC `g` read from it.
std::int64_t bytes_after_gmdc(const GmdcFile& g, const std::string& path);

// The morph names, each object's bone list and the trailing bytes, as text lines.
void print_gmdc_details(const GmdcFile& g, std::int64_t trailing);
// The same as members of the JSON object being written: "morphNames", "boneLists",
// "bytesAfterGmdc".
void write_gmdc_details(JsonWriter& j, const GmdcFile& g, std::int64_t trailing);

} // namespace mw::cli
